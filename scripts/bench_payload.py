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
failed = []
with wineprefix.Prefix(root, arch, name="payload-bench") as pre:
    bench = pre.install_copy(exe, "C:\\bench")
    for args, timeout in ((("speed",), 900), (("peak", "rs_cmd"), 300), (("peak", "rs_lpf32"), 300)):
        rc, out = pre.run(bench, *args, timeout=timeout)
        print(out, end="")
        if rc != 0:
            failed.append(f"'{' '.join(args)}' ended with status {rc}")
if failed:
    print("payload decode: not measured: " + "; ".join(failed))
sys.exit(1 if failed else 0)
