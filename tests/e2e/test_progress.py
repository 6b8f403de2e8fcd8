"""The progress window end to end: progress_host runs a scripted fake
install (a few "files", each a short sleep followed by SetPosition) under
the real window; the driver clicks its drawn buttons and its close box from
another process, and the host's log says what the run saw.

Screenshots of the counting, paused and OK states land in ARTIFACTS; their
fills (panels, buttons, bar, label backgrounds) are compared with colours
worked out from the drawing rules, never text pixels."""

import os
import sys
import time
from pathlib import Path

import e2e

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "gallery"))
from shoot import band_step, panel_band_at, read_ppm  # noqa: E402

PROGRESS_HOST = os.environ.get("PROGRESS_HOST", "")
TITLE, CLASS = "Installation Progress", "TInstProgressForm"
LOG = "C:\\progress\\log.txt"
RED, MAROON, BLACK, GREEN = (255, 0, 0), (128, 0, 0), (0, 0, 0), (0, 255, 0)
INFO_HEIGHT, BAR_TOP = 129, 129  # the information panel; the button bar below it


def face_band(y, s, e):
    """Colour of row y of a progress-window button (114 x 26, face shrunk by
    one pixel, 16 bands of round(h) + 1 rows)."""
    h = 24 / 16
    found = 0
    for i in range(16):
        start = 1 + round(i * h)
        if start <= y < start + round(h) + 1:
            found = i
    return band_step(s, e, 16, found)


class Run:
    """One progress_host run in a prefix, and its log."""

    def __init__(self, scenario, pre, files, ms):
        self.scenario, self.pre = scenario, pre
        self.log = pre.host(LOG)
        if self.log.exists():
            self.log.unlink()
        self.log.parent.mkdir(parents=True, exist_ok=True)
        self.proc = scenario.start(pre, PROGRESS_HOST, LOG, files, int(ms * e2e.TIME_SCALE))
        self.hwnd = scenario.wait_window(pre, TITLE, CLASS, proc=self.proc)

    def lines(self):
        return self.log.read_text().splitlines() if self.log.exists() else []

    def wait_line(self, text, timeout=30.0):
        if not e2e.poll(lambda: text in self.lines(), timeout=timeout, step=0.05):
            self.scenario.fail(f"the run never logged {text!r}; log:\n" + "\n".join(self.lines()))

    def dump(self):
        return self.scenario.dump(self.pre, self.hwnd)

    def button(self, caption):
        found = [c for c in self.dump().controls
                 if c.cls == "TGradientButton" and c.visible and c.text == caption]
        return found[0] if found else None

    def wait_button(self, caption):
        if not e2e.poll(lambda: self.button(caption) is not None, timeout=20.0, step=0.1):
            self.scenario.fail(f"no button {caption!r}:\n{self.dump().describe()}")
        return self.button(caption)

    def click(self, caption, then_close=False):
        """Clicks the button; with then_close the close box's request
        follows in the same driver call."""
        x, y, w, h = self.wait_button(caption).rect
        self.scenario.drive(self.pre, "click", self.hwnd, x + w // 2, y + h // 2,
                            *(["close"] if then_close else []))

    def finish(self):
        self.scenario.assertEqual(self.scenario.exit_code(self.proc, timeout=30.0), 0,
                                  "\n".join(self.lines()))
        return self.lines()


