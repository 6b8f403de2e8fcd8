"""The installer without a window (/S), its log, its exit codes, and the
uninstaller of an installer built with one: real programs in fresh prefixes,
each prefix this machine has."""

import os
import unittest

from e2e import DRIVER, INSTALLER, Scenario, poll, wineprefix

WITH_UNINSTALLER = os.environ.get("INSTALLER_UNINST", "")
ENTRY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovarin Pellion"
FOLDER = "C:\\My Games\\kx"  # a blank in it: /D= takes the rest of the line
INSTALLED, BAD_LINE, NO_DOSBOX, REFUSED, UNREMOVABLE = 0, 1, 2, 3, 4


class Silent(Scenario):
    def fresh(self, arch, dosbox=True):
        pre = self.prefix(arch)
        if arch == "win64" and dosbox:
            d = pre.program_files / "DOSBox-0.74"
            d.mkdir(parents=True)
            (d / "dosbox.exe").write_bytes(b"MZ")
        return pre

    def arches(self):
        return wineprefix.available_arches()

    def run_exe(self, pre, exe, *args, copy=True):
        path = pre.install_copy(exe) if copy else exe
        rc, _ = pre.run(path, *args, timeout=120)
        return rc

    def entry(self, pre):
        """The entry's values by name, or None when there is none."""
        rc, out = pre.run("reg", "query", ENTRY)
        if rc != 0:
            return None
        values = {}
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2] if len(parts) > 2 else ""
        return values

    def log(self, pre, name):
        return pre.host("C:\\" + name).read_text(encoding="utf-8")

    def assert_no_window_left(self, pre):
        self.assertEqual([t for _, _, c, t in self.windows(pre)
                          if c in ("TTaskMessageForm", "TInstProgressForm", "tMainForm")], [])


class SilentInstall(Silent):
    def test_default_build_installs_without_window_or_entry(self):
        for arch in self.arches():
            with self.subTest(arch=arch):
                pre = self.fresh(arch)
                rc = self.run_exe(pre, INSTALLER, "/S", "/LOG=C:\\run.log", f"/D={FOLDER}")
                self.assertEqual(rc, INSTALLED, self.log(pre, "run.log"))
                extra = ["dosbox.conf"] if arch == "win64" else []
                self.assert_installed(pre.host(FOLDER), extra)
                self.assertIsNone(self.entry(pre))
                log = self.log(pre, "run.log")
                for line in ["installer started", "gate: ", f"installing into {FOLDER}\\",
                             "wrote pnx.exe, 96 bytes, dated 2004-05-11 12:00:00",
                             "exit code 0"]:
                    self.assertIn(line, log)
                if arch == "win32":  # the shortcut question is answered Yes
                    self.assertIn("answer: Yes (silent run)", log)
                    self.assertTrue((pre.desktop / "pnx.lnk").exists())
                self.assert_no_window_left(pre)

    def test_refusals_and_their_exit_codes(self):
        pre = self.fresh("win64", dosbox=False)
        cases = [
            (["/S", "/D=C:\\kx"], NO_DOSBOX),           # no notice, no browser
            (["/S", "/X"], BAD_LINE),                   # a switch not understood
        ]
        for args, code in cases:
            with self.subTest(args=args):
                self.assertEqual(self.run_exe(pre, INSTALLER, *args), code)
                self.assert_no_window_left(pre)
        self.assertFalse(pre.host("C:\\kx").exists())
        pre = self.fresh(self.arches()[0])
        for folder in ["Q:\\kx", "C:\\" + "d" * 240]:  # no such drive; too long a path
            with self.subTest(folder=folder):
                rc = self.run_exe(pre, WITH_UNINSTALLER or INSTALLER, "/S", "/LOG=C:\\r.log",
                                  f"/D={folder}")
                self.assertEqual(rc, REFUSED)
                self.assertIn("exit code 3", self.log(pre, "r.log"))
        self.assertFalse(pre.host("C:\\" + "d" * 240).exists())
        self.assertIsNone(self.entry(pre))

    def test_usage_window_and_a_log_that_cannot_be_written(self):
        pre = self.fresh(self.arches()[0])
        proc = self.start(pre, INSTALLER, "/?")
        hwnd = self.wait_window(pre, cls="TTaskMessageForm", proc=proc)
        self.assertTrue(any(t.startswith("Usage: PellionSetup.exe [/S]")
                            for t in self.dump(pre, hwnd).texts()))
        self.press(pre, hwnd, "OK")
        self.assertEqual(self.exit_code(proc), INSTALLED)
        self.assertFalse(pre.host("C:\\kx").exists())
        # No drive Q: for the log: the run ends as it would have.
        rc = self.run_exe(pre, INSTALLER, "/S", "/LOG=Q:\\none\\r.log", "/D=C:\\kx")
        self.assertEqual(rc, INSTALLED)
        self.assertTrue(pre.host("C:\\kx\\pnx.exe").exists())

    def test_forward_slash_folder_shows_the_notice(self):
        # "C:/tools" holds "/t", which asks for the DOSBox notice as ever.
        pre = self.fresh(self.arches()[0])
        proc = self.start(pre, INSTALLER, "/S", "/D=C:/tools")
        hwnd = self.wait_window(pre, "Corvex355 Installer", proc=proc)
        self.press(pre, hwnd, "Cancel")
        self.assertEqual(self.exit_code(proc), NO_DOSBOX)
        self.assertFalse(pre.host("C:\\tools\\pnx.exe").exists())


