#!/usr/bin/env bash
# Benchmarks with figures and ratios. Never part of `make test`: these
# machines are shared and noisy, so targets are read off, not asserted.
#   bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
cross="$build/cross"

echo "== sizes"
cmake --build "$cross" --target installer_bare startup_bench minimal_msgbox minimal_window >/dev/null
bare=$(stat -c %s "$cross/app/installer_bare.exe")
minimal=$(stat -c %s "$cross/tests/bench/minimal_msgbox.exe")
printf 'installer with the sample payload: %9d bytes\n' "$(stat -c %s "$cross/app/PellionSetup.exe")"
printf 'installer without payload:         %9d bytes\n' "$bare"
printf 'minimal static mingw GUI program:  %9d bytes (ratio %s)\n' "$minimal" \
    "$(awk -v a="$bare" -v b="$minimal" 'BEGIN { printf "%.1f", a / b }')"

echo "== start-up: process start until the first window is visible (warm Wine)"
python3 "$here/bench_startup.py" "$build"

echo "== paint: the main window's 492 x 390 pyramid backdrop, from scratch vs from its kept bitmap (64-bit prefix)"
python3 "$here/../tests/harness/wine_harness.py" exec "$build/bench-wine" win64 \
    "$cross/tests/bench/paint_bench.exe" | grep -v '^\[paint_bench'
echo "(ratio: from scratch / from the kept bitmap)"

echo "== payload decode: generated 200 MB product, about 2:1 (32-bit prefix, warm Wine)"
cmake --build "$cross" --target payload_bench >/dev/null
python3 "$here/bench_payload.py" "$build"