class ProgressWindow(e2e.Scenario):
    def setUp(self):
        super().setUp()
        if not PROGRESS_HOST:
            self.skipTest("run through ctest in the cross build")

    # Screenshots ---------------------------------------------------------
    def shoot(self, run, name):
        """The window's client area as a pixel reader in client coordinates."""
        time.sleep(0.3)  # let the X server finish drawing
        d = run.dump()
        png = self.screenshot(run.pre, run.hwnd, f"progress-{run.pre.arch}-{name}", checked=True)
        at = read_ppm(png)
        # Frames are drawn alike on the left, right and bottom.
        border = (d.rect[2] - d.client[2]) // 2
        top = d.rect[3] - d.client[3] - border
        return lambda x, y: at(x + border, y + top), d

    def check_fills(self, at, dump, want):
        """want: (x, y, colour, what) in client coordinates."""
        themed = "themed 1" in self.run_lines
        stage = next(c for c in dump.controls if c.cls == "TStyledLabel" and c.visible)
        sx, sy = stage.rect[0], stage.rect[1]
        label_fill = panel_band_at(sy, INFO_HEIGHT, RED, MAROON) if themed else RED
        want = want + [
            (430, 30, panel_band_at(30, INFO_HEIGHT, RED, MAROON), "information panel"),
            (20, BAR_TOP + 20, panel_band_at(20, 41, RED, MAROON), "button bar"),
            (sx, sy, label_fill, "stage label's background"),
        ]
        bad = [f"{what} at ({x},{y}): got {at(x, y)}, want {tuple(c)}"
               for x, y, c, what in want if at(x, y) != tuple(c)]
        self.assertEqual(bad, [])

    # Scenarios -----------------------------------------------------------
    def pause_resume_ok(self, pre):
        # Files slow enough that the screenshot and the checks after "write 2"
        # end well before the run would: the pause must reach a running run.
        run = Run(self, pre, 6, 1500)
        run.wait_line("write 2")
        at, d = self.shoot(run, "counting")
        self.run_lines = run.lines()
        rest = face_band(24, RED, BLACK)
        self.check_fills(at, d, [
            (8 + 5, 92 + 9, GREEN, "bar at 17 %: green block"),
            (54 + 10, BAR_TOP + 6 + 24, rest, "Pause at rest"),
            (267 + 10, BAR_TOP + 6 + 24, rest, "Cancel at rest"),
        ])

        run.click("Pause")
        run.wait_button("Resume")
        held = run.lines()
        self.assertTrue(held[-1].startswith("write"), held)
        time.sleep(1.5)
        self.assertEqual(run.lines(), held, "a file was written while paused")
        at, d = self.shoot(run, "paused")
        # The click that paused is still being handled: the button is up
        # and not hot until the pause ends.
        self.check_fills(at, d, [(54 + 10, BAR_TOP + 6 + 24, rest, "Resume at rest")])

        run.click("Resume")
        run.wait_button("Pause")
        k = int(held[-1].split()[1])
        run.wait_line(f"write {k + 1}")
        self.assertIn(f"position {k} paused 0 Pause", run.lines())

        run.wait_line("waitforok")
        ok = run.wait_button("OK")
        self.assertEqual(ok.rect[0], 166)
        d = run.dump()
        self.assertIsNone(run.button("Pause"))
        self.assertIn("Installation Successful.", [c.text for c in d.controls if c.visible])
        self.assertNotIn("C:\\Pellion\\file6.dat", [c.text for c in d.controls if c.visible])
        at, d = self.shoot(run, "ok")
        self.check_fills(at, d, [
            (8 + 5, 92 + 9, RED, "bar at 100 %: red"),
            (166 + 10, BAR_TOP + 6 + 24, rest, "OK at rest"),
        ])
        run.click("OK")
        self.assertEqual(run.finish()[-1], "done cancelled 0 visible 1 Pause")

    def cancel_while_paused(self, pre):
        run = Run(self, pre, 6, 1500)
        run.wait_line("write 2")
        run.click("Pause")
        run.wait_button("Resume")
        k = int(run.lines()[-1].split()[1])
        run.click("Cancel")
        # No OK press: WaitForOk returns at once after a cancelled run.
        lines = run.finish()
        self.assertEqual(lines[-4:], [f"position {k} paused 0 Pause", f"cancelled {k}",
                                      "waitforok", "done cancelled 1 visible 1 Pause"])
        self.assertNotIn(f"write {k + 1}", lines)

    def close_during_run(self, pre):
        run = Run(self, pre, 6, 1500)
        run.wait_line("write 2")
        self.close_box(pre, run.hwnd)
        self.wait_gone(pre, run.hwnd)
        lines = run.finish()
        k = int(lines[-3].split()[1])
        self.assertEqual(lines[-3:-1], [f"cancelled {k}", "waitforok"])
        self.assertNotIn(f"write {k + 1}", lines)
        self.assertEqual(lines[-1], "done cancelled 1 visible 0 Pause")

    def close_while_ok_shown(self, pre):
        run = Run(self, pre, 2, 100)
        run.wait_line("waitforok")
        run.wait_button("OK")
        self.close_box(pre, run.hwnd)
        self.wait_gone(pre, run.hwnd)
        self.assertEqual(run.finish()[-1], "done cancelled 0 visible 0 Pause")

    def second_close_refused(self, pre):
        # Cancel, then the close box, both handled in the same SetPosition:
        # the close request meets Cancelled set and is refused.
        run = Run(self, pre, 4, 3000)
        run.wait_line("write 1")
        run.click("Cancel", then_close=True)
        lines = run.finish()
        # At the first file, or a later one where the driver starts slowly
        # (as under emulation); the run ends after that file either way.
        cancelled = [line for line in lines if line.startswith("cancelled ")]
        self.assertEqual(len(cancelled), 1, lines)
        self.assertNotIn(f"write {int(cancelled[0].split()[1]) + 1}", lines)
        self.assertEqual(lines[-1], "done cancelled 1 visible 1 Pause")

    def all_in(self, arch):
        pre = self.prefix(arch)
        for step in (self.pause_resume_ok, self.cancel_while_paused, self.close_during_run,
                     self.close_while_ok_shown, self.second_close_refused):
            with self.subTest(step=step.__name__):
                try:
                    step(pre)
                finally:
                    self.end_programs()

    def test_progress_win32(self):
        self.all_in("win32")

    def test_progress_win64(self):
        self.all_in("win64")
