#!/usr/bin/env python3
"""Command line of the Wine harness, used by ctest.

  wine_harness.py templates ROOT          make the win32 and win64 templates
  wine_harness.py exec ROOT ARCH EXE ...  run EXE in a fresh copy of ARCH

PELLION_PREFIX_DPI sets the copy's screen DPI (LogPixels) first.
"""

import os
import sys
import threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wineprefix  # noqa: E402


def templates(root):
    Path(root).mkdir(parents=True, exist_ok=True)
    (Path(root) / "scenarios").mkdir(exist_ok=True)
    errors = []

    def make(arch):
        try:
            wineprefix.make_template(root, arch)
        except Exception as e:  # reported below, after both finished
            errors.append(f"{arch}: {e}")

    if not wineprefix.runs_32bit_code():
        print(f"{wineprefix.why_no_32bit()}: only the 64-bit prefix is made")
    threads = [threading.Thread(target=make, args=(a,)) for a in wineprefix.available_arches()]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for e in errors:
        print("template failed:", e)
    return 1 if errors else 0


SKIPPED = 77  # ctest's SKIP_RETURN_CODE for the Wine tests


def execute(root, arch, exe, args):
    if arch not in wineprefix.available_arches():
        print(f"skipped: {wineprefix.why_no_32bit()}, so Wine has no {arch} prefix here")
        return SKIPPED
    with wineprefix.Prefix(root, arch, name=Path(exe).stem) as p:
        if os.environ.get("PELLION_PREFIX_DPI"):
            p.set_dpi(int(os.environ["PELLION_PREFIX_DPI"]))
        rc, out = p.run(p.install_copy(exe, "C:\\tests"), *args, timeout=900)
        sys.stdout.write(out)
        print(f"[{Path(exe).name} exited {rc} in the {arch} prefix]")
        return rc


def main(argv):
    if len(argv) >= 2 and argv[0] == "templates":
        return templates(argv[1])
    if len(argv) >= 4 and argv[0] == "exec":
        return execute(argv[1], argv[2], argv[3], argv[4:])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
