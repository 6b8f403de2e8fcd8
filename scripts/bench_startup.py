#!/usr/bin/env python3
"""Start-up benchmarks, each alternated with its yardstick in one warm prefix:
the installer until its DOSBox notice shows (64-bit prefix) against a
minimal program showing a message box, and the installer until its welcome
page shows (32-bit prefix) against a minimal program showing a window."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402

build = Path(sys.argv[1])
cross = build / "cross"
root = build / "bench-wine"


def compare(arch, title, args, yardstick_title, yardstick):
    if not (root / arch / "ready").exists():
        (root / "scenarios").mkdir(parents=True, exist_ok=True)
        wineprefix.make_template(root, arch)
    with wineprefix.Prefix(root, arch, name="bench") as pre:
        bench = pre.install_copy(cross / "tests/bench/startup_bench.exe", "C:\\bench")
        setup = pre.install_copy(cross / "app/PellionSetup.exe", "C:\\bench")
        minimal = pre.install_copy(cross / "tests/bench" / yardstick, "C:\\bench")
        rc, out = pre.run(bench, "15", title, f"{setup} {args}".strip(), yardstick_title, minimal,
                          timeout=600)
        print(out, end="")
        return rc


print("-- the DOSBox notice (64-bit prefix without DOSBox) vs a message box")
rc = compare("win64", "Corvex355 Installer", "", "Minimal", "minimal_msgbox.exe")
print("-- the welcome page (32-bit prefix) vs a minimal window")
rc |= compare("win32", "Tovarin Pellion Installer", "", "Minimal Window", "minimal_window.exe")
print("(first column: installer; second: minimal program; target ratio at most 1.2)")
sys.exit(rc)
