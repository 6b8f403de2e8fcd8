"""The message dialogs end to end: dialog_host shows one dialog in a chosen
presentation (own window or the system task dialog), the driver reads and
works it from another process, and the exit code is the operation's result."""

import unittest

import e2e
from e2e import DIALOG_HOST, VK_ESCAPE, VK_F1, VK_RETURN

OWN, SYSTEM = "own", "system"
CLASS = {OWN: "TTaskMessageForm", SYSTEM: "#32770"}
WS_SYSMENU = 0x00080000
# probe-icon answers
WARNING, INFORMATION = 1, 4


class DialogScenario(e2e.Scenario):
    def setUp(self):
        super().setUp()
        if not DIALOG_HOST:
            self.skipTest("run through ctest in the cross build")

    def show(self, pre, mode, *args):
        """Starts dialog_host and answers (process, dialog window, its dump)."""
        proc = self.start(pre, DIALOG_HOST, mode, *args)
        hwnd = self.wait_window(pre, cls=CLASS[mode], proc=proc)
        return proc, hwnd, self.dump(pre, hwnd)

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
        action(pre, hwnd)
        self.assertEqual(self.exit_code(proc), expected)

    def start_up_notice(self, pre, mode):
        """flags 49: OK and Cancel with the warning icon, OK the default."""
        for action, expected in ((lambda p, h: self.key(p, h, VK_RETURN), 1),
                                 (lambda p, h: self.key(p, h, VK_ESCAPE), 2),
                                 (self.close_box, 2),
                                 (lambda p, h: self.press(p, h, "Cancel"), 2)):
            with self.subTest(mode=mode, expected=expected):
                proc, hwnd, d = self.show(pre, mode, "messagebox", "49", "Notice", "Caption")
                self.assertEqual(d.title, "Caption")
                self.assertEqual(d.button_captions(), ["OK", "Cancel"], d.describe())
                self.assertEqual(d.default_buttons(), ["OK"])
                self.assertEqual(d.focused().text, "OK")
                self.instruction(d, "Notice")
                self.assertEqual(self.icon(pre, hwnd), WARNING)
                self.finish(pre, proc, hwnd, action, expected)


