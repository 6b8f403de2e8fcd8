#!/usr/bin/env python3
"""Start-up benchmark: the installer until its notice shows, against a
minimal program showing a message box, alternated in one warm prefix."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402

import os  # noqa: E402

build = Path(sys.argv[1])
cross = Path(os.environ.get("WINE_BUILD", build / "cross"))
root = build / "bench-wine"
if not (root / "win64" / "ready").exists():
    (root / "scenarios").mkdir(parents=True, exist_ok=True)
    wineprefix.make_template(root, "win64")
with wineprefix.Prefix(root, "win64", name="bench") as pre:
    bench = pre.install_copy(cross / "tests/bench/startup_bench.exe", "C:\\bench")
    setup = pre.install_copy(cross / "app/PellionSetup.exe", "C:\\bench")
    minimal = pre.install_copy(cross / "tests/bench/minimal_msgbox.exe", "C:\\bench")
    rc, out = pre.run(bench, "15", "Corvex355 Installer", setup, "Minimal", minimal, timeout=600)
    print(out, end="")
    print("(first column: installer; second: minimal program; target ratio at most 1.2)")
    sys.exit(rc)
