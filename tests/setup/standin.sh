#!/usr/bin/env bash
# Stand-in for apt-get, dpkg-query, dpkg and sudo, by the name it is called
# with, over a small state folder ($STANDIN): installed.txt lists installed
# packages, calls.txt every call. STANDIN_BREAK_UPDATE makes `apt-get update`
# fail as a mirror in mid-sync does; STANDIN_BROKEN names packages that apt
# cannot install ("held broken packages"); STANDIN_MISSING ones it does not know.
set -u
state=${STANDIN:?}
echo "$(basename "$0") $*" >>"$state/calls.txt"
touch "$state/installed.txt"
has() { grep -qx "$1" "$state/installed.txt"; }
listed() { case " $2 " in *" $1 "*) return 0 ;; esac; return 1; }

case $(basename "$0") in
sudo) exec "$@" ;;
dpkg)
  case ${1:-} in
    --print-foreign-architectures) has arch:i386 && echo i386 ;;
    --add-architecture) echo "arch:$2" >>"$state/installed.txt" ;;
  esac ;;
dpkg-query)
  pkg=${!#}
  if has "$pkg"; then echo -n "install ok installed"; else
    echo "dpkg-query: no packages found matching $pkg" >&2; exit 1; fi ;;
apt-get)
  if [ "${*: -1}" = update ] || listed update "$*"; then
    if [ -n "${STANDIN_BREAK_UPDATE:-}" ]; then
      echo "E: Failed to fetch http://archive.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi
    exit 0
  fi
  simulate=""; pkgs=()
  for a in "$@"; do
    case $a in install|-y|-qq|-q|--no-install-recommends) ;; -s) simulate=yes ;; *) pkgs+=("$a") ;; esac
  done
  for p in "${pkgs[@]}"; do
    if listed "$p" "${STANDIN_MISSING:-}"; then
      echo "E: Unable to locate package $p" >&2; exit 100; fi
    if listed "$p" "${STANDIN_BROKEN:-}"; then
      echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; fi
  done
  [ -n "$simulate" ] || printf '%s\n' "${pkgs[@]}" >>"$state/installed.txt" ;;
esac
exit 0
