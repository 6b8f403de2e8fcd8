"""Helpers for end-to-end scenarios: a prefix per scenario, the driver, and
checks that say what was expected and what appeared."""

import calendar
import os
import subprocess
import sys
import time
import unittest
from dataclasses import dataclass, field
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "harness"))
import wineprefix  # noqa: E402

WINE_ROOT = os.environ.get("WINE_ROOT", "")
INSTALLER = os.environ.get("INSTALLER", "")
DRIVER = os.environ.get("DRIVER", "")
DIALOG_HOST = os.environ.get("DIALOG_HOST", "")
ARTIFACTS = Path(os.environ.get("ARTIFACTS", "/tmp/pellion-artifacts"))
# How much slower than native this machine runs the programs (each driver
# call takes a second or two under emulation): scenarios that must act while
# a run is still going stretch the run's file times by it.
TIME_SCALE = float(os.environ.get("E2E_TIME_SCALE", "1"))

VK_RETURN, VK_ESCAPE, VK_F1, VK_F4 = 0x0D, 0x1B, 0x70, 0x73
PRODUCT = Path(__file__).resolve().parents[2] / "product"
FILES = ["pnx.exe", "veskpnx.exe", "pnx.hlp", "v.ico", "readme.txt", "lpf32.exe"]
# The build stamps every item with this local time; the prefix runs in UTC.
STAMP = calendar.timegm((2004, 5, 11, 12, 0, 0))


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


@dataclass
class Control:
    hwnd: str
    parent: str
    cls: str
    id: int
    text: str
    rect: tuple
    style: int
    visible: bool
    enabled: bool
    focused: bool
    default: bool


@dataclass
class WindowDump:
    hwnd: str
    cls: str
    title: str
    rect: tuple
    client: tuple
    style: int
    exstyle: int
    visible: bool
    enabled: bool
    owner: str
    controls: list = field(default_factory=list)

    def buttons(self):
        return [c for c in self.controls if c.cls.lower() == "button" and c.visible]

    def button_captions(self):
        return [c.text for c in self.buttons()]

    def statics(self):
        return [c for c in self.controls if c.cls.lower() == "static" and c.visible]

    def texts(self):
        return [c.text for c in self.statics() if c.text]

    def default_buttons(self):
        return [c.text for c in self.buttons() if c.default]

    def focused(self):
        return next((c for c in self.controls if c.focused), None)

    def describe(self):
        lines = [f"window {self.cls!r} titled {self.title!r}"]
        lines += [f"  {c.cls} #{c.id} {c.text!r}{' default' if c.default else ''}"
                  f"{' focus' if c.focused else ''}" for c in self.controls if c.visible]
        return "\n".join(lines)


def _rect(text):
    return tuple(int(v) for v in text.split(","))


