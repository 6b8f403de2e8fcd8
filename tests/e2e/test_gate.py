"""Start-up gate, end to end: the real installer in fresh prefixes."""

import os
import shutil
import unittest

from e2e import INSTALLER, DRIVER, Scenario, poll

NOTICE_TITLE = "Corvex355 Installer"
NOTICE_TEXT = (
    "This computer has a 64 bit operating system which cannot directly execute DOS programs."
    "\n\nPellion cannot run on this operating system except in XP Mode (which requires "
    "upgrading to Windows 7 Professional) or by using the free program, DOSbox, which does "
    "not appear to be installed on this computer.\n\nClick OK to go to the DOSbox website.  "
    "Download, and install DOSbox to it's default location then start this installer again.")
PAGE = "https://www.dosbox.com/download.php?main=1"
MAIN_TITLE = "Tovarin Pellion Installer"


class GateScenario(Scenario):
    def with_browser_recorder(self, pre):
        """Makes a copy of the driver the prefix's browser; answers the record file."""
        shutil.copy(DRIVER, pre.host("C:\\recorder.exe"))
        command = '"C:\\recorder.exe" record C:\\opened.txt "%1"'
        for proto in ("http", "https"):
            for view64 in (False, True):
                pre.reg_add(f"HKEY_CLASSES_ROOT\\{proto}\\shell\\open\\command", None, command,
                            view64=view64)
        return pre.host("C:\\opened.txt")

    def add_dosbox(self, pre, folder="DOSBox-0.74", exe=True):
        d = pre.program_files / folder
        d.mkdir(parents=True)
        if exe:
            (d / "dosbox.exe").write_bytes(b"MZ")
        return d

    def expect_notice(self, pre, proc):
        hwnd = self.wait_window(pre, NOTICE_TITLE, proc=proc)
        dump = self.dump(pre, hwnd)
        self.assertIn(NOTICE_TEXT, dump.texts(), dump.describe())
        self.assertEqual(sorted(dump.button_captions()), ["Cancel", "OK"], dump.describe())
        self.assertEqual(dump.default_buttons(), ["OK"], dump.describe())
        return hwnd

    def expect_main_window(self, pre, proc):
        hwnd = self.wait_window(pre, MAIN_TITLE, "tMainForm", proc=proc)
        titles = [t for _, _, _, t in self.windows(pre)]
        self.assertNotIn(NOTICE_TITLE, titles)
        return hwnd


class Win64WithoutDosBox(GateScenario):
    def test_cancel_ends_without_opening_anything(self):
        pre = self.prefix("win64")
        opened = self.with_browser_recorder(pre)
        proc = self.start(pre, INSTALLER)
        hwnd = self.expect_notice(pre, proc)
        self.screenshot(pre, hwnd, "gate-notice-win64")
        self.press(pre, hwnd, "Cancel")
        self.assertEqual(self.exit_code(proc), 0)
        self.assertFalse(opened.exists(), "Cancel must open nothing")

    def test_ok_opens_the_dosbox_page(self):
        pre = self.prefix("win64")
        opened = self.with_browser_recorder(pre)
        proc = self.start(pre, INSTALLER)
        self.press(pre, self.expect_notice(pre, proc), "OK")
        self.assertEqual(self.exit_code(proc), 0)
        # The recorder makes its file before it writes the line: wait for
        # the whole line, not merely the file.
        recorded = lambda: opened.exists() and opened.read_text().endswith("\n")
        self.assertTrue(poll(recorded, 15), "the browser was not started")
        self.assertIn(PAGE, opened.read_text())

    def test_hidden_dosbox_folder_is_not_found(self):
        pre = self.prefix("win64")
        d = self.add_dosbox(pre)
        os.setxattr(d, "user.DOSATTRIB", b"0x2")  # hidden, as Windows keeps it
        proc = self.start(pre, INSTALLER)
        self.close_box(pre, self.expect_notice(pre, proc))
        self.assertEqual(self.exit_code(proc), 0)

    def test_first_matching_entry_without_executable_decides(self):
        pre = self.prefix("win64")
        # Listings come back in alphabetical order: the empty folder comes first.
        self.add_dosbox(pre, "ADOSBoxAddons", exe=False)
        self.add_dosbox(pre, "DOSBox-0.74")
        proc = self.start(pre, INSTALLER)
        self.press(pre, self.expect_notice(pre, proc), "Cancel")
        self.assertEqual(self.exit_code(proc), 0)


class Win64WithDosBox(GateScenario):
    def test_gate_passes_to_the_main_window(self):
        pre = self.prefix("win64")
        self.add_dosbox(pre)
        proc = self.start(pre, INSTALLER)
        hwnd = self.expect_main_window(pre, proc)
        self.close_box(pre, hwnd)
        self.assertEqual(self.exit_code(proc), 0)

    def test_switch_forces_the_notice_even_with_dosbox(self):
        pre = self.prefix("win64")
        self.add_dosbox(pre)
        proc = self.start(pre, INSTALLER, "/t")
        self.press(pre, self.expect_notice(pre, proc), "Cancel")
        self.assertEqual(self.exit_code(proc), 0)


class Win32(GateScenario):
    def test_switch_in_any_case_forces_the_notice(self):
        pre = self.prefix("win32")
        opened = self.with_browser_recorder(pre)
        for switch in ("/T", "/tx"):
            with self.subTest(switch=switch):
                proc = self.start(pre, INSTALLER, switch)
                # The program ends after the notice even when the answer is OK.
                self.press(pre, self.expect_notice(pre, proc), "OK")
                self.assertEqual(self.exit_code(proc), 0)
        self.assertTrue(poll(opened.exists, 15))

    def test_without_switch_the_main_window_opens(self):
        pre = self.prefix("win32")
        proc = self.start(pre, INSTALLER)
        hwnd = self.expect_main_window(pre, proc)
        dump = self.dump(pre, hwnd)
        self.assertEqual(dump.client[2:], (685, 400))
        self.assertTrue(dump.exstyle & 0x40000, "the main window carries the taskbar button")
        self.screenshot(pre, hwnd, "main-window-win32")
        app = [t for _, _, c, t in self.windows(pre) if c == "TApplication"]
        self.assertEqual(app, [], "the application window is never shown")
        _, rows = self.drive(pre, "title", "TApplication")
        self.assertEqual(rows, [["Mirabond Installer Version 3.24"]])
        self.close_box(pre, hwnd)
        self.assertEqual(self.exit_code(proc), 0)


if __name__ == "__main__":
    unittest.main()
