#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, and
# nothing when everything is already there. Safe to run again.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev zlib1g-dev googletest libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine32:i386 wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick python3 python3-pefile attr
  dosbox  # runs the sample product's DOS programs in their test
)

# The emulated machine that runs the 32-bit programs where this machine's
# kernel refuses them (VM32=ON forces it, OFF leaves it out).
here=$(cd "$(dirname "$0")" && pwd)
case "${VM32:-AUTO}" in
  ON) packages+=(qemu-system-x86 qemu-utils debootstrap) ;;
  OFF) ;;
  *) sh "$here/runs-i386.sh" || packages+=(qemu-system-x86 qemu-utils debootstrap) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
