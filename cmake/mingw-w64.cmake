# The mingw-w64 cross toolchain for MINGW_ARCH (i686 or x86_64), included by
# the two toolchain files. The -posix compilers are required: with the win32
# thread model GCC 12 has no std::mutex/std::thread and GoogleTest does not
# build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})

set(CMAKE_C_COMPILER ${MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Everything static: libgcc, libstdc++, winpthread and zlib end up inside the
# executable, so it imports only DLLs that ship with Windows.
# --no-insert-timestamp: the PE header's time stamp is 0 instead of the link
# time, so one commit links to the same bytes whenever it is built (the
# header's checksum, which ld computes over those bytes, with them).
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
