"""scripts/sign.sh, as `make installer` runs it, signs copies of the shipped
installer and of the one Wine runs here; the signed copy still installs."""

import os
import shutil
import subprocess
import tempfile
from pathlib import Path

import e2e
from test_main_window import MainWindowScenario

SIGN = Path(__file__).resolve().parents[2] / "scripts" / "sign.sh"
OPENSSL = [["req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=Test Maker", "-addext",
            "extendedKeyUsage=codeSigning", "-keyout", "key.pem", "-out", "cert.pem"],
           ["pkcs12", "-export", "-inkey", "key.pem", "-in", "cert.pem", "-out", "maker.pfx",
            "-passout", "pass:throw-away"]]


class Signing(MainWindowScenario):
    def setUp(self):
        super().setUp()
        self.dir = Path(self.enterContext(tempfile.TemporaryDirectory()))
        (self.dir / "tmp").mkdir()
        for cmd in OPENSSL:
            subprocess.run(["openssl", *cmd], cwd=self.dir, check=True, capture_output=True)

    def sign(self, exe, password="throw-away"):
        """sign.sh on exe with the PFX, or without settings (password None)."""
        env = {k: v for k, v in os.environ.items() if not k.startswith("SIGN_")}
        env["TMPDIR"] = str(self.dir / "tmp")
        if password is not None:
            env.update(SIGN_PFX=str(self.dir / "maker.pfx"), SIGN_PASS=password)
        p = subprocess.run(["bash", SIGN, exe], env=env, capture_output=True, text=True)
        return p.returncode, p.stdout + p.stderr

    def signed_copy(self, exe, folder):
        """A signed copy of exe, checked; answers it and its unsigned size."""
        copy = self.dir / folder / Path(exe).name
        copy.parent.mkdir()
        shutil.copy(exe, copy)
        self.assertEqual(self.sign(copy, None)[0], 0)  # as linked, should it have been signed
        unsigned = copy.stat().st_size
        self.assertEqual(self.sign(copy)[0], 0)
        verify = subprocess.run(["osslsigncode", "verify", "-CAfile", self.dir / "cert.pem",
                                 "-in", copy], capture_output=True, text=True)
        self.assertEqual(verify.returncode, 0, verify.stdout + verify.stderr)
        self.assertGreater(copy.stat().st_size, unsigned)
        return copy, unsigned

    def test_signed_installers_verify_and_install(self):
        shipped, unsigned = self.signed_copy(os.environ["SHIPPED_INSTALLER"], "shipped")
        # A failed signing leaves the file and its folder as they were;
        # signing nothing takes the signature off; no password file stays.
        signed = shipped.read_bytes()
        rc, out = self.sign(shipped, "not the password")
        self.assertTrue(rc != 0 and "could not sign" in out and "not the password" not in out, out)
        self.assertTrue(shipped.read_bytes() == signed, "the failed signing changed the file")
        self.assertEqual(list(shipped.parent.iterdir()), [shipped])
        self.assertEqual((self.sign(shipped, None)[0], shipped.stat().st_size), (0, unsigned))
        self.assertEqual(list((self.dir / "tmp").iterdir()), [])

        run, _ = self.signed_copy(e2e.INSTALLER, "run")
        pre = self.fresh(e2e.any_arch())
        proc = self.start(pre, run)
        hwnd = self.main_window(pre, proc)
        self.to_setup_page(pre, hwnd)
        self.drive(pre, "tap", hwnd, "Install")
        self.answer_until_exit(pre, proc, pre.arch, "signed")
        self.assertEqual(proc.returncode, 0)
        conf = ["dosbox.conf"] if pre.arch == "win64" else []  # the 64-bit closing step's
        self.assert_installed(pre.host("C:\\kx"), extra=conf)
