# Cross toolchain for a 64-bit build of the same program and tests. The
# shipped installer is the 32-bit build; this one exists so that the Win32
# and end-to-end tests still run, natively under 64-bit Wine, on machines
# whose kernel cannot execute 32-bit code (and so cannot start 32-bit Wine).
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
