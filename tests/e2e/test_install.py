"""The install run end to end: the real progress window and dialogs under
Wine, in both prefixes, driven from a second process. How a run is started
lives in InstallScenario.start_install alone."""

import os
import subprocess
import time
import unittest

import e2e
from pathlib import Path

from e2e import FILES, PRODUCT, Scenario, poll

INSTALL_HOST = os.environ.get("INSTALL_HOST", "")
INSTALL_HOST_BIG = os.environ.get("INSTALL_HOST_BIG", "")

DIALOG = "TTaskMessageForm"  # Wine's comctl32 gives the own presentation
PROGRESS = ("Installation Progress", "TInstProgressForm")
QUESTION = (
    "Pellion, version 3.14, was installed successfully.\n\n"
    "Normally Pellion is run from inside Corvanel by pressing the function key, F7. "
    "If you are not \ninstalling Corvanel, you need a shortcut on the \ndesktop to run "
    "this wheel program. \n\nClick NO if you do NOT want the V shortcut created.")
AFTER_YES = "To run Pellion, click the V icon on your desktop."
AFTER_NO = "To run Pellion, start Corvanel and press function key F7."
SIBLING = ("Pellion, version 3.14, was installed successfully.\r\n\r\n"
           "To run Pellion, first run Corvanel, then press the function key F7.")
MENU = "\r\n\r\nTo run Pellion, start the Tovarin Menu program,\r\nand click the V icon."
REFUSED = "Install Directory is not on a valid device."
INSTALLED, REFUSED_CODE, NOT_INSTALLED = 0, 1, 2


class InstallScenario(Scenario):
    host = INSTALL_HOST

    def setUp(self):
        super().setUp()
        if not self.host:
            self.skipTest("run through ctest in the cross build")

    # How a run starts: the main window's scenarios replace this alone.
    def start_install(self, pre, folder):
        return self.start(pre, self.host, folder)

    def finished(self, proc):
        return self.exit_code(proc, timeout=30)

    def prepared(self, arch):
        pre = self.prefix(arch)
        if arch == "win64":  # the gate wants DOSBox under Program Files (x86)
            d = pre.program_files / "DOSBox-0.74"
            d.mkdir(parents=True)
            (d / "dosbox.exe").write_bytes(b"MZ")
        return pre

    # Windows ---------------------------------------------------------------
    def progress(self, pre, proc):
        return self.wait_window(pre, *PROGRESS, proc=proc)

    def stage(self, pre, hwnd, text, timeout=30):
        # The progress window's labels are its own controls, not statics.
        shown = lambda: [c.text for c in self.dump(pre, hwnd).controls if c.visible]  # noqa: E731
        ok = poll(lambda: text in shown(), timeout, 0.2)
        self.assertTrue(ok, f"the stage never read {text!r}:\n{self.dump(pre, hwnd).describe()}")

    def tap(self, pre, hwnd, *captions):
        self.drive(pre, "tap", hwnd, *captions)

    def confirm_ok_state(self, pre, proc):
        """Waits for "Installation Successful." and presses OK."""
        hwnd = self.progress(pre, proc)
        self.stage(pre, hwnd, "Installation Successful.")
        self.tap(pre, hwnd, "OK")
        return hwnd

    def answer(self, pre, proc, text, button="OK", title=None):
        """Waits for the dialog showing `text`, checks it, presses `button`."""
        hwnd = self.wait_window(pre, title or "*", DIALOG, proc=proc)
        dump = self.dump(pre, hwnd)
        self.assertIn(text, dump.texts(), dump.describe())
        self.press(pre, hwnd, button)
        self.wait_gone(pre, hwnd)
        return dump

    def no_dialog_left(self, pre):
        shown = [t for _, _, c, t in self.windows(pre) if c in (DIALOG, PROGRESS[1])]
        self.assertEqual(shown, [])

    # Files -----------------------------------------------------------------
    def folder(self, pre, winpath):
        return pre.host(winpath)

    def link(self, pre, lnk_winpath):
        _, rows = self.drive(pre, "lnk", lnk_winpath)
        return [e2e.unescape(field) for field in rows[0]]


