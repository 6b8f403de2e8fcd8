#!/usr/bin/env bash
# Benchmarks with figures and ratios. Never part of `make test`: these
# machines are shared and noisy, so targets are read off, not asserted.
#   bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
# The build whose programs this machine's Wine runs (the 64-bit one where
# the kernel does not execute 32-bit code); sizes are always the shipped
# 32-bit build's.
cross="$build/cross"
wine_build=${WINE_BUILD:-$cross}

# Builds bench program $1 of the Wine build and runs it in a warm 64-bit
# prefix, without the harness's closing line.
run_bench() {
  cmake --build "$wine_build" --target "$1" >/dev/null
  python3 "$here/../tests/harness/wine_harness.py" exec "$build/bench-wine" win64 \
      "$wine_build/tests/bench/$1.exe" | grep -v "^\[$1"
}

echo "== sizes"
cmake --build "$cross" --target installer_bare startup_bench minimal_msgbox >/dev/null
bare=$(stat -c %s "$cross/app/installer_bare.exe")
minimal=$(stat -c %s "$cross/tests/bench/minimal_msgbox.exe")
printf 'installer with the sample payload: %9d bytes\n' "$(stat -c %s "$cross/app/PellionSetup.exe")"
printf 'installer without payload:         %9d bytes\n' "$bare"
printf 'minimal static mingw GUI program:  %9d bytes (ratio %s)\n' "$minimal" \
    "$(awk -v a="$bare" -v b="$minimal" 'BEGIN { printf "%.1f", a / b }')"

echo "== start-up: process start until the first window is visible (warm Wine)"
cmake --build "$wine_build" --target installer startup_bench minimal_msgbox minimal_window >/dev/null
WINE_BUILD="$wine_build" python3 "$here/bench_startup.py" "$build"

echo "== paint: the main window's 492 x 390 pyramid backdrop, from scratch vs from its kept bitmap (64-bit prefix)"
run_bench paint_bench
echo "(ratio: from scratch / from the kept bitmap)"

echo "== payload decode: generated 200 MB product, about 2:1 (32-bit prefix, warm Wine)"
cmake --build "$wine_build" --target payload_bench >/dev/null
WINE_BUILD="$wine_build" python3 "$here/bench_payload.py" "$build"

echo "== progress window: processor share while paused and waiting for OK; SetPosition vs a 4 KiB file (64-bit prefix)"
run_bench progress_bench

echo "== install: the whole run over the generated 200 MB product vs plain extraction (64-bit prefix)"
cmake --build "$wine_build" --target install_bench extract_bench install_host >/dev/null
WINE_BUILD="$wine_build" python3 "$here/bench_install.py" "$build"
