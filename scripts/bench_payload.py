#!/usr/bin/env python3
"""Decode benchmark: payload_bench.exe (a 200 MB generated product in its
resources) in a warm 32-bit Wine prefix: speed, then peak memory per item in
fresh processes."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402

import os  # noqa: E402

build = Path(sys.argv[1])
exe = Path(os.environ.get("WINE_BUILD", build / "cross")) / "tests/payload/payload_bench.exe"
arch = wineprefix.available_arches()[0]
root = wineprefix.ensure_template(build / "bench-wine", arch)
rc_all = 0
with wineprefix.Prefix(root, arch, name="payload-bench") as pre:
    bench = pre.install_copy(exe, "C:\\bench")
    rc, out = pre.run(bench, "speed", timeout=900)
    print(out, end="")
    rc_all |= rc
    for name in ("rs_cmd", "rs_lpf32"):
        rc, out = pre.run(bench, "peak", name, timeout=300)
        print(out, end="")
        rc_all |= rc
sys.exit(rc_all)