class Win32Closing(InstallScenario):
    def test_yes_makes_the_desktop_shortcut(self):
        pre = self.prepared("win32")
        proc = self.start_install(pre, "C:\\kx")
        self.confirm_ok_state(pre, proc)
        dump = self.answer(pre, proc, QUESTION, "&Yes")
        self.assertEqual(dump.title, "Warning")
        self.answer(pre, proc, AFTER_YES, title="Pellion")
        self.assertEqual(self.finished(proc), INSTALLED)
        self.assert_installed(self.folder(pre, "C:\\kx"))
        # The working folder is the target's folder part, with its backslash.
        target, args, workdir, desc, icon, index = self.link(
            pre, f"C:\\users\\{pre.user}\\Desktop\\pnx.lnk")
        self.assertEqual((target.lower(), args, workdir.lower(), desc, icon.lower(), index),
                         ("c:\\kx\\pnx.exe", "", "c:\\kx\\", "Pellion", "c:\\kx\\v.ico", "0"))

    def test_no_then_sibling_product_present(self):
        pre = self.prepared("win32")
        proc = self.start_install(pre, "C:\\kx")
        self.confirm_ok_state(pre, proc)
        self.answer(pre, proc, QUESTION, "&No")
        self.answer(pre, proc, AFTER_NO, title="Pellion")
        self.assertEqual(self.finished(proc), INSTALLED)
        self.assertFalse((pre.desktop / "pnx.lnk").exists())
        # A second run over the first, with the sibling's program there.
        (self.folder(pre, "C:\\kx") / "vesk.exe").write_bytes(b"MZ")
        proc = self.start_install(pre, "C:\\kx")
        self.confirm_ok_state(pre, proc)
        self.answer(pre, proc, SIBLING, title="Pellion")  # no question first
        self.assertEqual(self.finished(proc), INSTALLED)
        self.assert_installed(self.folder(pre, "C:\\kx"), extra=["vesk.exe"])

    def test_refused_folders_create_nothing(self):
        pre = self.prepared(e2e.any_arch())
        cd = pre.dir / "cdrom"
        cd.mkdir()
        os.symlink(cd, pre.prefix / "dosdevices" / "d:")
        pre.reg_add("HKLM\\Software\\Wine\\Drives", "d:", "cdrom")
        pre.kill_server()
        for folder in ("D:\\kx", "\\\\server\\share\\kx", "kx", ""):
            with self.subTest(folder=folder):
                proc = self.start_install(pre, folder)
                self.answer(pre, proc, REFUSED)
                self.assertEqual(self.finished(proc), REFUSED_CODE)
        self.assertEqual(list(cd.iterdir()), [])
        self.assertFalse(self.folder(pre, "C:\\cd\\kx").exists())


class Win64Closing(InstallScenario):
    def test_dosbox_set_up_for_plain_and_blank_folders(self):
        pre = self.prepared("win64")
        for folder in ("c:\\kx", "C:\\My Games\\kx"):
            with self.subTest(folder=folder):
                proc = self.start_install(pre, folder)
                self.confirm_ok_state(pre, proc)
                # The set-up's own message, while the progress window is up.
                hwnd = self.wait_window(pre, "*", DIALOG, proc=proc)
                dump = self.dump(pre, hwnd)
                self.assertTrue(any("DOSbox" in t for t in dump.texts()), dump.describe())
                self.press(pre, hwnd, "OK")
                self.assertEqual(self.finished(proc), INSTALLED)  # nothing more shown
                host = self.folder(pre, folder[:1].upper() + folder[1:])
                self.assert_installed(host, extra=["dosbox.conf"])
                target, args, *_ = self.link(
                    pre, f"C:\\users\\{pre.user}\\Desktop\\V DOSbox.lnk")
                self.assertTrue(target.lower().endswith("dosbox.exe"), target)
                self.assertIn("-conf", args)
                self.assertIn(folder.lower() + "\\dosbox.conf", args.lower())
                self.assertTrue((pre.desktop / "Print F.lnk").exists())

    def test_menu_program_in_the_parent_means_no_dosbox_set_up(self):
        pre = self.prepared("win64")
        parent = self.folder(pre, "C:\\tovarin")
        parent.mkdir()
        (parent / "kxmenu.exe").write_bytes(b"MZ")
        proc = self.start_install(pre, "C:\\tovarin\\kx")
        self.confirm_ok_state(pre, proc)
        self.answer(pre, proc, MENU, title="Pellion")
        self.assertEqual(self.finished(proc), INSTALLED)
        self.assert_installed(parent / "kx")
        self.assertEqual(list(pre.desktop.iterdir()), [])