@unittest.skipUnless(WITH_UNINSTALLER, "run through ctest in the cross build")
class Uninstall(Silent):
    def install(self, pre):
        rc = self.run_exe(pre, WITH_UNINSTALLER, "/S", f"/D={FOLDER}")
        self.assertEqual(rc, INSTALLED)
        return pre.host(FOLDER)

    def test_entry_then_removal_with_and_without_a_file_of_the_user(self):
        for arch in self.arches():
            with self.subTest(arch=arch):
                pre = self.fresh(arch)
                folder = self.install(pre)
                entry = self.entry(pre)
                uninstaller = f"{FOLDER}\\uninstall.exe"
                self.assertEqual(entry["DisplayName"], "Tovarin Pellion 3.14")
                self.assertEqual(entry["DisplayVersion"], "3.14")
                self.assertEqual(entry["Publisher"], "Tovarin")
                self.assertEqual(entry["InstallLocation"], FOLDER)
                self.assertEqual(entry["DisplayIcon"], f"{FOLDER}\\v.ico")
                self.assertEqual(entry["UninstallString"], f'"{uninstaller}"')
                self.assertEqual(entry["QuietUninstallString"], f'"{uninstaller}" /S')
                self.assertEqual(entry["NoModify"], "0x1")
                self.assertEqual(entry["NoRepair"], "0x1")
                self.assertRegex(entry["InstallDate"], r"^20\d{6}$")
                size = sum(p.stat().st_size for p in folder.iterdir())
                self.assertEqual(int(entry["EstimatedSize"], 16), (size + 1023) // 1024)
                links = [pre.desktop / n for n in (["V DOSbox.lnk", "Print F.lnk"]
                                                   if arch == "win64" else ["pnx.lnk"])]
                self.assertTrue(all(p.exists() for p in links))

                # A saved game of the user's keeps itself and the folder.
                (folder / "save.dat").write_bytes(b"mine")
                self.assertEqual(self.run_exe(pre, uninstaller, "/S", copy=False), 0)
                self.assertTrue(poll(lambda: sorted(p.name for p in folder.iterdir())
                                     == ["save.dat"], 10), list(folder.iterdir()))
                self.assertIsNone(self.entry(pre))
                self.assertFalse(any(p.exists() for p in links))

                # Without one, the folder goes too; its parent stays.
                (folder / "save.dat").unlink()
                self.install(pre)
                self.assertEqual(self.run_exe(pre, uninstaller, "/S", "/LOG=C:\\u.log",
                                              copy=False), 0)
                self.assertTrue(poll(lambda: not folder.exists(), 10))
                self.assertTrue(folder.parent.exists())
                self.assertIn("exit code 0", self.log(pre, "u.log"))

    def test_locked_file_keeps_the_entry(self):
        pre = self.fresh(self.arches()[0])
        folder = self.install(pre)
        held = self.start(pre, DRIVER, "hold", f"{FOLDER}\\pnx.hlp", 30000)
        self.assertTrue(poll(lambda: "held" in open(held.output_path).read(), 20))
        rc = self.run_exe(pre, f"{FOLDER}\\uninstall.exe", "/S", "/LOG=C:\\u.log", copy=False)
        self.assertEqual(rc, UNREMOVABLE)
        self.assertIsNotNone(self.entry(pre))
        self.assertTrue((folder / "pnx.hlp").exists())
        self.assertTrue((folder / "uninstall.exe").exists())
        self.assertIn("pnx.hlp", self.log(pre, "u.log"))


if __name__ == "__main__":
    unittest.main()
