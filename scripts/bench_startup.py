#!/usr/bin/env python3
"""Start-up benchmarks, each alternated with its yardstick in one warm prefix:
the installer until its DOSBox notice shows (64-bit prefix) against a
minimal program showing a message box, and the installer until its welcome
page shows (32-bit prefix where this machine has one) against a minimal
program showing a window."""

import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402

build = Path(sys.argv[1])
cross = Path(os.environ.get("WINE_BUILD", build / "cross"))


def compare(arch, title, yardstick_title, yardstick, dosbox=False):
    root = wineprefix.ensure_template(build / "bench-wine", arch)
    with wineprefix.Prefix(root, arch, name="bench") as pre:
        if dosbox:  # a stand-in, so that the 64-bit check passes
            (pre.program_files / "DOSBox-0.74").mkdir(parents=True)
            (pre.program_files / "DOSBox-0.74" / "dosbox.exe").write_bytes(b"MZ")
        bench = pre.install_copy(cross / "tests/bench/startup_bench.exe", "C:\\bench")
        setup = pre.install_copy(cross / "app/PellionSetup.exe", "C:\\bench")
        minimal = pre.install_copy(cross / "tests/bench" / yardstick, "C:\\bench")
        rc, out = pre.run(bench, "15", title, setup, yardstick_title, minimal, timeout=600)
        print(out, end="")
        return rc


print("-- the DOSBox notice (64-bit prefix without DOSBox) vs a message box")
rc = compare("win64", "Corvex355 Installer", "Minimal", "minimal_msgbox.exe")
arch = "win32" if "win32" in wineprefix.available_arches() else "win64"
print(f"-- the welcome page ({arch} prefix) vs a minimal window")
if arch == "win64":
    print("(this machine does not execute 32-bit programs: no 32-bit prefix here)")
rc |= compare(arch, "Tovarin Pellion Installer", "Minimal Window", "minimal_window.exe",
              dosbox=arch == "win64")
print("(first column: installer; second: minimal program; target ratio at most 1.2)")
sys.exit(rc)