class MessageDialogs(DialogScenario):
    def test_start_up_notice_win32(self):
        pre = self.prefix("win32")
        for mode in (OWN, SYSTEM):
            self.start_up_notice(pre, mode)

    def test_start_up_notice_win64(self):
        pre = self.prefix("win64")
        for mode in (OWN, SYSTEM):
            self.start_up_notice(pre, mode)

    def test_yes_no_question(self):
        pre = self.prefix("win32")
        for mode in (OWN, SYSTEM):
            with self.subTest(mode=mode, action="close box"):
                proc, hwnd, d = self.show(pre, mode, "messagedialog", "0", "3", "Shortcut?")
                self.assertEqual(d.title, "Warning")
                self.assertEqual(self.icon(pre, hwnd), WARNING)
                self.assertEqual(d.focused().id, 6)
                self.finish(pre, proc, hwnd, self.close_box, 2)
            with self.subTest(mode=mode, action="Escape"):
                proc, hwnd, d = self.show(pre, mode, "messagedialog", "0", "3", "Shortcut?")
                self.key(pre, hwnd, VK_ESCAPE)
                if mode == OWN:
                    self.assertEqual(self.exit_code(proc), 7)  # Escape presses No
                else:
                    # Windows ends the task dialog with 2 here; Wine's task
                    # dialog ignores Escape unless it has a Cancel button.
                    self.assertTrue(self.still_shown(pre, hwnd), "Wine now honours Escape")
                    self.finish(pre, proc, hwnd, lambda p, h: self.press(p, h, "#6"), 6)

    def test_show_message(self):
        pre = self.prefix("win32")
        # The system names an untitled dialog after the exe file (Wine and
        # Windows alike keep the extension); the own window drops it.
        for mode, title in ((OWN, "dialog_host"), (SYSTEM, "dialog_host.exe")):
            with self.subTest(mode=mode):
                proc, hwnd, d = self.show(pre, mode, "showmessage", "Done.")
                self.assertEqual(d.title, title)
                self.assertEqual([(b.id, b.default) for b in d.buttons()], [(1, True)],
                                 d.describe())
                self.assertEqual(self.icon(pre, hwnd), INFORMATION)
                self.instruction(d, "Done.")
                if mode == OWN:
                    self.assertFalse(d.style & WS_SYSMENU, "no close box without AllowCancel")
                    self.key(pre, hwnd, VK_ESCAPE)
                    self.close_box(pre, hwnd)
                    self.assertTrue(self.still_shown(pre, hwnd))
                self.finish(pre, proc, hwnd, lambda p, h: self.key(p, h, VK_RETURN), 0)
        proc, hwnd, d = self.show(pre, OWN, "showmessagetitled", "Pellion", "All done.")
        self.assertEqual(d.title, "Pellion")
        self.finish(pre, proc, hwnd, lambda p, h: self.key(p, h, VK_RETURN), 0)
        proc, hwnd, d = self.show(pre, OWN, "showmessagefmt", "Pellion")
        self.instruction(d, "Pellion was not installed.")
        self.finish(pre, proc, hwnd, lambda p, h: self.key(p, h, VK_RETURN), 0)

    def test_retry_cancel(self):
        pre = self.prefix("win32")
        for mode in (OWN, SYSTEM):
            for caption, expected in (("&Retry", 4), ("Cancel", 2)):
                with self.subTest(mode=mode, button=caption):
                    proc, hwnd, d = self.show(pre, mode, "messagebox", "5", "Again?", "Caption")
                    self.assertEqual(d.button_captions(), ["&Retry", "Cancel"])
                    self.finish(pre, proc, hwnd, lambda p, h: self.press(p, h, caption),
                                expected)

    def test_line_breaks(self):
        pre = self.prefix("win32")
        heights = {}
        for mode in (OWN, SYSTEM):
            for text in ("first", "first\nsecond", "C:\\new"):
                proc, hwnd, d = self.show(pre, mode, "showmessage", text)
                shown = "C:\new" if (mode, text) == (SYSTEM, "C:\\new") else text
                heights[mode, text] = self.instruction(d, shown).rect[3]
                self.finish(pre, proc, hwnd, lambda p, h: self.key(p, h, VK_RETURN), 0)
            one = heights[mode, "first"]
            with self.subTest(mode=mode):
                self.assertGreaterEqual(heights[mode, "first\nsecond"], 2 * one - 2)
                if mode == OWN:
                    self.assertEqual(heights[mode, "C:\\new"], one)  # literal backslash n
                else:
                    self.assertGreaterEqual(heights[mode, "C:\\new"], 2 * one - 2)

    def test_owner_help_and_clipboard(self):
        pre = self.prefix("win32")
        log = "C:\\cd\\help.log"
        proc, hwnd, d = self.show(pre, OWN, "--owner", "--help-log", log, "messagedialog", "2",
                                  "12", "Copy me", "77")  # OK and Cancel, help context 77
        owner = next(w for w in self.windows(pre) if w[3] == "dialog_host owner")
        self.assertEqual(d.owner, owner[0])
        self.assertEqual(self.list_state(pre, owner[0]), "disabled")
        self.drive(pre, "input", hwnd, VK_F1)
        self.assertTrue(e2e.poll(lambda: pre.host(log).exists()), "no help request")
        self.assertEqual(pre.host(log).read_text().split(), ["77"])
        self.drive(pre, "input", hwnd, ord("C"), "ctrl")
        self.assertTrue(e2e.poll(lambda: self.clipboard(pre) == "Information\r\nCopy me\r\n"),
                        self.clipboard(pre))
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
