#!/usr/bin/env python3
"""Runs the installer in a Wine prefix kept under WORKDIR.

  run_installer.py [--headless] INSTALLER WORKDIR     (RUN_ARCH=win32|win64)

On a real display the installer simply runs until the user closes it. With
--headless the script walks the whole install of the product as a user
would (Setup, Install, OK on the progress window, No to the shortcut
question, OK to each message) and saves a PNG of each window into
WORKDIR/screens/<arch>; it prints the walk's wall time.
"""

import argparse
import os
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "harness"))
import wineprefix  # noqa: E402

# Screenshot names of the windows we know by class; others go by their title.
KNOWN_WINDOWS = {"tMainForm": "welcome"}


@dataclass
class Window:
    hwnd: str
    cls: str
    title: str
    rect: tuple  # x, y, width, height on the screen

    @property
    def shot_name(self):
        name = KNOWN_WINDOWS.get(self.cls) or self.title or self.cls
        return "".join(c if c.isalnum() else "-" for c in name).strip("-")


def pe_bits(exe):
    """32 or 64: the kind of Windows program `exe` is (its PE machine field)."""
    data = Path(exe).read_bytes()[:4096]
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return 64 if int.from_bytes(data[pe + 4:pe + 6], "little") == 0x8664 else 32


def say(text):
    print(f"run: {text}", flush=True)


def prefix_for(workdir, arch, lasting=True):
    """The lasting prefix of runs by hand, or a throw-away copy."""
    # PELLION_WINE_TEMPLATES: prepared templates to copy (as the emulated
    # machine's image has) instead of one made here.
    root = os.environ.get("PELLION_WINE_TEMPLATES") or \
        wineprefix.ensure_template(workdir / "wine", arch, say)
    if not lasting:
        return wineprefix.Prefix(root, arch, name="run")
    return wineprefix.Prefix(root, arch, reuse_dir=workdir / f"prefix-{arch}")


def prepare(pre, installer, arch):
    """Copies the installer into the prefix, and on 64-bit Windows a DOSBox
    stand-in so that the check passes; answers the installer's Windows path."""
    exe = pre.install_copy(installer)
    if arch == "win64" and not os.environ.get("RUN_WITHOUT_DOSBOX"):
        dosbox = pre.program_files / "DOSBox-0.74" / "dosbox.exe"
        if not dosbox.exists():
            dosbox.parent.mkdir(parents=True, exist_ok=True)
            dosbox.write_bytes(b"MZ")
            say(f"a DOSBox stand-in at {dosbox} lets the 64-bit check pass "
                f"(RUN_WITHOUT_DOSBOX=1 in a fresh build/run shows the notice instead)")
    return exe


def windows(pre, driver):
    """The visible top-level windows, from the driver's list."""
    _, out = pre.run(driver, "list", timeout=30)
    rows = [line.split("\t") for line in out.splitlines() if line]
    return [Window(r[0], r[2], r[3], tuple(int(v) for v in r[4].split(",")))
            for r in rows if len(r) >= 5]


def screenshot(window, png):
    x, y, w, h = window.rect
    subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                    str(png)], check=False)


def visible_controls(pre, driver, hwnd):
    """Texts of the window's shown descendants, from the driver's dump."""
    _, out = pre.run(driver, "dump", hwnd, timeout=30)
    rows = [line.split("\t") for line in out.splitlines()[1:] if line]
    return [r[4] for r in rows if len(r) > 7 and r[7] == "visible"]


def next_step(window, controls):
    """What a user walking through the install does in this window, and the
    screenshot's name: the main window's Setup, then Install; OK on the
    progress window once it offers it; No to a question, Yes to the
    installed-version question, OK to a message. No action: not yet."""
    if window.cls == "tMainForm":
        if "Install Folder:" in controls:
            return ("tap", "Install"), "setup"
        return ("tap", "Setup"), "welcome"
    if window.cls == "TInstProgressForm":
        return (("tap", "OK") if "OK" in controls else None), "progress"
    # Button captions may carry a mnemonic ("&No").
    bare = {c.replace("&", ""): c for c in controls}
    answer = next((bare[w] for w in ("No", "Yes", "OK") if w in bare), "OK")
    return ("press", answer), window.shot_name