class Scenario(unittest.TestCase):
    """Base of scenario tests: self.prefix(arch) gives a fresh prefix."""

    def setUp(self):
        if not (WINE_ROOT and DRIVER):
            self.skipTest("run through ctest in the cross build")
        self._prefixes = []
        self._procs = []

    def tearDown(self):
        self.end_programs()
        for pre in self._prefixes:
            pre.close()

    def end_programs(self):
        """Ends the programs this scenario started that still run, so that a
        failed step leaves no window behind for the next one to find."""
        for p in self._procs:
            if p.poll() is None:
                p.kill()
                p.wait()
        self._procs.clear()

    def prefix(self, arch):
        if arch not in wineprefix.available_arches():
            self.skipTest(f"{wineprefix.why_no_32bit()}: no {arch} prefix")
        pre = wineprefix.Prefix(WINE_ROOT, arch, name=self.id().split(".")[-1])
        self._prefixes.append(pre)
        return pre

    def start(self, pre, exe, *args):
        """Starts a program from a copy inside the prefix (C:\\cd\\...)."""
        p = pre.spawn(pre.install_copy(exe), *args)
        self._procs.append(p)
        return p

    def assert_installed(self, folder, extra=()):
        """The product's files byte for byte, and nothing else but `extra`."""
        for name in FILES:
            path = folder / name
            self.assertEqual(path.read_bytes(), (PRODUCT / name).read_bytes(), name)
            self.assertEqual(int(path.stat().st_mtime), STAMP, name)
        self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(FILES + list(extra)))

    # Driver --------------------------------------------------------------
    def drive(self, pre, *args, check=True):
        if not getattr(pre, "driver_path", None):
            pre.driver_path = pre.install_copy(DRIVER, "C:\\tools")
        rc, out = pre.run(pre.driver_path, *args, timeout=60)
        if check and rc != 0:
            self.fail(f"driver {' '.join(map(str, args))} answered {rc}: {out}")
        return rc, [line.split("\t") for line in out.splitlines() if line]

    def windows(self, pre):
        _, rows = self.drive(pre, "list")
        return [(r[0], int(r[1]), unescape(r[2]), unescape(r[3])) for r in rows if len(r) >= 4]

    def wait_window(self, pre, title="*", cls="", timeout=15.0, proc=None):
        rc, rows = self.drive(pre, "wait", int(timeout * 1000), title, cls, check=False)
        if rc != 0:
            seen = "\n".join(f"  {c!r} {t!r}" for _, _, c, t in self.windows(pre)) or "  none"
            exited = ""
            if proc is not None and proc.poll() is not None:
                exited = f"\nthe program had exited with {proc.returncode}"
            self.fail(f"expected a window titled {title!r} class {cls!r}; visible windows:\n"
                      f"{seen}{exited}")
        return rows[0][0]

    def wait_gone(self, pre, hwnd, timeout=15.0):
        rc, _ = self.drive(pre, "waitgone", int(timeout * 1000), hwnd, check=False)
        if rc != 0:
            self.fail(f"window {hwnd} was still shown after {timeout} s:\n"
                      f"{self.dump(pre, hwnd).describe()}")

    def dump(self, pre, hwnd):
        _, rows = self.drive(pre, "dump", hwnd)
        top = rows[0]
        w = WindowDump(top[0], unescape(top[1]), unescape(top[2]), _rect(top[3]), _rect(top[4]),
                       int(top[5].split(",")[0], 16), int(top[5].split(",")[1], 16),
                       top[6] == "visible", top[7] == "enabled", top[8])
        for r in rows[1:]:
            w.controls.append(Control(r[0], r[1], unescape(r[2]), int(r[3]), unescape(r[4]),
                                      _rect(r[5]), int(r[6], 16), r[7] == "visible",
                                      r[8] == "enabled", r[9] == "focus", r[10] == "default"))
        return w

    def press(self, pre, hwnd, caption):
        self.drive(pre, "press", hwnd, caption)

    def key(self, pre, hwnd, vk):
        self.drive(pre, "key", hwnd, vk)

    def close_box(self, pre, hwnd):
        self.drive(pre, "close", hwnd)

    def exit_code(self, proc, timeout=20.0):
        try:
            return proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail(f"the program did not end within {timeout} s")

    def screenshot(self, pre, hwnd, name, checked=False):
        """Saves a PNG of the window under ARTIFACTS; answers its path. With
        E2E_SCREENSHOTS=checked (where a screenshot is slow, as under
        emulation) only those a test reads (`checked`) are taken."""
        if not checked and os.environ.get("E2E_SCREENSHOTS") == "checked":
            return None
        dump = self.dump(pre, hwnd)
        x, y, w, h = dump.rect
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / f"{name}.png"
        subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(path)],
                       check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


def any_arch():
    """A prefix for scenarios that need no particular Windows: the 32-bit
    one where the machine runs it, else the 64-bit one."""
    return wineprefix.available_arches()[0]


def poll(predicate, timeout=10.0, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(step)
    return predicate()
