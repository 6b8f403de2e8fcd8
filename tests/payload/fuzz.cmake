# libFuzzer on the portable decoder (clang with AddressSanitizer and
# UndefinedBehaviorSanitizer), built in the host tree when clang++ is there.
# ctest runs it for 60 seconds over a corpus in the build folder, seeded with
# the sample product's items, packed plain.
find_program(FUZZ_CLANGXX NAMES clang++ clang++-14)
if(NOT FUZZ_CLANGXX)
    message(STATUS "clang++ not found: the payload fuzzer is not built")
    return()
endif()

set(FUZZ_DIR ${CMAKE_CURRENT_BINARY_DIR}/fuzz)
set(FUZZ_EXE ${FUZZ_DIR}/payload_fuzz)
set(FUZZ_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/payload_fuzz.cpp)
foreach(name format inflate item key random)
    list(APPEND FUZZ_SOURCES ${CMAKE_SOURCE_DIR}/payload/payload_${name}.cpp)
endforeach()
file(GLOB FUZZ_HEADERS ${CMAKE_SOURCE_DIR}/payload/*.h ${CMAKE_SOURCE_DIR}/base/errors.h)
add_custom_command(OUTPUT ${FUZZ_EXE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FUZZ_DIR}/corpus
    COMMAND ${FUZZ_CLANGXX} -std=c++17 -O1 -g -fno-omit-frame-pointer
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
            -I${CMAKE_SOURCE_DIR} -DPAYLOAD_SEED=${PAYLOAD_SEED} ${FUZZ_SOURCES} -lz ${LIBDEFLATE_LIBRARY} -o ${FUZZ_EXE}
    DEPENDS ${FUZZ_SOURCES} ${FUZZ_HEADERS}
    COMMENT "Building the payload fuzzer with clang"
    VERBATIM)

set(FUZZ_SEEDS ${FUZZ_DIR}/seeds)
add_custom_command(OUTPUT ${FUZZ_SEEDS}/payload.rc
    COMMAND $<TARGET_FILE:payload_packer> --plain --date "2004-05-11 12:00:00"
            ${CMAKE_SOURCE_DIR}/product ${FUZZ_SEEDS}
    DEPENDS payload_packer
    COMMENT "Packing plain seed items for the payload fuzzer"
    VERBATIM)
add_custom_target(payload_fuzz ALL DEPENDS ${FUZZ_EXE} ${FUZZ_SEEDS}/payload.rc)

# New inputs land in corpus/; the seeds stay as packed.
add_test(NAME payload_fuzz
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            ${FUZZ_EXE} -max_total_time=60 -print_final_stats=1 -max_len=65536
            -artifact_prefix=${FUZZ_DIR}/ ${FUZZ_DIR}/corpus ${FUZZ_SEEDS})
set_tests_properties(payload_fuzz PROPERTIES TIMEOUT 240)
