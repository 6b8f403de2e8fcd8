#!/usr/bin/env bash
# Benchmarks with figures and ratios. Never part of `make test`: these
# machines are shared and noisy, so targets are read off, not asserted.
#   bench.sh BUILD_DIR
# Every step runs, whatever became of the ones before it. A step that cannot
# measure says why in one line ("NAME: not measured: REASON"); the exit
# status is non-zero at the end when any step could not.
set -uo pipefail

. "$(dirname "$0")/fixed-layout.sh"

build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
# The build whose programs this machine's Wine runs (the 64-bit one where
# there is no native 32-bit Wine); sizes are always the shipped
# 32-bit build's.
cross="$build/cross"
wine_build=${WINE_BUILD:-$cross}
logs="$build/bench-logs"
# Python's output in order with the rest, as it comes.
export PYTHONUNBUFFERED=1
mkdir -p "$logs"
failed=()

# Builds targets $2... of build folder $1; on failure says which, with the
# first error line, and where the whole log is.
build_targets() {
  local dir=$1 log
  shift
  log="$logs/build-$(basename "$dir").log"
  if ! cmake --build "$dir" --target "$@" >"$log" 2>&1; then
    local first
    first=$(grep -m1 -E 'error|Error|cannot' "$log" || tail -n1 "$log")
    echo "not measured: building $* failed: $first (log: $log)"
    return 1
  fi
}

# Runs step $1 (the function $2), its output shown as it comes; a line
# "not measured: WHY" of its own gets the step's name in front. A step that
# fails without saying why is reported with the last line it printed.
step() {
  local name=$1 fn=$2 log="$logs/$2.log" rc
  "$fn" 2>&1 | sed -u "s|^not measured: |$name: not measured: |" | tee "$log"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -ne 0 ]; then
    if ! grep -q "not measured:" "$log"; then
      local why
      why=$(grep -v '^[[:space:]]*$' "$log" | tail -n1)
      echo "$name: not measured: ${why:-exit status $rc}"
    fi
    failed+=("$name")
  fi
}

# Runs bench program $1 of the Wine build in a warm 64-bit prefix, without
# the harness's closing line (its exit status is kept).
run_bench() {
  build_targets "$wine_build" "$1" || return 1
  local out="$logs/$1.out" rc
  python3 "$here/../tests/harness/wine_harness.py" exec "$build/bench-wine" win64 \
      "$wine_build/tests/bench/$1.exe" >"$out" 2>&1
  rc=$?
  grep -v "^\[$1" "$out"
  [ "$rc" -eq 0 ] || echo "$1 ended with status $rc"
  return "$rc"
}

bench_sizes() {
  build_targets "$cross" installer installer_bare minimal_msgbox || return 1
  local bare minimal
  bare=$(stat -c %s "$cross/app/installer_bare.exe")
  minimal=$(stat -c %s "$cross/tests/bench/minimal_msgbox.exe")
  printf 'installer with the sample payload: %9d bytes\n' "$(stat -c %s "$cross/app/PellionSetup.exe")"
  printf 'installer without payload:         %9d bytes\n' "$bare"
  printf 'minimal static mingw GUI program:  %9d bytes (ratio %s)\n' "$minimal" \
      "$(awk -v a="$bare" -v b="$minimal" 'BEGIN { printf "%.1f", a / b }')"
}

bench_startup() {
  build_targets "$wine_build" installer startup_bench minimal_msgbox minimal_window || return 1
  WINE_BUILD="$wine_build" python3 "$here/bench_startup.py" "$build"
}

bench_paint() {
  run_bench paint_bench || return 1
  echo "(ratio: from scratch / from the kept bitmap)"
}

bench_payload() {
  build_targets "$wine_build" payload_bench || return 1
  WINE_BUILD="$wine_build" python3 "$here/bench_payload.py" "$build"
}

bench_progress() {
  run_bench progress_bench
}

bench_install() {
  build_targets "$wine_build" install_bench extract_bench install_host installer \
      installer_silent_bench || return 1
  WINE_BUILD="$wine_build" python3 "$here/bench_install.py" "$build"
}

echo "== sizes"
step sizes bench_sizes
echo "== start-up: process start until the first window is visible (warm Wine)"
step start-up bench_startup
echo "== paint: the main window's 492 x 390 pyramid backdrop, from scratch vs from its kept bitmap (64-bit prefix)"
step paint bench_paint
echo "== payload decode: generated 200 MB product, about 2:1 (32-bit prefix, warm Wine)"
step "payload decode" bench_payload
echo "== progress window: processor share while paused and waiting for OK; SetPosition vs a 4 KiB file (64-bit prefix)"
step "progress window" bench_progress
echo "== install: the whole run over the generated 200 MB product vs plain extraction (64-bit prefix)"
step install bench_install

if [ "${#failed[@]}" -ne 0 ]; then
  echo "bench: every step ran; not measured: $(IFS=,; echo "${failed[*]}" | sed 's/,/, /g')"
  exit 1
fi
