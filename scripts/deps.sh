#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, and
# nothing when everything is already there. Safe to run again.
# Usage: deps.sh [BUILD_DIR]   (default: build/ next to scripts/); the
# libdeflate source package for the Windows builds is unpacked under it.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev zlib1g-dev libdeflate-dev googletest libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  dpkg-dev  # unpacks the libdeflate source package (apt-get source)
  wine wine32:i386 wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick python3 python3-pefile attr
  dosbox  # runs the sample product's DOS programs in their test
  osslsigncode openssl  # sign the installer (make installer SIGN_...) and its test's certificate
)

# The emulated machine that runs the 32-bit programs where this machine's
# kernel refuses them (VM32=ON forces it, OFF leaves it out).
here=$(cd "$(dirname "$0")" && pwd)
case "${VM32:-AUTO}" in
  ON) packages+=(qemu-system-x86 qemu-utils debootstrap) ;;
  OFF) ;;
  *) sh "$here/runs-i386.sh" || packages+=(qemu-system-x86 qemu-utils debootstrap) ;;
esac

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# libdeflate for the Windows builds: Debian ships no mingw build of it, so the
# cross builds compile its library from Debian's source package, unpacked once
# into <build>/third_party/libdeflate-<version>, with the stable link
# <build>/third_party/libdeflate that the Makefile passes to CMake.
build=${1:-$here/../build}
mkdir -p "$build/third_party"
third_party=$(cd "$build/third_party" && pwd)
[ -f "$third_party/libdeflate/libdeflate.h" ] && exit 0

# Prints deb-src entries (deb822) mirroring the configured deb entries of
# Debian's own archive, or nothing when such deb-src entries already exist.
# An entry is Debian's when one of its suites is this release's codename
# (bookworm, bookworm-updates, bookworm-security, ...) and it is signed by
# Debian's archive keyring (or by apt's default keyrings).
debian_src_entries() {
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  local files=()
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 0
  awk -v codename="$codename" '
    function debian(suites, key,   n, s, i) {
      if (key != "" && key !~ /debian-archive-/) return 0
      n = split(suites, s, " ")
      for (i = 1; i <= n; i++)
        if (s[i] == codename || index(s[i], codename "-") == 1) return 1
      return 0
    }
    function entry(types, uris, suites, comps, key,   n, t, i, is_deb, is_src) {
      if (!debian(suites, key)) return
      n = split(types, t, " ")
      for (i = 1; i <= n; i++) {
        if (t[i] == "deb") is_deb = 1
        if (t[i] == "deb-src") is_src = 1
      }
      if (is_src) have_src = 1
      if (!is_deb) return
      out = out "Types: deb-src\nURIs: " uris "\nSuites: " suites "\nComponents: " comps "\n"
      if (key != "") out = out "Signed-By: " key "\n"
      out = out "\n"
    }
    function field(line) { sub(/^[^:]*:[ \t]*/, "", line); sub(/[ \t]+$/, "", line); return line }
    function flush() {
      if (types != "" && tolower(enabled) != "no") entry(types, uris, suites, comps, key)
      types = uris = suites = comps = key = enabled = ""
    }
    FNR == 1 { flush() }
    # One-line entries: deb [options] URI suite component...
    FILENAME !~ /\.sources$/ {
      sub(/#.*/, "")
      if ($1 != "deb" && $1 != "deb-src") next
      line = $0; opts = ""
      if (match(line, /\[[^]]*\]/)) { opts = substr(line, RSTART + 1, RLENGTH - 2); line = substr(line, 1, RSTART - 1) substr(line, RSTART + RLENGTH) }
      n = split(line, w, " ")
      k = ""
      if (match(opts, /signed-by=[^ ]+/)) k = substr(opts, RSTART + 10, RLENGTH - 10)
      c = ""
      for (i = 4; i <= n; i++) c = c (c == "" ? "" : " ") w[i]
      entry(w[1], w[2], w[3], c, k)
      next
    }
    # deb822 paragraphs; comments and continuation lines (an inline key)
    # are skipped: such an entry is not taken for Debian.
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[ \t]/ { next }
    tolower($1) == "types:" { types = field($0) }
    tolower($1) == "uris:" { uris = field($0) }
    tolower($1) == "suites:" { suites = field($0) }
    tolower($1) == "components:" { comps = field($0) }
    tolower($1) == "signed-by:" { key = field($0); if (key == "") key = "inline" }
    tolower($1) == "enabled:" { enabled = field($0) }
    END { flush(); if (!have_src) printf "%s", out }
  ' "${files[@]}"
}

fail() { echo "deps: cannot fetch the libdeflate source package: $*" >&2; exit 1; }
# apt's first error in a log, else its last line.
apt_says() { grep -m 1 '^E:' "$1" || grep -v '^[[:space:]]*$' "$1" | tail -n 1; }

work=$(mktemp -d "$third_party/.fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=$work/apt.log
fetch() { (cd "$work" && apt-get source -q libdeflate) >"$log" 2>&1; }
if ! fetch; then
  # Most machines list no deb-src entries: add Debian's next to its deb ones.
  entries=$(debian_src_entries)
  if [ -n "$entries" ]; then
    echo "deps: enabling Debian's source packages in /etc/apt/sources.list.d/pellion-src.sources" >&2
    printf '%s\n' "$entries" | $sudo tee /etc/apt/sources.list.d/pellion-src.sources >/dev/null
  fi
  # An index that fails to download (a mirror mid-sync, say) fails the update
  # but need not be the one with the sources: try, and name both on failure.
  updated=""
  $sudo apt-get update -qq >"$log" 2>&1 || updated=" (apt-get update: $(apt_says "$log"))"
  fetch || fail "$(apt_says "$log")$updated"
fi
unpacked=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libdeflate-*' | head -n 1)
[ -n "$unpacked" ] && [ -f "$unpacked/libdeflate.h" ] || fail "no libdeflate-<version>/libdeflate.h in what apt-get source unpacked"
name=$(basename "$unpacked")
rm -rf "${third_party:?}/$name"
mv "$unpacked" "$third_party/$name"
ln -sfn "$name" "$third_party/libdeflate"
echo "deps: libdeflate source in $third_party/$name" >&2
