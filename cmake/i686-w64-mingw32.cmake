# Cross toolchain: 32-bit Windows executables built with mingw-w64 and run
# under Wine. This is the build of the shipped installer.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