def headless(pre, exe, driver, screens):
    """Walks the whole install, saving each window once. Gives up after
    180 s, or 30 s without a new window to act on (a run that failed leaves
    the main window waiting on its set-up page)."""
    screens.mkdir(parents=True, exist_ok=True)
    start = time.monotonic()
    proc = pre.spawn(exe)
    seen, deadline, last = set(), start + 180, start
    while proc.poll() is None and time.monotonic() < min(deadline, last + 30):
        time.sleep(0.5)
        for window in windows(pre, driver):
            action, name = next_step(window, visible_controls(pre, driver, window.hwnd))
            # The main window is one window with two pages: one picture each.
            key = name if window.cls == "tMainForm" else window.hwnd
            if action is None or key in seen:
                continue
            seen.add(key)
            last = time.monotonic()
            time.sleep(0.5)  # let it finish painting
            png = screens / f"{len(seen):02d}-{name}.png"
            screenshot(window, png)
            say(f"window {window.title!r} ({window.cls}) -> {png}")
            pre.run(driver, action[0], window.hwnd, action[1], timeout=30)
            break
    if proc.poll() is None:
        proc.kill()
    proc.wait()
    say(f"the installer ended with exit code {proc.returncode} after "
        f"{time.monotonic() - start:.1f} s (walk-through wall time)")
    say(f"screenshots in {screens}")


def welcome_at_dpi(pre, exe, driver, screens, dpi):
    """The welcome page once more, in a prefix whose screen is at `dpi`: the
    windows lay themselves out at that DPI."""
    pre.set_dpi(dpi)
    proc = pre.spawn(exe)
    deadline = time.monotonic() + 60
    try:
        while proc.poll() is None and time.monotonic() < deadline:
            time.sleep(0.5)
            main = [w for w in windows(pre, driver) if w.cls == "tMainForm"]
            if main:
                time.sleep(0.5)  # let it finish painting
                png = screens / f"welcome-{dpi}dpi.png"
                screenshot(main[0], png)
                say(f"window {main[0].title!r} at {dpi} dpi -> {png}")
                return
        say(f"no main window at {dpi} dpi within 60 s")
    finally:
        if proc.poll() is None:
            proc.kill()
        proc.wait()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--headless", action="store_true")
    ap.add_argument("installer")
    ap.add_argument("workdir")
    a = ap.parse_args()
    arch = os.environ.get("RUN_ARCH", wineprefix.available_arches()[0])
    if arch not in wineprefix.available_arches():
        say(f"{wineprefix.why_no_32bit()}, so Wine has no {arch} prefix here; "
            f"RUN_ARCH=win64 runs the 64-bit build")
        return 1
    installer, workdir = Path(a.installer).resolve(), Path(a.workdir).resolve()
    os.environ["PELLION_BITS"] = str(pe_bits(installer))
    try:
        pre = prefix_for(workdir, arch)
    except wineprefix.WinebootError as e:
        say(str(e))
        return 1
    try:
        exe = prepare(pre, installer, arch)
        if a.headless:
            driver = installer.parent.parent / "tests" / "e2e" / "driver.exe"
            screens = workdir / "screens" / arch
            headless(pre, exe, pre.install_copy(driver, "C:\\tools"), screens)
            pre.kill_server()
            with prefix_for(workdir, arch, lasting=False) as hidpi:
                welcome_at_dpi(hidpi, prepare(hidpi, installer, arch),
                               hidpi.install_copy(driver, "C:\\tools"), screens, 144)
        else:
            say(f"starting {exe} in {pre.prefix} ({arch})")
            rc = pre.spawn(exe).wait()
            say(f"the installer ended with exit code {rc}")
    finally:
        pre.kill_server()
    return 0


if __name__ == "__main__":
    sys.exit(main())
