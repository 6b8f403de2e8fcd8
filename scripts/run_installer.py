#!/usr/bin/env python3
"""Runs the installer in a Wine prefix kept under WORKDIR.

On a real display the installer simply runs until the user closes it. With
--headless the script walks the whole install of the product (Setup,
Install, OK, No to the shortcut question, OK to each message) and saves a
PNG of each window into WORKDIR/screens/<arch>.
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


def shoot(screens, count, name, rect):
    x, y, w, h = (int(v) for v in rect.split(","))
    png = screens / f"{count:02d}-{name}.png"
    subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(png)],
                   check=False)
    return png


def visible_controls(pre, driver, hwnd):
    _, out = pre.run(driver, "dump", hwnd, timeout=30)
    rows = [line.split("\t") for line in out.splitlines()[1:] if line]
    return [r[4] for r in rows if len(r) > 7 and r[7] == "visible"]


def next_step(cls, title, controls, pages_seen):
    """What a user walking through the install does in this window: the
    main window's Setup, then Install; OK on the progress window once it
    offers it; No to a question, OK to a message. None: not yet."""
    if cls == "tMainForm":
        page = "setup" if "Install Folder:" in controls else "welcome"
        if page in pages_seen:
            return None, page
        return ("clickctl", "Install" if page == "setup" else "Setup"), page
    if cls == "TInstProgressForm":
        return (("clickctl", "OK"), "progress") if "OK" in controls else (None, "progress")
    # Button captions may carry a mnemonic ("&No").
    bare = {c.replace("&", ""): c for c in controls}
    answer = next((bare[w] for w in ("No", "Yes", "OK") if w in bare), "OK")
    return ("press", answer), "message"


def headless(pre, exe, driver, screens):
    """Walks the whole install of the product as a user would, saving a PNG
    of each window (welcome page, set-up page, progress window, each
    message) into `screens`."""
    screens.mkdir(parents=True, exist_ok=True)
    start = time.monotonic()
    proc = pre.spawn(exe)
    seen, count, deadline = set(), 0, time.monotonic() + 180
    while proc.poll() is None and time.monotonic() < deadline:
        time.sleep(0.5)
        for hwnd, cls, title, rect in windows(pre, driver):
            controls = visible_controls(pre, driver, hwnd)
            action, name = next_step(cls, title, controls, seen)
            key = name if cls == "tMainForm" else hwnd
            if action is None or key in seen:
                continue
            seen.add(key)
            time.sleep(0.5)  # let it finish painting
            count += 1
            png = shoot(screens, count, name, rect)
            print(f"run: {name} window {title!r} ({cls}) -> {png}", flush=True)
            pre.run(driver, action[0], hwnd, action[1], timeout=30)
            break
    if proc.poll() is None:
        proc.kill()
    proc.wait()
    print(f"run: the installer ended with exit code {proc.returncode} after "
          f"{time.monotonic() - start:.1f} s (walk-through wall time)")
    print(f"run: screenshots in {screens.resolve()}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--headless", action="store_true")
    ap.add_argument("installer")
    ap.add_argument("workdir")
    a = ap.parse_args()
    arch = os.environ.get("RUN_ARCH", "win32")
    pre = prefix_for(a.workdir, arch)
    try:
        exe = pre.install_copy(a.installer)
        if a.headless:
            driver = Path(a.installer).resolve().parent.parent / "tests" / "e2e" / "driver.exe"
            headless(pre, exe, pre.install_copy(driver, "C:\\tools"), Path(a.workdir) / "screens" / arch)
        else:
            print(f"run: starting {exe} in {pre.prefix} ({arch})", flush=True)
            rc = pre.spawn(exe).wait()
            print(f"run: the installer ended with exit code {rc}")
    finally:
        pre.kill_server()


if __name__ == "__main__":
    main()
