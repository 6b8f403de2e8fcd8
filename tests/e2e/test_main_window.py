"""The main window end to end: the real installer in fresh prefixes, driven
as a user would, from the welcome page to the end of an install."""

import os
import time
import unittest
from pathlib import Path

import e2e
from e2e import INSTALLER, VK_ESCAPE, VK_RETURN, Scenario, poll, wineprefix

MAIN_TITLE = "Tovarin Pellion Installer"
DIALOG = "TTaskMessageForm"
PROGRESS = "TInstProgressForm"
WELCOME = ["This will install Tovarin Pellion", "Version 3.14 05/11/04",
           "Click SETUP to install this program, CANCEL to close", "without installing."]
BANNER = ["INSTALLING", "Tovarin\u00ae", "Pellion", "3.14"]
PRODUCT_FILES = ["lpf32.exe", "pnx.exe", "pnx.hlp", "readme.txt", "v.ico", "veskpnx.exe"]
NOT_INSTALLED = "Pellion was not installed."
QUESTION_TAIL = "\n\nIf you want to install this version anyway, click YES."
VK_END = 0x23
UNINSTALL_QUESTION = ("Remove Tovarin Pellion 3.14 from C:\\games\\kx\\ and the shortcuts it made?"
                      "\n\nFiles of your own in that folder are kept.")
UNINSTALLED = "Tovarin Pellion was removed from your computer."
ENTRY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovarin Pellion"


def one_arch(preferred):
    """`preferred`, or the prefix this machine has when it has no such one:
    scenarios that need a single prefix still run there."""
    return preferred if preferred in wineprefix.available_arches() else "win64"


