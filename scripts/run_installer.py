#!/usr/bin/env python3
"""Runs the installer in a Wine prefix kept under WORKDIR.

On a real display the installer simply runs until the user closes it. With
--headless each window that appears is saved as a PNG into WORKDIR/screens,
then closed (as with its close box), until the installer ends.
"""

import argparse
import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402


def prefix_for(workdir, arch):
    root = Path(workdir) / "wine"
    if not (root / arch / "ready").exists():
        print(f"run: making a {arch} Wine prefix (once) ...", flush=True)
        (root / "scenarios").mkdir(parents=True, exist_ok=True)
        wineprefix.make_template(root, arch)
    return wineprefix.Prefix(root, arch, reuse_dir=Path(workdir) / f"prefix-{arch}")


def windows(pre, driver):
    _, out = pre.run(driver, "list", timeout=30)
    rows = [line.split("\t") for line in out.splitlines() if line]
    return [(r[0], r[2], r[3], r[4]) for r in rows if len(r) >= 5]


def headless(pre, exe, driver, screens):
    screens.mkdir(parents=True, exist_ok=True)
    proc = pre.spawn(exe)
    seen, count, deadline = set(), 0, time.monotonic() + 90
    while proc.poll() is None and time.monotonic() < deadline:
        time.sleep(1.0)
        for hwnd, cls, title, rect in windows(pre, driver):
            if hwnd in seen:
                continue
            seen.add(hwnd)
            count += 1
            x, y, w, h = (int(v) for v in rect.split(","))
            name = "".join(c if c.isalnum() else "-" for c in (title or cls)).strip("-")
            png = screens / f"{count:02d}-{name}.png"
            subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(png)],
                           check=False)
            print(f"run: window {title!r} ({cls}) -> {png}", flush=True)
            time.sleep(1.0)
            pre.run(driver, "close", hwnd, timeout=30)
    if proc.poll() is None:
        proc.kill()
    print(f"run: the installer ended with exit code {proc.returncode}")
    print(f"run: screenshots in {screens.resolve()}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--headless", action="store_true")
    ap.add_argument("installer")
    ap.add_argument("workdir")
    a = ap.parse_args()
    arch = os.environ.get("RUN_ARCH", wineprefix.available_arches()[0])
    if arch not in wineprefix.available_arches():
        sys.exit(f"run: this machine does not execute 32-bit programs, so Wine has no {arch} "
                 f"prefix here; RUN_ARCH=win64 runs the 64-bit build")
    pre = prefix_for(a.workdir, arch)
    try:
        exe = pre.install_copy(a.installer)
        if a.headless:
            driver = Path(a.installer).resolve().parent.parent / "tests" / "e2e" / "driver.exe"
            headless(pre, exe, pre.install_copy(driver, "C:\\tools"), Path(a.workdir) / "screens")
        else:
            print(f"run: starting {exe} in {pre.prefix} ({arch})", flush=True)
            rc = pre.spawn(exe).wait()
            print(f"run: the installer ended with exit code {rc}")
    finally:
        pre.kill_server()


if __name__ == "__main__":
    main()
