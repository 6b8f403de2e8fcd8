# libdeflate (whole-buffer DEFLATE and zlib-stream decoding) as the target
# pellion_libdeflate. The host build uses Debian's libdeflate-dev. Debian has
# no mingw-w64 build of it, so the Windows builds compile its library from
# Debian's source package, which scripts/deps.sh unpacks under the build
# folder and the Makefile passes as LIBDEFLATE_SOURCE_DIR.

if(NOT WIN32)
    find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h)
    find_library(LIBDEFLATE_LIBRARY deflate)
    if(NOT LIBDEFLATE_INCLUDE_DIR OR NOT LIBDEFLATE_LIBRARY)
        message(FATAL_ERROR "libdeflate not found (Debian: libdeflate-dev; scripts/deps.sh installs it)")
    endif()
    include(CheckSymbolExists)
    set(CMAKE_REQUIRED_INCLUDES ${LIBDEFLATE_INCLUDE_DIR})
    set(CMAKE_REQUIRED_LIBRARIES ${LIBDEFLATE_LIBRARY})
    check_symbol_exists(libdeflate_zlib_decompress libdeflate.h HAVE_LIBDEFLATE)
    unset(CMAKE_REQUIRED_INCLUDES)
    unset(CMAKE_REQUIRED_LIBRARIES)
    if(NOT HAVE_LIBDEFLATE)
        message(FATAL_ERROR "${LIBDEFLATE_INCLUDE_DIR}/libdeflate.h with ${LIBDEFLATE_LIBRARY} "
                            "does not link libdeflate_zlib_decompress")
    endif()
    add_library(pellion_libdeflate UNKNOWN IMPORTED)
    set_target_properties(pellion_libdeflate PROPERTIES
        IMPORTED_LOCATION ${LIBDEFLATE_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${LIBDEFLATE_INCLUDE_DIR})
    return()
endif()

set(LIBDEFLATE_SOURCE_DIR "" CACHE PATH "Unpacked libdeflate source package (scripts/deps.sh fetches it)")
if(NOT EXISTS "${LIBDEFLATE_SOURCE_DIR}/libdeflate.h")
    message(FATAL_ERROR "LIBDEFLATE_SOURCE_DIR='${LIBDEFLATE_SOURCE_DIR}' holds no libdeflate source; "
                        "run scripts/deps.sh <build folder> and pass "
                        "-DLIBDEFLATE_SOURCE_DIR=<build folder>/third_party/libdeflate")
endif()

# The library as libdeflate's own Makefile builds it (its x86 CPU feature
# detection only: every Windows target here is x86). Without LIBDEFLATE_DLL
# the header declares plain functions, not dllimport ones: a static library.
set(src ${LIBDEFLATE_SOURCE_DIR}/lib)
add_library(pellion_libdeflate STATIC
    ${src}/deflate_decompress.c ${src}/deflate_compress.c
    ${src}/zlib_decompress.c ${src}/zlib_compress.c
    ${src}/gzip_decompress.c ${src}/gzip_compress.c
    ${src}/adler32.c ${src}/crc32.c ${src}/utils.c
    ${src}/x86/cpu_features.c)
target_include_directories(pellion_libdeflate SYSTEM PUBLIC ${LIBDEFLATE_SOURCE_DIR})
set_target_properties(pellion_libdeflate PROPERTIES C_STANDARD 99 C_EXTENSIONS OFF)
target_compile_definitions(pellion_libdeflate PRIVATE _ANSI_SOURCE)
# Its own flags (the later -O2 wins over the build type's -O3); its warnings
# are for its authors, not for this build.
target_compile_options(pellion_libdeflate PRIVATE -O2 -fomit-frame-pointer -w
                       -ffile-prefix-map=${LIBDEFLATE_SOURCE_DIR}/=libdeflate/)
