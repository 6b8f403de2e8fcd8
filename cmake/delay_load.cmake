# shell32.dll loaded at its first call instead of at start: the installer
# needs it only for the folder browser, shortcuts and the closing step, and
# loading it (with shlwapi and shcore behind it) is a good part of start-up.
# dlltool makes a delay-import library for the functions the program calls;
# the loader helper comes from the toolchain's libdelayimp. The process's
# DLL search is limited to the system folder before any of these calls.
set(SHELL32_DELAYED
    SHBrowseForFolderW@4 SHFileOperationW@4 SHGetPathFromIDListW@8
    SHGetSpecialFolderLocation@12 ShellExecuteW@24)
set(DELAY_DIR ${CMAKE_BINARY_DIR}/delay)
set(SHELL32_DEF "LIBRARY SHELL32.dll\nEXPORTS\n")
foreach(fn ${SHELL32_DELAYED})
    if(NOT MINGW_ARCH STREQUAL "i686")
        string(REGEX REPLACE "@[0-9]+$" "" fn ${fn})  # no stdcall decoration on x64
    endif()
    string(APPEND SHELL32_DEF "${fn}\n")
endforeach()
file(WRITE ${DELAY_DIR}/shell32.def ${SHELL32_DEF})
add_custom_command(OUTPUT ${DELAY_DIR}/libshell32_delay.a
    COMMAND ${MINGW_ARCH}-w64-mingw32-dlltool -k -d ${DELAY_DIR}/shell32.def
            -y ${DELAY_DIR}/libshell32_delay.a
    DEPENDS ${DELAY_DIR}/shell32.def
    VERBATIM)
add_custom_target(shell32_delay DEPENDS ${DELAY_DIR}/libshell32_delay.a)
add_library(pellion_shell32_delayed INTERFACE)
add_dependencies(pellion_shell32_delayed shell32_delay)
target_link_libraries(pellion_shell32_delayed INTERFACE ${DELAY_DIR}/libshell32_delay.a delayimp)
