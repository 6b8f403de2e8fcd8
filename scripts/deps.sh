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
  wine wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick python3 python3-pefile attr
  dosbox  # runs the sample product's DOS programs in their test
  osslsigncode openssl  # sign the installer (make installer SIGN_...) and its test's certificate
)
# 32-bit Wine is used where it can be had, never required: without it the
# emulated machine runs the 32-bit programs (wine32.sh decides).
wine32=wine32:i386
# The emulated machine (tests/vm32); VM32=ON uses it on any machine, OFF never.
vm_packages=(qemu-system-x86 qemu-utils debootstrap)

here=$(cd "$(dirname "$0")" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing_of() { local p; for p in "$@"; do installed "$p" || echo "$p"; done; }
# apt's reason in one line: its first error, else its last line.
apt_says() { grep -m 1 '^E:' "$1" || grep -v '^[[:space:]]*$' "$1" | tail -n 1; }
# Why an install of 32-bit Wine failed, short: "held broken packages", or apt's line.
apt_why() {
  if grep -q 'held broken packages\|generated breaks' "$1"; then echo "held broken packages"
  else apt_says "$1" | sed 's/^E: //'; fi
}

# apt-get update, tried three times a few seconds apart. An index that still
# fails (a mirror in mid-sync) is named in one line and the install goes on
# with the lists apt has: only an install that fails stops the set-up.
apt_updated=""
apt_update() {
  [ -n "$apt_updated" ] && return 0
  apt_updated=yes
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  local try
  for try in 1 2 3; do
    $sudo apt-get update -qq >"$apt_log" 2>&1 && ! grep -q '^[EW]: Failed to fetch' "$apt_log" && return 0
    [ "$try" -lt 3 ] && sleep "${PELLION_APT_RETRY_SECONDS:-4}"
  done
  local failed
  failed=$(grep -m 1 '^[EW]: Failed to fetch' "$apt_log" | sed 's/^[EW]: Failed to fetch *//; s/ *\[IP: [^]]*\]$//; s/  */ /g')
  echo "deps: apt-get update failed 3 times${failed:+ on $failed}; going on with the package lists apt has" >&2
}

apt_install() {
  $sudo apt-get install -y -qq --no-install-recommends "$@" >"$apt_log" 2>&1
}

# Stops the set-up with apt's reason for the install that just failed.
install_failed() {
  echo "deps: apt-get install failed: $(apt_says "$apt_log")" >&2
  echo "deps: try 'apt-get update' and the same command again later (a mirror in mid-sync heals within hours), or install those packages by hand" >&2
  exit 1
}

install_or_stop() {
  [ $# -gt 0 ] || return 0
  echo "deps: installing $*" >&2
  apt_update
  apt_install "$@" || install_failed
}

# Why 32-bit Wine is not here, once it was tried: set when its install failed.
wine32_refused=""
mapfile -t missing < <(missing_of "${packages[@]}")
want_wine32=""
if sh "$here/runs-i386.sh" && ! installed "$wine32"; then
  want_wine32=yes
  # Asked again on a machine where it failed before: when nothing else is
  # missing, apt's present lists answer without an update (quiet, no
  # network). Lists that do not know the package yet call for an update.
  if [ ${#missing[@]} -eq 0 ] \
      && ! $sudo apt-get install -s -qq --no-install-recommends "$wine32" >"$apt_log" 2>&1 \
      && ! grep -q 'Unable to locate package' "$apt_log"; then
    wine32_refused=$(apt_why "$apt_log")
    want_wine32=""
  fi
fi
if [ -n "$want_wine32" ]; then
  echo "deps: installing ${missing[*]}${missing[*]:+ }$wine32" >&2
  apt_update
  if ! apt_install "${missing[@]}" "$wine32"; then
    wine32_refused=$(apt_why "$apt_log")
    # Everything else must still install.
    apt_install "${missing[@]}" || install_failed
  fi
else
  install_or_stop "${missing[@]}"
fi

# The route, decided once here and by the same script wherever it is asked.
if ! why=$(sh "$here/wine32.sh" --why); then
  [ -n "$wine32_refused" ] && why="32-bit Wine cannot be installed here (apt: $wine32_refused)"
  case "${VM32:-AUTO}" in
    OFF) route="VM32=0: the shipped 32-bit build is not run here" ;;
    *) route="the shipped 32-bit build is tested in the emulated machine"
       mapfile -t vm_missing < <(missing_of "${vm_packages[@]}")
       install_or_stop "${vm_missing[@]}" ;;
  esac
  [ -n "${PELLION_ROUTE_SAID:-}" ] || echo "deps: $why; $route" >&2
elif [ "${VM32:-AUTO}" = ON ]; then
  mapfile -t vm_missing < <(missing_of "${vm_packages[@]}")
  install_or_stop "${vm_missing[@]}"
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

work=$(mktemp -d "$third_party/.fetch.XXXXXX")
trap 'rm -rf "$work" "$apt_log"' EXIT
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