class PauseAndCancel(InstallScenario):
    host = INSTALL_HOST_BIG
    big = Path(INSTALL_HOST_BIG).parent / "big-product" / "product"

    def start_install(self, pre, folder):
        # Writing is fast here; a second per file, as on a slow disk, leaves
        # time to act between files.
        return self.start(pre, self.host, "--slow", int(1000 * e2e.TIME_SCALE), folder)

    def test_pause_holds_the_run_and_cancel_reports_the_files_on_disk(self):
        pre = self.prepared(e2e.any_arch())
        folder = self.folder(pre, "C:\\kx")
        proc = self.start_install(pre, "C:\\kx")
        hwnd = self.progress(pre, proc)
        # Pause as soon as the window answers: while the items are read or
        # during a file, the press takes effect at the end of the next file
        # written, so at least one is on disk.
        self.assertTrue(poll(lambda: self.drive(pre, "tap", hwnd, "Pause", check=False)[0] == 0,
                             60, 0.2), "the Pause button never answered")
        self.assertTrue(poll(lambda: "Resume" in [c.text for c in self.dump(pre, hwnd).controls],
                             60, 0.2), "the run did not pause")
        names = lambda: sorted(p.name for p in folder.iterdir())  # noqa: E731
        paused = names()
        self.assertTrue(1 <= len(paused) < len(FILES), paused)
        self.assertEqual(paused, sorted(FILES[:len(paused)]))
        time.sleep(1.5)
        self.assertEqual(names(), paused, "a file was written while paused")
        # Resume: the next file is written; Cancel while that file's
        # position is still on its way ends the run after it.
        self.tap(pre, hwnd, "Resume")
        written = len(paused) + 1
        self.assertTrue(poll(lambda: len(names()) >= written, 30, 0.05), "the run did not resume")
        self.tap(pre, hwnd, "Cancel")
        dialog = self.wait_window(pre, "Pellion", DIALOG, proc=proc)
        self.assertEqual(names(), sorted(FILES[:written]))  # no temporary file left
        for name in FILES[:written]:
            self.assertEqual((folder / name).stat().st_size, (self.big / name).stat().st_size)
        dump = self.dump(pre, dialog)
        self.assertIn(f"Installation cancelled. {written} of 6 files were installed.",
                      dump.texts(), dump.describe())
        self.press(pre, dialog, "OK")
        self.assertEqual(self.finished(proc), NOT_INSTALLED)


class KilledRuns(InstallScenario):
    """A run killed without warning (a power cut for the process), over an
    older installed copy, at moments spread over the whole run: during the
    read, between files (the run slowed down as on a slow disk) and while a
    file is being written (as soon as a temporary file shows). Every name then
    holds the old bytes or the whole new ones, never a part; the next
    complete run succeeds and leaves no temporary file."""
    host = INSTALL_HOST_BIG
    big = PauseAndCancel.big
    SPREAD = 6  # kills spread over each kind of run

    def older_copy(self, folder):
        """The older copy alone: a temporary file an earlier kill left would
        be taken for one of this run's."""
        folder.mkdir(exist_ok=True)
        for leftover in set(os.listdir(folder)) - set(FILES):
            os.remove(folder / leftover)
        for name in FILES:
            (folder / name).write_bytes(b"older copy of " + name.encode())

    def run_to_ok(self, pre, *args):
        """Seconds from the start to "Installation Successful."."""
        start = time.monotonic()
        proc = self.start(pre, self.host, *args)
        self.stage(pre, self.progress(pre, proc), "Installation Successful.", timeout=120)
        seconds = time.monotonic() - start
        self.end_programs()
        return seconds

    def kill(self, pre, folder, args, delay=None):
        """Starts a run and kills it after `delay` s, or when a temporary file
        first shows; answers what the six names and the folder then hold."""
        self.older_copy(folder)
        proc = self.start(pre, self.host, *args)
        start = time.monotonic()
        if delay is None:
            while proc.poll() is None and not any(n.endswith(".~pellion") for n in os.listdir(folder)):
                if time.monotonic() - start > 120:
                    break
        else:
            time.sleep(delay)
        when = time.monotonic() - start
        proc.kill()
        proc.wait()
        written = 0
        for name in FILES:
            data = (folder / name).read_bytes()
            self.assertIn(data, (b"older copy of " + name.encode(), self.new[name]),
                          f"{name} after a kill at {when:.3f} s: {len(data)} bytes")
            written += data == self.new[name]
        temporary = len([n for n in os.listdir(folder) if n not in FILES])
        return f"{when:.3f} s{'' if delay is not None else ' (temporary seen)'}: " \
               f"{written} new, {temporary} temporary"

    def test_every_name_holds_old_or_whole_new_bytes(self):
        pre = self.prepared(e2e.any_arch())
        # The menu program in the parent: the same one closing message on
        # both kinds of Windows.
        parent = self.folder(pre, "C:\\tovarin")
        parent.mkdir()
        (parent / "kxmenu.exe").write_bytes(b"MZ")
        folder, target = parent / "kx", "C:\\tovarin\\kx"
        self.new = {name: (self.big / name).read_bytes() for name in FILES}
        outcomes = []
        for args in ((target,), ("--slow", int(150 * e2e.TIME_SCALE), target)):
            self.older_copy(folder)
            whole = self.run_to_ok(pre, *args)
            for i in range(self.SPREAD):
                outcomes.append(self.kill(pre, folder, args, whole * (i + 0.5) / self.SPREAD))
        for _ in range(4):
            outcomes.append(self.kill(pre, folder, (target,)))
        print("kills at " + "; ".join(outcomes))

        proc = self.start(pre, self.host, target)
        self.confirm_ok_state(pre, proc)
        self.answer(pre, proc, MENU, title="Pellion")
        self.assertEqual(self.finished(proc), INSTALLED)
        self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(FILES))
        for name in FILES:
            self.assertEqual((folder / name).read_bytes(), self.new[name], name)


