# The decode benchmark: a generated product of about 200 MB, packed and
# embedded in payload_bench.exe. Built only on demand (make bench), never by
# the default build; the data stays in the build folder.
set(BENCH_DIR ${CMAKE_BINARY_DIR}/bench-payload)
set(BENCH_ITEMS)
foreach(item ${PAYLOAD_DEFAULT_ITEMS})
    string(REGEX REPLACE "=.*" "" resource ${item})
    list(APPEND BENCH_ITEMS ${BENCH_DIR}/items/${resource}.bin)
endforeach()
add_custom_command(OUTPUT ${BENCH_DIR}/items/payload.rc ${BENCH_ITEMS}
    COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/make_bench_product.py ${BENCH_DIR}/product
    COMMAND ${PAYLOAD_PACKER} --seed ${PAYLOAD_SEED} --date "2004-05-11 12:00:00"
            ${BENCH_DIR}/product ${BENCH_DIR}/items
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_bench_product.py ${PAYLOAD_PACKER}
    COMMENT "Generating and packing the 200 MB benchmark product"
    VERBATIM)
add_executable(payload_bench EXCLUDE_FROM_ALL payload_bench.cpp ${BENCH_DIR}/items/payload.rc)
target_link_libraries(payload_bench PRIVATE pellion_win psapi)
# Linked like the installer: with 4096-byte file alignment the loader maps the
# resources instead of copying them all at start.
target_link_options(payload_bench PRIVATE -mconsole -Wl,--file-alignment,4096)

# The install benchmark: the whole run with its real window over the same
# generated product, against the plain extraction program of ours.
add_executable(install_bench EXCLUDE_FROM_ALL WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/install_host.cpp
               ${BENCH_DIR}/items/payload.rc)
target_link_libraries(install_bench PRIVATE pellion_win psapi)
target_link_options(install_bench PRIVATE -municode -Wl,--file-alignment,4096
                    ${LARGE_ADDRESS_AWARE})
add_executable(extract_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/bench/extract_bench.cpp
               ${BENCH_DIR}/items/payload.rc)
target_link_libraries(extract_bench PRIVATE pellion_win psapi)
target_link_options(extract_bench PRIVATE -mconsole -Wl,--file-alignment,4096
                    ${LARGE_ADDRESS_AWARE})

# The installer itself over the same product, for the silent run's figure.
add_executable(installer_silent_bench EXCLUDE_FROM_ALL WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp
               ${CMAKE_SOURCE_DIR}/app/installer.rc ${BENCH_DIR}/items/payload.rc)
pellion_embed_conf_template(installer_silent_bench)
target_link_libraries(installer_silent_bench PRIVATE pellion_win)
target_link_options(installer_silent_bench PRIVATE -municode -Wl,--file-alignment,4096
                    ${LARGE_ADDRESS_AWARE})
