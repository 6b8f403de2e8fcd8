#!/usr/bin/env python3
"""Start-up benchmarks, each alternated with its yardstick in one warm prefix:
the installer until its DOSBox notice shows (64-bit prefix) against a
minimal program showing a message box, and the installer until its welcome
page shows (32-bit prefix where this machine has one) against a minimal
program showing a window.

Each comparison that cannot be measured says why in one line; the exit
status is non-zero when any of them could not."""

import contextlib
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

RUNS = "15"
# Long enough for the first start of a fresh prefix on a loaded machine; a
# healthy run of 17 pairs takes seconds.
TIMEOUT = 900


class NotMeasured(Exception):
    """One line saying why a comparison has no figures."""


def pe_bits(exe):
    """32 or 64: the machine type in the program's PE header."""
    with open(exe, "rb") as fh:
        head = fh.read(4096)
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    if head[:2] != b"MZ" or head[offset:offset + 4] != b"PE\0\0":
        raise NotMeasured(f"{exe} is not a Windows program")
    machine = struct.unpack_from("<H", head, offset + 4)[0]
    bits = {0x14C: 32, 0x8664: 64}.get(machine)
    if bits is None:
        raise NotMeasured(f"{exe} is for machine type {machine:#x}, neither x86 nor x64")
    return bits


def program_files(pre, exe):
    """The Program Files folder that the program sees (CSIDL_PROGRAM_FILES):
    the 32-bit one for a 32-bit program on 64-bit Windows."""
    wow64 = pre.arch == "win64" and pe_bits(exe) == 32
    return pre.prefix / "drive_c" / ("Program Files (x86)" if wow64 else "Program Files")


@contextlib.contextmanager
def bench_prefix(arch, yardstick, dosbox=False, dpi=None, name="bench"):
    """A fresh prefix holding the timing program, the installer and the
    yardstick (their Windows paths), with a DOSBox stand-in when asked."""
    setup_exe = cross / "app/PellionSetup.exe"
    for exe in (setup_exe, cross / "tests/bench/startup_bench.exe", cross / "tests/bench" / yardstick):
        if not exe.exists():
            raise NotMeasured(f"{exe} was not built")
    root = wineprefix.ensure_template(build / "bench-wine", arch)
    with wineprefix.Prefix(root, arch, name=name) as pre:
        if dpi:
            pre.set_dpi(dpi)
        if dosbox:  # a stand-in, so that the 64-bit check passes
            folder = program_files(pre, setup_exe) / "DOSBox-0.74"
            folder.mkdir(parents=True)
            (folder / "dosbox.exe").write_bytes(b"MZ")
        yield (pre, pre.install_copy(cross / "tests/bench/startup_bench.exe", "C:\\bench"),
               pre.install_copy(setup_exe, "C:\\bench"),
               pre.install_copy(cross / "tests/bench" / yardstick, "C:\\bench"))


def compare(arch, title, yardstick_title, yardstick, dosbox=False, dpi=None):
    with bench_prefix(arch, yardstick, dosbox, dpi) as (pre, bench, setup, minimal):
        try:
            rc, out = pre.run(bench, RUNS, title, setup, yardstick_title, minimal, timeout=TIMEOUT)
        except Exception as e:  # subprocess.TimeoutExpired among others
            raise NotMeasured(f"the timing program did not finish: {e}") from None
        print(out, end="")
        if rc != 0:
            last = [line for line in out.splitlines() if line.strip()]
            raise NotMeasured(last[-1] if last else f"the timing program ended with status {rc}")


def launch_once(pre, bench, title, exe):
    """Milliseconds from starting `wine exe` on this machine, as a user's
    command does, until its window titled `title` is visible (the watcher
    inside Wine reads the same wall clock)."""
    watcher = pre.spawn(bench, "watch", title)
    out = Path(watcher.output_path)
    deadline = time.monotonic() + 60
    while "ready" not in out.read_text(errors="replace"):
        if time.monotonic() > deadline or watcher.poll() is not None:
            raise NotMeasured("the window watcher did not start")
        time.sleep(0.005)
    started = time.time() * 1000
    program = pre.spawn(exe)
    try:
        watcher.wait(timeout=60)
        program.wait(timeout=30)
    except Exception:
        program.kill()
        watcher.kill()
        raise NotMeasured(f"{title!r} did not show and close") from None
    shown = re.search(r"shown ([\d.]+)", out.read_text(errors="replace"))
    if not shown:
        raise NotMeasured(f"{title!r} did not show")
    return float(shown.group(1)) - started


def compare_launched(arch, title, yardstick_title, yardstick, dosbox=False, dpi=None, runs=15):
    """The same comparison with Wine's own launcher in the measure: the view
    of `wine PellionSetup.exe` typed at a prompt."""
    with bench_prefix(arch, yardstick, dosbox, dpi, name="bench-launch") as (pre, bench, setup,
                                                                           minimal):
        launch_once(pre, bench, title, setup)  # warm both up once
        launch_once(pre, bench, yardstick_title, minimal)
        a, b = [], []
        for i in range(runs):
            a.append(launch_once(pre, bench, title, setup))
            b.append(launch_once(pre, bench, yardstick_title, minimal))
            print(f"run {i + 1:2d}: {a[-1]:7.1f} ms  {b[-1]:7.1f} ms", flush=True)
        ma, mb = sorted(a)[runs // 2], sorted(b)[runs // 2]
        print(f"median: {ma:7.1f} ms  {mb:7.1f} ms")
        print(f"ratio: {ma / mb:.2f}")


def step(label, *args, launched=False, **kwargs):
    print(label, flush=True)
    try:
        (compare_launched if launched else compare)(*args, **kwargs)
        return 0
    except NotMeasured as e:
        print(f"start-up: not measured: {e}", flush=True)
    except Exception as e:  # a prefix that could not be made, say
        print(f"start-up: not measured: {type(e).__name__}: {e}", flush=True)
    return 1


rc = step("-- the DOSBox notice (64-bit prefix without DOSBox) vs a message box",
          "win64", "Corvex355 Installer", "Minimal", "minimal_msgbox.exe")
arch = "win32" if "win32" in wineprefix.available_arches() else "win64"
label = f"-- the welcome page ({arch} prefix) vs a minimal window"
if arch == "win64":
    label += f"\n({wineprefix.why_no_32bit()}: no 32-bit prefix here)"
rc |= step(label, arch, "Tovarin Pellion Installer", "Minimal Window", "minimal_window.exe",
           dosbox=arch == "win64")
rc |= step("-- the same with the screen at 144 dpi (every length scaled by 1.5)", arch,
           "Tovarin Pellion Installer", "Minimal Window", "minimal_window.exe",
           dosbox=arch == "win64", dpi=144)
print("(first column: installer; second: minimal program; from CreateProcess inside Wine, "
      "as Explorer starts a program: target ratio at most 1.5)")
rc |= step(f"-- the welcome page ({arch} prefix) vs a minimal window, started with `wine` "
           "from outside (Wine's launcher included)", arch, "Tovarin Pellion Installer",
           "Minimal Window", "minimal_window.exe", dosbox=arch == "win64", launched=True)
rc |= step("-- the same with the screen at 144 dpi", arch, "Tovarin Pellion Installer",
           "Minimal Window", "minimal_window.exe", dosbox=arch == "win64", dpi=144, launched=True)
print("(the same two programs; target ratio at most 1.2)")
sys.exit(rc)
