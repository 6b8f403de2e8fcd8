#!/bin/sh
# Decides the one question every part of the build asks: do the 32-bit
# programs under test run here in native 32-bit Wine? That takes a kernel
# that executes 32-bit code *and* a 32-bit Wine that is installed and starts.
# Where either is missing, Wine runs the 64-bit build of the same sources and
# the shipped 32-bit build is tested in the emulated machine (tests/vm32).
#
#   wine32.sh          exit 0 when native 32-bit Wine is the route, else 1
#   wine32.sh --why    the same, and prints one line saying why not
#
# The Makefile, CMake (tests/CMakeLists.txt), deps.sh and the Python harness
# all ask this script, so they cannot disagree.
here=$(cd "$(dirname "$0")" && pwd)
# The 32-bit loader of Debian's wine32 package; a test points it elsewhere.
loader=${PELLION_WINE32_LOADER:-/usr/lib/wine/wine}

why=""
if ! sh "$here/runs-i386.sh"; then
  why="this machine's kernel refuses 32-bit code"
elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  why="32-bit Wine (wine32:i386) is not installed"
elif ! "$loader" --version >/dev/null 2>&1; then
  why="32-bit Wine is installed but cannot start a program"
fi

[ -z "$why" ] && exit 0
[ "${1:-}" = "--why" ] && echo "$why"
exit 1
