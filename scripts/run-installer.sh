#!/usr/bin/env bash
# Runs the installer under Wine: on the user's display when there is one,
# otherwise under a private Xvfb, saving a PNG of each window that appears.
#   run-installer.sh INSTALLER.exe WORKDIR
# RUN_ARCH=win64 runs it as a 32-bit program on 64-bit Windows (WOW64).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/fixed-layout.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec python3 "$here/run_installer.py" "$@"
fi
exec "$here/with-display.sh" python3 "$here/run_installer.py" --headless "$@"
