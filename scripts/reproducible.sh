#!/usr/bin/env bash
# Checks that the installer does not depend on where or when it was built:
# builds it a second time from a clone of this checkout's HEAD in a temporary
# folder, with the first build's payload seed, and compares the two byte for
# byte.
# Usage: reproducible.sh INSTALLER [BUILD]
#   INSTALLER  the installer `make installer` made (BUILD/cross/app/PellionSetup.exe)
#   BUILD      its build folder (default: the one INSTALLER is in); the
#              second build takes its seed and product folder from it and
#              reuses its libdeflate source, so it needs no network.
# Prints one line and exits 0 when the two are identical; names the first
# differing offset and exits 1 when not; exits 2 when it cannot compare.
# A signed INSTALLER is compared without its signature (osslsigncode
# remove-signature gives back the exact unsigned image); the second build is
# always unsigned.
set -euo pipefail

fail() { echo "reproducible: $*" >&2; exit 2; }

[ $# -ge 1 ] && [ $# -le 2 ] || fail "usage: reproducible.sh INSTALLER [BUILD]"
first=$(realpath "$1")
[ -f "$first" ] || fail "$1: no such file"
build=$(realpath "${2:-$(dirname "$first")/../..}")
cache=$build/cross/CMakeCache.txt
[ -f "$cache" ] || fail "$build is not the installer's build folder (no cross/CMakeCache.txt)"
[ -f "$build/third_party/libdeflate/libdeflate.h" ] || fail "no libdeflate source under $build/third_party"
name=$(basename "$first")

top=$(realpath "$(git -C "$(dirname "$0")" rev-parse --show-toplevel)")
commit=$(git -C "$top" rev-parse HEAD)
if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
  echo "reproducible: note: $top has uncommitted changes; the second build is of HEAD ($commit)" >&2
fi

setting() { sed -n "s/^$1:[A-Z]*=//p" "$cache"; }
seed=$(setting PAYLOAD_SEED)
product=$(setting PRODUCT_DIR)
[ -n "$seed" ] && [ -n "$product" ] || fail "$cache names no PAYLOAD_SEED or PRODUCT_DIR"
product=$(realpath -m "$product")
# The tree's own product folder is the clone's; any other is shared.
case "$product/" in
  "$top"/*) product_rel=${product#"$top"}; product_rel=${product_rel#/} ;;
  *) product_rel="" ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/pellion-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
git clone -q --no-checkout "$top" "$work/src"
git -C "$work/src" checkout -q --detach "$commit"
if [ -n "$product_rel" ]; then product=$work/src/$product_rel; fi
mkdir -p "$work/build"
ln -s "$build/third_party" "$work/build/third_party"

# The first build installed what the build needs (deps), so the second skips
# that step; without signing settings `make installer` leaves the file unsigned.
log=$work/build.log
if ! env -u SIGN_PFX -u SIGN_KEY -u SIGN_CERT -u SIGN_PASS -u SIGN_TIMESTAMP -u SIGN_URL \
    make -C "$work/src" -o deps installer BUILD="$work/build" PAYLOAD_SEED="$seed" \
    PRODUCT_DIR="$product" >"$log" 2>&1; then
  tail -n 20 "$log" >&2
  fail "the second build failed"
fi
second=$work/build/cross/app/PellionSetup.exe

# The first file's unsigned image when it carries a signature.
compared=$first
signed=""
if osslsigncode extract-signature -in "$first" -out "$work/sig.der" >/dev/null 2>&1; then
  osslsigncode remove-signature -in "$first" -out "$work/unsigned.exe" >/dev/null 2>&1 ||
    fail "could not remove the signature of $first"
  compared=$work/unsigned.exe
  signed=", signature set aside"
fi

if cmp -s "$compared" "$second"; then
  size=$(stat -c %s "$second")
  sum=$(sha256sum "$second" | cut -d' ' -f1)
  echo "reproducible: $name identical in two folders ($size bytes, sha256 $sum$signed)"
  exit 0
fi
# cmp names the first differing byte counting from 1, or the shorter file's
# end ("EOF on FILE after byte N", or "EOF on FILE which is empty").
diff=$(cmp "$compared" "$second" 2>&1 || true)
case $diff in
  *"differ: byte "*) offset=$(($(sed -n 's/.*differ: byte \([0-9]*\).*/\1/p' <<<"$diff") - 1)) ;;
  *"after byte "*) offset=$(sed -n 's/.*after byte \([0-9]*\).*/\1/p' <<<"$diff") ;;
  *) offset=0 ;;
esac
kept=$build/reproducible/PellionSetup.exe
mkdir -p "$(dirname "$kept")"
cp "$second" "$kept"
printf 'reproducible: %s differs between two folders: first difference at offset %d (0x%x); sizes %s and %s bytes; second build kept as %s\n' \
  "$name" "$offset" "$offset" "$(stat -c %s "$compared")" "$(stat -c %s "$second")" "$kept" >&2
exit 1
