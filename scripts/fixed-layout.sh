# Sourced first by the scripts that start Wine programs: re-runs the calling
# script without address-space randomisation, inherited by every process it
# starts. Debian's Wine loader is linked at a fixed address (0x7d000000) and
# runs without a preloader, so the kernel starts its heap at a random point
# above it; now and then (about one start in several hundred) that heap
# already covers 0x7ffe0000 when a new process maps its shared user data
# there. That process dies before its first instruction ("failed to map the
# shared user data", unseen under WINEDEBUG=-all) and CreateProcess fails with
# ERROR_INTERNAL_ERROR: a test run or a bench that starts hundreds of
# processes would lose one now and then. Without randomisation the heap
# starts right after the loader, far below that address. Where setarch or
# the personality cannot be had, the script runs as it is.
if [ -r /proc/self/personality ] \
    && [ $((0x$(cat /proc/self/personality) & 0x0040000)) -eq 0 ] \
    && setarch "$(uname -m)" -R true 2>/dev/null; then
  exec setarch "$(uname -m)" -R bash "$0" "$@"
fi