class WriteFailures(InstallScenario):
    def test_file_in_use_is_reported_and_left_as_it_was(self):
        pre = self.prepared(e2e.any_arch())
        folder = self.folder(pre, "C:\\kx")
        folder.mkdir()
        (folder / "v.ico").write_bytes(b"old icon")
        holder = pre.spawn(pre.install_copy(os.environ["DRIVER"], "C:\\tools"), "hold",
                           "C:\\kx\\v.ico", 60000)
        self._procs.append(holder)
        self.assertTrue(poll(lambda: "held" in Path(holder.output_path).read_text(), 20))
        proc = self.start_install(pre, "C:\\kx")
        hwnd = self.wait_window(pre, "*", DIALOG, proc=proc)
        # The progress window owns the report and takes no input under it:
        # Pause cannot start its loop on top of the dialog's.
        progress = self.wait_window(pre, *PROGRESS, proc=proc)
        self.assertFalse(self.dump(pre, progress).enabled)
        self.assertEqual(self.dump(pre, hwnd).owner, progress)
        dump = self.dump(pre, hwnd)
        lines = [t for t in dump.texts() if t.startswith("Error writing file ")]
        self.assertEqual(len(lines), 1, dump.describe())
        self.assertEqual(lines[0].split("\r\n"),
                         ["Error writing file C:\\kx\\v.ico: " + lines[0].split(": ", 1)[1]])
        self.press(pre, hwnd, "OK")
        self.assertEqual(self.finished(proc), NOT_INSTALLED)  # no question, no closing text
        holder.kill()
        self.assertEqual((folder / "v.ico").read_bytes(), b"old icon")
        self.assertEqual(sorted(p.name for p in folder.iterdir()), sorted(FILES))

    def test_full_disk_reports_the_file_that_did_not_fit(self):
        pre = self.prepared(e2e.any_arch())
        disk = pre.dir / "small"
        disk.mkdir()
        # Two pages: the first files fit, a later one does not.
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=8k", "tmpfs", str(disk)],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if mounted.returncode != 0:
            self.skipTest("mounting a small tmpfs is not permitted here (needs root)")
        self.addCleanup(subprocess.run, ["umount", "-l", str(disk)], check=False)
        os.symlink(disk, pre.prefix / "dosdevices" / "e:")
        pre.reg_add("HKLM\\Software\\Wine\\Drives", "e:", "hd")
        pre.kill_server()
        proc = self.start_install(pre, "E:\\kx")
        hwnd = self.wait_window(pre, "*", DIALOG, proc=proc)
        dump = self.dump(pre, hwnd)
        report = next((t for t in dump.texts() if t.startswith("Error writing file ")), "")
        self.assertIn("E:\\kx\\", report, dump.describe())
        self.press(pre, hwnd, "OK")
        self.assertEqual(self.finished(proc), NOT_INSTALLED)
        for p in (disk / "kx").iterdir():  # what is there is whole; no leftovers
            self.assertIn(p.name, FILES)
            self.assertEqual(p.read_bytes(), (PRODUCT / p.name).read_bytes())


if __name__ == "__main__":
    unittest.main()
