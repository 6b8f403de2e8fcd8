#!/usr/bin/env bash
# Signs a Windows executable in place with an Authenticode SHA-256 signature
# (osslsigncode), from settings in the environment:
#   SIGN_PFX=file.pfx                     key and certificate in a PKCS#12 file, or
#   SIGN_KEY=key.pem SIGN_CERT=cert.pem   a PEM key and its certificate (chain)
#   SIGN_PASS        password of the PFX or of an encrypted key; read from the
#                    environment only and handed to osslsigncode in a private
#                    file, never on a command line
#   SIGN_TIMESTAMP   RFC 3161 time-stamp server URL (optional)
#   SIGN_URL         link shown with the description "Pellion Installer" (optional)
# Usage: sign.sh FILE.exe
#
# The file is always signed from its unsigned image: a signature it already
# carries (the last signed build's, when nothing was relinked since) is
# removed first, so running again replaces the signature and never adds a
# second one. Without settings, a signature the file carries is removed (an
# unsigned build after a signed one is unsigned again), and a file without
# one is left untouched, silently. The new file is made beside the
# old one and moved over it only when whole: any failure leaves FILE as it
# was and exits non-zero.
set -euo pipefail

fail() { echo "sign: $*" >&2; exit 1; }

[ $# -eq 1 ] || fail "usage: sign.sh FILE.exe"
file=$1
[ -f "$file" ] || fail "$file: no such file"

# Size of the certificate table (where the signature lives) that the PE
# header names: data directory 4, after the optional header's fixed part.
signature_size() {
  local pe magic dirs
  [ "$(head -c 2 "$1")" = MZ ] || return 1
  pe=$(od -An -tu4 -j60 -N4 "$1")
  magic=$(od -An -tu2 -j$((pe + 24)) -N2 "$1")
  case $((magic)) in
    267) dirs=$((pe + 24 + 96)) ;;   # PE32
    523) dirs=$((pe + 24 + 112)) ;;  # PE32+
    *) return 1 ;;
  esac
  echo $(($(od -An -tu4 -j$((dirs + 4 * 8 + 4)) -N4 "$1")))
}
signed=$(signature_size "$file") || fail "$file: not a Windows executable"

pfx=${SIGN_PFX:-} key=${SIGN_KEY:-} cert=${SIGN_CERT:-}
if [ -z "$pfx$key$cert" ]; then
  for v in SIGN_PASS SIGN_TIMESTAMP SIGN_URL; do
    [ -z "${!v:-}" ] || fail "$v is set but there is nothing to sign with: set SIGN_PFX, or SIGN_KEY and SIGN_CERT"
  done
  [ "$signed" -ne 0 ] || exit 0
fi
if [ -n "$pfx" ]; then
  [ -z "$key$cert" ] || fail "give SIGN_PFX, or SIGN_KEY and SIGN_CERT, not both"
  [ -f "$pfx" ] || fail "SIGN_PFX: no such file: $pfx"
  credentials=(-pkcs12 "$pfx")
elif [ -n "$key$cert" ]; then
  [ -n "$key" ] && [ -n "$cert" ] || fail "SIGN_KEY and SIGN_CERT go together: give both"
  [ -f "$key" ] || fail "SIGN_KEY: no such file: $key"
  [ -f "$cert" ] || fail "SIGN_CERT: no such file: $cert"
  credentials=(-key "$key" -certs "$cert")
fi
command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (scripts/deps.sh installs it)"

# The images beside FILE, so that the last step is a rename on one file
# system; the password and osslsigncode's messages in a private folder.
dir=$(dirname "$file")
work=$(mktemp -d "$dir/.sign.XXXXXX")
trap 'rm -rf "$work"' EXIT
private=$(mktemp -d)
trap 'rm -rf "$work" "$private"' EXIT
log=$private/log

# osslsigncode's own lines, without OpenSSL's error stack.
explain() {
  grep -Ev '^[0-9A-F]+:error:|^Failed$|^Enter PEM pass phrase:|^[[:space:]]*$' "$log" | sed 's/^/sign:   /' >&2 || true
}

unsigned=$file
if [ "$signed" -ne 0 ]; then
  unsigned=$work/unsigned.exe
  if ! osslsigncode remove-signature -in "$file" -out "$unsigned" </dev/null >"$log" 2>&1; then
    echo "sign: could not remove the signature $file carries; it is left as it was" >&2
    explain
    exit 1
  fi
fi

if [ -z "$pfx$key" ]; then
  chmod --reference="$file" "$unsigned"
  mv -f "$unsigned" "$file"
  echo "sign: no signing settings: removed the signature of an earlier signed build from $file" >&2
  exit 0
fi

options=(-h sha256 -n "Pellion Installer")
[ -z "${SIGN_URL:-}" ] || options+=(-i "$SIGN_URL")
[ -z "${SIGN_TIMESTAMP:-}" ] || options+=(-ts "$SIGN_TIMESTAMP")
if [ -n "${SIGN_PASS:-}" ]; then
  # printf is a builtin: the password reaches no process's arguments.
  (umask 077 && printf '%s' "$SIGN_PASS" >"$private/pass")
  options+=(-readpass "$private/pass")
fi

out=$work/signed.exe
# Nothing is read from stdin. (With an encrypted key and no SIGN_PASS,
# OpenSSL asks on the terminal, and fails where there is none.)
if ! osslsigncode sign "${credentials[@]}" "${options[@]}" -in "$unsigned" -out "$out" \
    </dev/null >"$log" 2>&1 || [ "$(signature_size "$out" 2>/dev/null || echo 0)" -eq 0 ]; then
  echo "sign: could not sign $file; it is left as it was" >&2
  explain
  exit 1
fi
chmod --reference="$file" "$out"
mv -f "$out" "$file"
echo "signed: $file (Authenticode SHA-256${SIGN_TIMESTAMP:+, time-stamped by $SIGN_TIMESTAMP})"
