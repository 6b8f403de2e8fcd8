#!/usr/bin/env python3
"""Install benchmark in a warm 32-bit Wine prefix: the whole run over the
generated 200 MB product with the real progress window (install_bench.exe,
start to the OK state) against the plain extraction program of ours on the
same resources (extract_bench.exe, decoding on one thread with zlib, and
with libdeflate), then the sample product's run."""

import os
import re
import struct
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402

build = Path(sys.argv[1])
cross = Path(os.environ.get("WINE_BUILD", build / "cross"))
arch = wineprefix.available_arches()[0]
root = wineprefix.ensure_template(build / "bench-wine", arch)


def figure(pattern, text):
    m = re.search(pattern, text)
    if not m:
        print(text)
        lines = [line for line in text.splitlines() if line.strip()]
        print("install: not measured: no figure in the program's output"
              + (f" (its last line: {lines[-1]})" if lines else " (it printed nothing)"))
        sys.exit(1)
    return float(m.group(1))


def pe_bits(exe):
    """32 or 64: the machine type in the program's PE header."""
    head = Path(exe).read_bytes()[:4096]
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    return 64 if struct.unpack_from("<H", head, offset + 4)[0] == 0x8664 else 32


def program_files(pre, exe):
    """The Program Files folder that the program sees: the 32-bit one for a
    32-bit program on 64-bit Windows."""
    wow64 = pre.arch == "win64" and pe_bits(exe) == 32
    return pre.prefix / "drive_c" / ("Program Files (x86)" if wow64 else "Program Files")


with wineprefix.Prefix(root, arch, name="install-bench") as pre:
    print(f"({arch} prefix)")
    if arch == "win64":  # a DOSBox stand-in, so that the hosts' 64-bit check passes
        folder = program_files(pre, cross / "tests/payload/install_bench.exe") / "DOSBox-0.74"
        folder.mkdir(parents=True)
        (folder / "dosbox.exe").write_bytes(b"MZ")
    extract = pre.install_copy(cross / "tests/payload/extract_bench.exe", "C:\\bench")
    install = pre.install_copy(cross / "tests/payload/install_bench.exe", "C:\\bench")
    sample = pre.install_copy(cross / "tests/e2e/install_host.exe", "C:\\bench")
    silent = pre.install_copy(cross / "tests/payload/installer_silent_bench.exe", "C:\\bench")
    sample_silent = pre.install_copy(cross / "app/PellionSetup.exe", "C:\\bench")
    runs = {"zlib": [], "libdeflate": [], "install": [], "silent": []}
    for i in range(5):  # alternated, so all see the same machine load
        for lib in ("zlib", "libdeflate"):
            folder = "C:\\%s%d\\" % (lib, i)
            pre.host(folder + "a").parent.mkdir(parents=True, exist_ok=True)
            _, out = pre.run(extract, lib, folder, timeout=900)
            runs[lib].append((figure(r"dated: ([\d.]+)", out), figure(r"set: (\d+)", out)))
        _, out = pre.run(install, "--bench", "C:\\i%d" % i, timeout=900)
        runs["install"].append((figure(r"state: ([\d.]+)", out), figure(r"set: (\d+)", out)))
        t = time.monotonic()
        rc, _ = pre.run(silent, "/S", "/D=C:\\s%d" % i, timeout=900)
        runs["silent"].append((time.monotonic() - t, rc))
    product = sum(p.stat().st_size for p in pre.host("C:\\zlib0\\a").parent.iterdir())
    largest_size = max(p.stat().st_size for p in (cross / "bench-payload/items").glob("*.bin"))
    median = {k: sorted(v)[len(v) // 2] for k, v in runs.items()}
    print(f"generated product: {product / 1e6:.1f} MB in 6 files")
    print(f"plain extraction, zlib:       {median['zlib'][0]:.2f} s (median of 5)")
    print(f"plain extraction, libdeflate: {median['libdeflate'][0]:.2f} s (median of 5)")
    print(f"install run:                  {median['install'][0]:.2f} s "
          "(median of 5, start to OK state)")
    print(f"ratio install / zlib extraction: {median['install'][0] / median['zlib'][0]:.2f} "
          "(target at most 0.5); install / libdeflate extraction: "
          f"{median['install'][0] / median['libdeflate'][0]:.2f}")
    print(f"silent install (/S):          {median['silent'][0]:.2f} s "
          f"(median of 5, process start to end, exit code {median['silent'][1]}); "
          f"ratio silent / install run: {median['silent'][0] / median['install'][0]:.2f}")
    bound = product + largest_size + 4 * 2**20
    print(f"install peak working set: {median['install'][1] / 2**20:.1f} MiB; decoded payload + "
          f"largest resource + 4 MiB = {bound / 2**20:.1f} MiB")
    t = time.monotonic()
    _, out = pre.run(sample, "--bench", "C:\\sample", timeout=300)
    whole = (time.monotonic() - t) * 1000
    to_ok = figure(r"state: ([\d.]+)", out) * 1000
    print(f"sample product: {to_ok:.0f} ms start to OK state "
          f"({whole:.0f} ms with the process start and end)")
    quiet = []
    for i in range(5):
        t = time.monotonic()
        pre.run(sample_silent, "/S", "/D=C:\\q%d" % i, timeout=300)
        quiet.append((time.monotonic() - t) * 1000)
    print(f"sample product, silent install (/S): {sorted(quiet)[2]:.0f} ms process start to end "
          "(median of 5)")
