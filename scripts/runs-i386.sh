#!/bin/sh
# Exit status 0 when this machine's kernel itself executes 32-bit x86
# programs (the 32-bit Wine loader is one). Some virtual machines execute
# 64-bit code only. An emulator registered for 32-bit programs does not
# count: Wine does not run under it.
for entry in /proc/sys/fs/binfmt_misc/*; do
  if [ -f "$entry" ] && grep -q '^enabled' "$entry" 2>/dev/null \
      && grep -q '^magic 7f454c4601' "$entry" 2>/dev/null; then
    exit 1
  fi
done
exec /lib/ld-linux.so.2 --version >/dev/null 2>&1