class MainWindowScenario(Scenario):
    def fresh(self, arch):
        """A prefix where the installer passes its start-up gate."""
        pre = self.prefix(arch)
        if arch == "win64":
            d = pre.program_files / "DOSBox-0.74"
            d.mkdir(parents=True)
            (d / "dosbox.exe").write_bytes(b"MZ")
        return pre

    def main_window(self, pre, proc):
        return self.wait_window(pre, MAIN_TITLE, "tMainForm", proc=proc)

    def labels(self, dump):
        return [c.text for c in dump.controls if c.cls == "TStyledLabel" and c.visible]

    def edit(self, dump):
        return next(c for c in dump.controls if c.cls.lower() == "edit")

    def screen(self, pre):
        _, rows = self.drive(pre, "screen")
        return int(rows[0][0]), int(rows[0][1])

    def assert_centred(self, pre, dump):
        sw, sh = self.screen(pre)
        x, y, w, h = dump.rect
        self.assertEqual((x, y), ((sw - w) // 2, (sh - h) // 2), dump.describe())

    def to_setup_page(self, pre, hwnd):
        self.drive(pre, "tap", hwnd, "Setup")
        self.assertTrue(poll(lambda: "Install Folder:" in self.labels(self.dump(pre, hwnd))),
                        self.dump(pre, hwnd).describe())

    def type_folder(self, pre, hwnd, text):
        """Replaces the edit's text by typing: End, backspaces, then the text."""
        self.key(pre, hwnd, VK_END)
        self.drive(pre, "type", hwnd, "\b" * len(self.edit(self.dump(pre, hwnd)).text) + text)

    def press_caption(self, pre, hwnd, dump, wanted):
        """Presses the button whose caption, without its mnemonic, is `wanted`."""
        caption = next(c for c in dump.button_captions() if c.replace("&", "") == wanted)
        self.press(pre, hwnd, caption)

    def captions(self, dump):
        return sorted(c.replace("&", "") for c in dump.button_captions())

    def dialog(self, pre, proc):
        hwnd = self.wait_window(pre, cls=DIALOG, proc=proc)
        return hwnd, self.dump(pre, hwnd)

    def answer_until_exit(self, pre, proc, arch, prefix):
        """Works every window the run shows until the program ends: OK on the
        progress window, No to a question, OK to a message. Answers the
        texts of the messages in order."""
        texts, shots = [], 0
        deadline = time.monotonic() + 120
        while proc.poll() is None:
            self.assertLess(time.monotonic(), deadline, f"the program did not end; messages: {texts}")
            windows = [(h, c) for h, _, c, _ in self.windows(pre) if c in (DIALOG, PROGRESS)]
            for hwnd, cls in windows:
                rc, _ = self.drive(pre, "dump", hwnd, check=False)
                if rc != 0:
                    continue  # gone meanwhile
                dump = self.dump(pre, hwnd)
                if not dump.visible:
                    continue
                if cls == PROGRESS:
                    if "OK" in [c.text for c in dump.controls if c.visible]:
                        self.screenshot(pre, hwnd, f"{prefix}-{arch}-progress-done")
                        self.drive(pre, "tap", hwnd, "OK", check=False)
                    continue
                shots += 1
                self.screenshot(pre, hwnd, f"{prefix}-{arch}-message-{shots}")
                texts.append("\n".join(dump.texts()))
                self.press_caption(pre, hwnd, dump, "No" if "No" in self.captions(dump) else "OK")
                self.wait_gone(pre, hwnd)
        return texts


class Welcome(MainWindowScenario):
    def test_pages_browse_and_keyboard(self):
        for arch in ("win32", "win64"):
            with self.subTest(arch=arch):
                pre = self.fresh(arch)
                proc = self.start(pre, INSTALLER)
                hwnd = self.main_window(pre, proc)
                # Loaded later, at their first use: OLE automation,
                # accessibility, and the shell except for the 64-bit gate's
                # Program Files lookup. (Wine differs: its window driver loads
                # ole32 and combase into every program with a window, the
                # minimal window too, so they are not checked here.) The
                # common controls come with the set-up page, built once the
                # welcome page shows: the side-by-side version 6 only.
                _, rows = self.drive(pre, "modules", hwnd)
                loaded = {r[0] for r in rows}
                comctl = [r[1] for r in rows if r[0] == "comctl32.dll"]
                self.assertEqual(len(comctl), 1, comctl)
                self.assertIn("\\winsxs\\", comctl[0])
                later = {"oleaut32.dll", "oleacc.dll"}
                if arch == "win32":
                    later |= {"shell32.dll", "shlwapi.dll"}
                self.assertEqual(loaded & later, set(), sorted(loaded))
                dump = self.dump(pre, hwnd)
                self.assertEqual(sorted(self.labels(dump)), sorted(WELCOME + BANNER))
                self.assert_centred(pre, dump)
                self.screenshot(pre, hwnd, f"main-welcome-{arch}")

                # Enter acts as "Setup": the set-up page, the edit focused.
                self.key(pre, hwnd, VK_RETURN)
                self.assertTrue(poll(lambda: self.dump(pre, hwnd).focused() is not None))
                dump = self.dump(pre, hwnd)
                self.assertEqual(sorted(self.labels(dump)), sorted(["Install Folder:"] + BANNER))
                self.assertEqual(self.edit(dump).text, "c:\\kx")
                self.assertTrue(self.edit(dump).focused, dump.describe())
                self.screenshot(pre, hwnd, f"main-setup-{arch}")

                # Alt+B: the folder browser, centred, the main window disabled;
                # cancelling it changes nothing.
                self.drive(pre, "syschar", hwnd, "b")
                browser = self.wait_window(pre, cls="#32770", proc=proc)
                bdump = self.dump(pre, browser)
                self.assert_centred(pre, bdump)
                self.assertFalse(self.dump(pre, hwnd).enabled)
                self.screenshot(pre, browser, f"main-browse-{arch}")
                self.press(pre, browser, "#2")
                self.wait_gone(pre, browser)
                self.assertTrue(poll(lambda: self.dump(pre, hwnd).enabled))
                dump = self.dump(pre, hwnd)
                self.assertEqual(self.edit(dump).text, "c:\\kx")
                self.assertTrue(self.edit(dump).focused, "the user goes on in the edit box")

                # Typed text is shown in lower case.
                self.type_folder(pre, hwnd, "D:\\Games\\KX")
                self.assertTrue(poll(
                    lambda: self.edit(self.dump(pre, hwnd)).text == "d:\\games\\kx"),
                    self.edit(self.dump(pre, hwnd)).text)

                # Escape acts as "Cancel": the program ends at once.
                self.key(pre, hwnd, VK_ESCAPE)
                self.assertEqual(self.exit_code(proc), 0)


class Install(MainWindowScenario):
    def test_typed_folder_through_to_the_end(self):
        for arch in ("win32", "win64"):
            with self.subTest(arch=arch):
                pre = self.fresh(arch)
                proc = self.start(pre, INSTALLER)
                hwnd = self.main_window(pre, proc)
                self.to_setup_page(pre, hwnd)
                self.type_folder(pre, hwnd, "C:\\Games\\KX")
                self.assertTrue(poll(
                    lambda: self.edit(self.dump(pre, hwnd)).text == "c:\\games\\kx"))
                # Two clicks queued back to back: the second comes out of the
                # first run's message processing and starts nothing.
                self.drive(pre, "tap", hwnd, "Install", "Install")
                self.wait_window(pre, cls=PROGRESS, proc=proc)
                texts = self.answer_until_exit(pre, proc, arch, "install")
                self.assertEqual(proc.returncode, 0)
                # One closing step: the shortcut question and its answer on a
                # 32-bit Windows, the DOSBox message on a 64-bit one.
                self.assertEqual(len(texts), 2 if arch == "win32" else 1, texts)
                folder = pre.host("C:\\games\\kx")
                self.assertEqual(sorted(p.name for p in folder.iterdir() if p.suffix != ".conf"),
                                 PRODUCT_FILES)
                # An installer built without its uninstaller keeps no entry.
                self.assertNotEqual(pre.run("reg", "query", ENTRY)[0], 0)

    def test_refused_drive_stays_on_the_setup_page(self):
        pre = self.fresh(one_arch("win32"))
        proc = self.start(pre, INSTALLER)
        hwnd = self.main_window(pre, proc)
        self.to_setup_page(pre, hwnd)
        self.type_folder(pre, hwnd, "Q:\\KX")  # no such drive
        self.drive(pre, "tap", hwnd, "Install")
        dialog, dump = self.dialog(pre, proc)
        self.assertIn("Install Directory is not on a valid device.", dump.texts())
        self.press(pre, dialog, "OK")
        self.wait_gone(pre, dialog)
        dump = self.dump(pre, hwnd)
        self.assertTrue(dump.visible)
        self.assertIn("Install Folder:", self.labels(dump))
        self.assertEqual(self.edit(dump).text, "q:\\kx")
        self.close_box(pre, hwnd)
        self.assertEqual(self.exit_code(proc), 0)

    def test_failed_run_brings_the_window_back(self):
        # A run that answers false: one file is held open by another
        # program, so the run reports it and installs nothing more. (The
        # sample product installs in milliseconds here, faster than any
        # click on Cancel could arrive; cancelling is covered by the install
        # scenarios, whose run takes a second per file.)
        pre = self.fresh(one_arch("win32"))
        kx = pre.host("C:\\kx")
        kx.mkdir(parents=True, exist_ok=True)
        (kx / "v.ico").write_bytes(b"old icon")
        holder = pre.spawn(pre.install_copy(os.environ["DRIVER"], "C:\\tools"), "hold",
                           "C:\\kx\\v.ico", 60000)
        self._procs.append(holder)
        self.assertTrue(e2e.poll(lambda: "held" in Path(holder.output_path).read_text(), 20))
        proc = self.start(pre, INSTALLER)
        hwnd = self.main_window(pre, proc)
        self.to_setup_page(pre, hwnd)
        self.assertEqual(self.edit(self.dump(pre, hwnd)).text, "c:\\kx")
        self.key(pre, hwnd, VK_RETURN)  # Enter on the set-up page: "Install"
        self.wait_window(pre, cls=PROGRESS, proc=proc)
        self.assertFalse(self.dump(pre, hwnd).visible, "the main window hides during the run")
        # The run's own report, then the main window back on its set-up page
        # and the closing message.
        texts = []
        while True:
            dialog, dump = self.dialog(pre, proc)
            texts.append(dump.texts())
            if NOT_INSTALLED in dump.texts():
                break
            self.press(pre, dialog, "OK")
            self.wait_gone(pre, dialog)
        # The folder as the edit holds it: lower case.
        self.assertTrue(any(t.startswith("Error writing file c:\\kx\\v.ico: ")
                            for shown in texts for t in shown), texts)
        main = self.dump(pre, hwnd)
        self.assertTrue(main.visible, texts)
        self.assertIn("Install Folder:", self.labels(main))
        self.assertEqual((kx / "v.ico").read_bytes(), b"old icon")
        self.screenshot(pre, dialog, f"main-not-installed-{pre.arch}")
        self.press(pre, dialog, "OK")
        self.wait_gone(pre, dialog)
        self.close_box(pre, hwnd)
        self.assertEqual(self.exit_code(proc), 0)


@unittest.skipUnless(os.environ.get("INSTALLER_UNINST"), "run through ctest in the cross build")
class WithUninstaller(MainWindowScenario):
    def test_entry_then_the_uninstallers_question_and_closing_message(self):
        pre = self.fresh(one_arch("win32"))
        proc = self.start(pre, os.environ["INSTALLER_UNINST"])
        hwnd = self.main_window(pre, proc)
        self.to_setup_page(pre, hwnd)
        self.type_folder(pre, hwnd, "C:\\Games\\KX")
        self.drive(pre, "tap", hwnd, "Install")
        self.wait_window(pre, cls=PROGRESS, proc=proc)
        self.answer_until_exit(pre, proc, pre.arch, "uninst")
        self.assertEqual(proc.returncode, 0)
        folder = pre.host("C:\\games\\kx")
        self.assertIn("uninstall.exe", [p.name for p in folder.iterdir()])
        rc, out = pre.run("reg", "query", ENTRY, "/v", "InstallLocation")
        self.assertEqual(rc, 0)
        self.assertIn("c:\\games\\kx", out)

        # One question, then one closing message.
        proc = pre.spawn("C:\\games\\kx\\uninstall.exe")
        self._procs.append(proc)
        dialog, dump = self.dialog(pre, proc)
        self.assertIn(UNINSTALL_QUESTION, dump.texts(), dump.describe())
        self.assertEqual(self.captions(dump), ["No", "Yes"])
        self.screenshot(pre, dialog, f"uninstall-question-{pre.arch}")
        self.press_caption(pre, dialog, dump, "Yes")
        self.wait_gone(pre, dialog)
        dialog, dump = self.dialog(pre, proc)
        self.assertIn(UNINSTALLED, dump.texts(), dump.describe())
        self.screenshot(pre, dialog, f"uninstall-done-{pre.arch}")
        self.press(pre, dialog, "OK")
        self.assertEqual(self.exit_code(proc), 0)
        self.assertTrue(poll(lambda: not folder.exists(), 10))
        self.assertNotEqual(pre.run("reg", "query", ENTRY)[0], 0)


class VersionQuestion(MainWindowScenario):
    def put_copy(self, pre, version):
        kx = pre.host("C:\\kx")
        kx.mkdir(parents=True, exist_ok=True)
        (kx / "veskpnx.exe").write_bytes(b"MZ\0\0VESKPNX.EXE: Pellion Version " +
                                         version.encode() + b"\r\n$")

    def test_cancel_ends_and_yes_opens_the_welcome_page(self):
        rows = [(one_arch("win32"), "3.15", "A newer version of this program is already installed."),
                ("win64", "3.14", "The same version of this program is already isntalled.")]
        for arch, version, notice in rows:
            with self.subTest(arch=arch, version=version):
                pre = self.fresh(arch)
                self.put_copy(pre, version)
                proc = self.start(pre, INSTALLER)
                dialog, dump = self.dialog(pre, proc)
                self.assertIn(notice + QUESTION_TAIL, dump.texts(), dump.describe())
                self.assertEqual(self.captions(dump), ["Cancel", "Yes"])
                self.screenshot(pre, dialog, f"main-version-{version}-{arch}")
                self.press(pre, dialog, "Cancel")
                shown = []
                while proc.poll() is None:
                    shown += [c for _, _, c, _ in self.windows(pre) if c == "tMainForm"]
                self.assertEqual(self.exit_code(proc), 0)
                self.assertEqual(shown, [], "the main window must never show")

                proc = self.start(pre, INSTALLER)
                dialog, dump = self.dialog(pre, proc)
                self.press_caption(pre, dialog, dump, "Yes")
                hwnd = self.main_window(pre, proc)
                self.assertIn(WELCOME[0], self.labels(self.dump(pre, hwnd)))
                self.close_box(pre, hwnd)
                self.assertEqual(self.exit_code(proc), 0)


if __name__ == "__main__":
    unittest.main()
