#!/usr/bin/env bash
# Runs a command with an X display: the caller's own, or a private Xvfb that
# lives exactly as long as the command. Xvfb picks a free display number
# itself (-displayfd), so runs that share a machine never race for one.
set -u
. "$(dirname "$0")/fixed-layout.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
fifo=$(mktemp -u /tmp/pellion-xvfb.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
n=$(timeout 20 head -n1 "$fifo")
if [ -z "$n" ]; then
  echo "with-display: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":${n}"
"$@"
