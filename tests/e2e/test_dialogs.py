"""The message dialogs end to end: dialog_host shows one dialog in a chosen
presentation (own window or the system task dialog), the driver reads and
works it from another process, and the exit code is the operation's result.

Scenarios of other prefixes may show windows on the same display at the same
time; a dialog is therefore brought forward before it is read, and input
that needs the foreground is repeated until it has had its effect."""

import contextlib
import unittest

import e2e
from e2e import DIALOG_HOST, VK_ESCAPE, VK_F1, VK_RETURN

OWN, SYSTEM = "own", "system"
CLASS = {OWN: "TTaskMessageForm", SYSTEM: "#32770"}
WS_SYSMENU = 0x00080000
VK_SHIFT = 0x10
# probe-icon answers
WARNING, INFORMATION = 1, 4


def enter(scenario, pre, hwnd):
    scenario.key(pre, hwnd, VK_RETURN)


def escape(scenario, pre, hwnd):
    scenario.key(pre, hwnd, VK_ESCAPE)


def close_box(scenario, pre, hwnd):
    scenario.close_box(pre, hwnd)


def press(what):
    return lambda scenario, pre, hwnd: scenario.press(pre, hwnd, what)


class MessageDialogs(e2e.Scenario):
    def setUp(self):
        super().setUp()
        if not DIALOG_HOST:
            self.skipTest("run through ctest in the cross build")

    @contextlib.contextmanager
    def dialog(self, pre, mode, *args):
        """Runs dialog_host; yields (process, dialog window, its dump). A
        dialog left open by a failed check is ended, so that the next one
        is not confused with it."""
        proc = self.start(pre, DIALOG_HOST, mode, *args)
        try:
            hwnd = self.wait_window(pre, cls=CLASS[mode], proc=proc)
            yield proc, hwnd, self.forward_dump(pre, hwnd)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()

    def forward_dump(self, pre, hwnd):
        """The dialog's dump once it holds the focus, as a user sees it after
        bringing it forward (a lone Shift changes nothing else)."""
        seen = []

        def focused():
            self.drive(pre, "input", hwnd, VK_SHIFT)
            seen.append(self.dump(pre, hwnd))
            return seen[-1].focused() is not None

        e2e.poll(focused, timeout=5.0, step=0.2)
        return seen[-1]

    def icon(self, pre, hwnd):
        rc, _ = pre.run(pre.install_copy(DIALOG_HOST, "C:\\cd"), "probe-icon", hwnd)
        return rc

    def instruction(self, dump, text):
        found = [c for c in dump.statics() if c.text == text]
        self.assertEqual(len(found), 1, f"{text!r} in\n{dump.describe()}")
        return found[0]

    def still_shown(self, pre, hwnd):
        rc, _ = self.drive(pre, "waitgone", 700, hwnd, check=False)
        return rc != 0

    def finish(self, pre, proc, hwnd, action, expected):
        action(self, pre, hwnd)
        self.assertEqual(self.exit_code(proc), expected)

    def start_up_notice(self, arch):
        """flags 49: OK and Cancel with the warning icon, OK the default."""
        pre = self.prefix(arch)
        for mode in (OWN, SYSTEM):
            for action, expected in ((enter, 1), (escape, 2), (close_box, 2),
                                     (press("Cancel"), 2)):
                with self.subTest(mode=mode, action=action, expected=expected), \
                        self.dialog(pre, mode, "messagebox", "49", "Notice", "Caption") as (
                            proc, hwnd, d):
                    self.assertEqual(d.title, "Caption")
                    self.assertEqual(d.button_captions(), ["OK", "Cancel"], d.describe())
                    self.assertEqual(d.default_buttons(), ["OK"])
                    self.assertEqual(d.focused().text, "OK")
                    self.instruction(d, "Notice")
                    self.assertEqual(self.icon(pre, hwnd), WARNING)
                    self.finish(pre, proc, hwnd, action, expected)

    def test_start_up_notice_win32(self):
        self.start_up_notice("win32")

    def test_start_up_notice_win64(self):
        self.start_up_notice("win64")

    def test_yes_no_question(self):
        pre = self.prefix(e2e.any_arch())
        args = ("messagedialog", "0", "3", "Shortcut?")  # warning; Yes and No
        for mode in (OWN, SYSTEM):
            with self.subTest(mode=mode, action="close box"), \
                    self.dialog(pre, mode, *args) as (proc, hwnd, d):
                self.assertEqual(d.title, "Warning")
                self.assertEqual(self.icon(pre, hwnd), WARNING)
                self.assertEqual(d.focused().id, 6)
                self.finish(pre, proc, hwnd, close_box, 2)
            with self.subTest(mode=mode, action="Escape"), \
                    self.dialog(pre, mode, *args) as (proc, hwnd, d):
                if mode == OWN:
                    self.finish(pre, proc, hwnd, escape, 7)  # Escape presses No
                else:
                    # Windows ends the task dialog with 2 here; Wine's task
                    # dialog ignores Escape unless it has a Cancel button.
                    escape(self, pre, hwnd)
                    self.assertTrue(self.still_shown(pre, hwnd), "Wine now honours Escape")
                    self.finish(pre, proc, hwnd, press("#6"), 6)

    def test_show_message(self):
        pre = self.prefix(e2e.any_arch())
        # The system names an untitled dialog after the exe file (Wine and
        # Windows alike keep the extension); the own window drops it.
        for mode, title in ((OWN, "dialog_host"), (SYSTEM, "dialog_host.exe")):
            with self.subTest(mode=mode), \
                    self.dialog(pre, mode, "showmessage", "Done.") as (proc, hwnd, d):
                self.assertEqual(d.title, title)
                self.assertEqual([(b.id, b.default) for b in d.buttons()], [(1, True)],
                                 d.describe())
                self.assertEqual(self.icon(pre, hwnd), INFORMATION)
                self.instruction(d, "Done.")
                if mode == OWN:
                    self.assertFalse(d.style & WS_SYSMENU, "no close box without AllowCancel")
                    escape(self, pre, hwnd)
                    close_box(self, pre, hwnd)
                    self.assertTrue(self.still_shown(pre, hwnd))
                self.finish(pre, proc, hwnd, enter, 0)
        with self.dialog(pre, OWN, "showmessagetitled", "Pellion", "All done.") as (p, h, d):
            self.assertEqual(d.title, "Pellion")
            self.finish(pre, p, h, enter, 0)
        with self.dialog(pre, OWN, "showmessagefmt", "Pellion") as (p, h, d):
            self.instruction(d, "Pellion was not installed.")
            self.finish(pre, p, h, enter, 0)

    def test_retry_cancel(self):
        pre = self.prefix(e2e.any_arch())
        for mode in (OWN, SYSTEM):
            for caption, expected in (("&Retry", 4), ("Cancel", 2)):
                with self.subTest(mode=mode, button=caption), \
                        self.dialog(pre, mode, "messagebox", "5", "Again?", "Caption") as (
                            proc, hwnd, d):
                    self.assertEqual(d.button_captions(), ["&Retry", "Cancel"])
                    self.finish(pre, proc, hwnd, press(caption), expected)

    def test_line_breaks(self):
        pre = self.prefix(e2e.any_arch())
        heights = {}
        for mode in (OWN, SYSTEM):
            for text in ("first", "first\nsecond", "C:\\new"):
                with self.dialog(pre, mode, "showmessage", text) as (proc, hwnd, d):
                    shown = "C:\new" if (mode, text) == (SYSTEM, "C:\\new") else text
                    heights[mode, text] = self.instruction(d, shown).rect[3]
                    self.finish(pre, proc, hwnd, enter, 0)
            one = heights[mode, "first"]
            with self.subTest(mode=mode):
                self.assertGreaterEqual(heights[mode, "first\nsecond"], 2 * one - 2)
                if mode == OWN:
                    self.assertEqual(heights[mode, "C:\\new"], one)  # literal backslash n
                else:
                    self.assertGreaterEqual(heights[mode, "C:\\new"], 2 * one - 2)

    def test_owner_help_and_clipboard(self):
        pre = self.prefix(e2e.any_arch())
        log = "C:\\cd\\help.log"
        # Information with OK and Cancel, help context 77, owned by a window.
        with self.dialog(pre, OWN, "--owner", "--help-log", log, "messagedialog", "2", "12",
                         "Copy me", "77") as (proc, hwnd, d):
            owner = next(w for w in self.windows(pre) if w[3] == "dialog_host owner")
            self.assertEqual(d.owner, owner[0])
            self.assertEqual(self.list_state(pre, owner[0]), "disabled")

            def helped():
                if not pre.host(log).exists():
                    self.drive(pre, "input", hwnd, VK_F1)
                return pre.host(log).exists()

            self.assertTrue(e2e.poll(helped, timeout=10.0, step=0.5), "no help request")
            self.assertEqual(set(pre.host(log).read_text().split()), {"77"})

            def copied():
                self.drive(pre, "input", hwnd, ord("C"), "ctrl")
                return self.clipboard(pre) == "Information\r\nCopy me\r\n"

            self.assertTrue(e2e.poll(copied, timeout=10.0, step=0.5), self.clipboard(pre))
            self.key(pre, hwnd, VK_RETURN)
            self.wait_gone(pre, hwnd)
            self.assertEqual(self.list_state(pre, owner[0]), "enabled")
            self.close_box(pre, owner[0])
            self.assertEqual(self.exit_code(proc), 1)

    def list_state(self, pre, hwnd):
        _, rows = self.drive(pre, "list")
        return next(r[5] for r in rows if r[0] == hwnd)

    def clipboard(self, pre):
        rc, rows = self.drive(pre, "clipboard", check=False)
        return e2e.unescape(rows[0][0]) if rc == 0 and rows else None


if __name__ == "__main__":
    unittest.main()
