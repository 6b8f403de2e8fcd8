"""DOSBox itself runs the configuration we write.

write_dosbox_conf writes dosbox.conf as the installer does, for a host folder
whose name holds a blank; DOSBox runs it headless. The sample veskpnx.exe
leaves RAN.TXT with its command tail when it runs, so finding that file (and
no print file "f" any more) shows that every autoexec line ran, the mount of
the quoted folder first. The same configuration with the mount line
unquoted runs nothing, which is why the folder is quoted.
"""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TEMPLATE = ROOT / "product" / "dosbox.conf.template"
WRITER = os.environ.get("WRITE_DOSBOX_CONF", "")


def files_in(folder):
    return {p.name.lower(): p for p in folder.iterdir()}


@unittest.skipUnless(shutil.which("dosbox"), "DOSBox is not installed here")
class DosBoxRunsOurConfiguration(unittest.TestCase):
    def run_dosbox(self, tmp, unquote=False):
        """Install folder "<tmp>/my games/kx" with the product and an old
        print file; answers the folder's files after DOSBox ended."""
        folder = Path(tmp) / "my games" / "kx"
        folder.mkdir(parents=True)
        shutil.copy(ROOT / "product" / "veskpnx.exe", folder)
        (folder / "f").write_bytes(b"old print file\r\n")
        conf = Path(tmp) / "dosbox.conf"
        subprocess.run([WRITER, str(TEMPLATE), str(folder), str(conf)], check=True)
        text = conf.read_bytes()
        self.assertTrue(text.startswith(TEMPLATE.read_bytes()))
        quoted = f'mount c "{folder}"\r\n'.encode()
        self.assertIn(quoted, text)
        if unquote:
            conf.write_bytes(text.replace(quoted, f"mount c {folder}\r\n".encode()))
        env = dict(os.environ, HOME=tmp, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
        done = subprocess.run(["dosbox", "-conf", str(conf)], env=env, capture_output=True,
                              timeout=120)
        # The autoexec's "exit" ends DOSBox; without it the run would time out.
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        return files_in(folder)

    def test_quoted_folder_with_a_blank_runs_every_autoexec_line(self):
        with tempfile.TemporaryDirectory() as tmp:
            files = self.run_dosbox(tmp)
            self.assertIn("ran.txt", files, "veskpnx.exe did not run")
            self.assertEqual(files["ran.txt"].read_bytes().strip(), b"/ns")
            self.assertNotIn("f", files, "del f did not run")

    def test_same_folder_unquoted_runs_nothing(self):
        with tempfile.TemporaryDirectory() as tmp:
            files = self.run_dosbox(tmp, unquote=True)
            self.assertNotIn("ran.txt", files)
            self.assertIn("f", files)


if __name__ == "__main__":
    unittest.main()
