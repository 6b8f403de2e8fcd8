# Cross toolchain for a 64-bit build of the same program and tests. The
# shipped installer is the 32-bit build; this one exists so that the Win32
# and end-to-end tests still run, natively under 64-bit Wine, on machines
# whose kernel cannot execute 32-bit code (and so cannot start 32-bit Wine).
# The -posix compilers: with the win32 thread model GCC 12 has no
# std::mutex/std::thread and GoogleTest does not build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Everything static: libgcc, libstdc++, winpthread and zlib end up inside the
# executable, so it imports only DLLs that ship with Windows.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
