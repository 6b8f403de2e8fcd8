"""The set-up's decisions (scripts/deps.sh and scripts/wine32.sh) under
stand-ins for apt-get, dpkg-query and dpkg: a mirror in mid-sync, 32-bit Wine
that apt cannot install, and a machine where everything installs. The real
archive is never asked."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
STANDIN = Path(__file__).resolve().parent / "standin.sh"
EMULATED = ("deps: 32-bit Wine cannot be installed here (apt: held broken packages); "
            "the shipped 32-bit build is tested in the emulated machine")


class SetUp(unittest.TestCase):
    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="deps-test-"))
        self.addCleanup(shutil.rmtree, self.tmp)
        # The scripts, with a kernel that runs 32-bit code whatever this one does.
        scripts = self.tmp / "scripts"
        scripts.mkdir()
        for name in ("deps.sh", "wine32.sh"):
            shutil.copy(SOURCE / "scripts" / name, scripts / name)
        (scripts / "runs-i386.sh").write_text("exit 0\n")
        self.deps = scripts / "deps.sh"
        bin_dir = self.tmp / "bin"
        bin_dir.mkdir()
        for name in ("apt-get", "dpkg-query", "dpkg", "sudo"):
            os.symlink(STANDIN, bin_dir / name)
        loader = bin_dir / "wine32-loader"
        loader.write_text("#!/bin/sh\nexit 0\n")
        loader.chmod(0o755)
        self.state = self.tmp / "state"
        self.state.mkdir()
        # libdeflate's source is there already: no apt-get source.
        (self.tmp / "build/third_party/libdeflate").mkdir(parents=True)
        (self.tmp / "build/third_party/libdeflate/libdeflate.h").touch()
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("STANDIN", "VM32"))}
        self.env.pop("PELLION_ROUTE_SAID", None)
        self.env.update(PATH=f"{bin_dir}:{os.environ['PATH']}", STANDIN=str(self.state),
                        PELLION_WINE32_LOADER=str(loader), PELLION_APT_RETRY_SECONDS="0")

    def run_deps(self, **env):
        (self.state / "calls.txt").write_text("")
        r = subprocess.run(["bash", str(self.deps), str(self.tmp / "build")],
                           env=dict(self.env, **env), stdin=subprocess.DEVNULL,
                           capture_output=True, text=True, timeout=60)
        calls = (self.state / "calls.txt").read_text().splitlines()
        return r.returncode, r.stderr.splitlines(), calls

    def installed(self):
        return (self.state / "installed.txt").read_text().split()

    def native(self):
        return subprocess.run(["sh", str(self.deps.parent / "wine32.sh")], env=self.env).returncode == 0

    def test_mirror_in_mid_sync_and_no_32bit_wine_take_the_emulated_route(self):
        broken = dict(STANDIN_BREAK_UPDATE="1", STANDIN_BROKEN="wine32:i386")
        rc, err, calls = self.run_deps(**broken)
        self.assertEqual(rc, 0, err)
        self.assertEqual(calls.count("apt-get update -qq"), 3, calls)
        failed = [line for line in err if line.startswith("deps: apt-get update failed")]
        self.assertEqual(len(failed), 1, err)
        self.assertIn("binary-i386/Packages.xz", failed[0])
        self.assertEqual(err.count(EMULATED), 1, err)
        self.assertNotIn("wine32:i386", self.installed())
        for p in ("wine64", "xvfb", "qemu-system-x86", "debootstrap"):
            self.assertIn(p, self.installed())
        self.assertFalse(self.native())

        # Again: no update, nothing installed, the same one line.
        rc, err, calls = self.run_deps(**broken)
        self.assertEqual((rc, err), (0, [EMULATED]))
        self.assertFalse([c for c in calls if c.startswith("apt-get") and "-s" not in c.split()], calls)

        # The route may be told to stay quiet when the caller said it already.
        rc, err, _ = self.run_deps(PELLION_ROUTE_SAID="1", **broken)
        self.assertEqual((rc, err), (0, []))

    def test_everything_installs_takes_the_native_route(self):
        rc, err, calls = self.run_deps()
        self.assertEqual(rc, 0, err)
        self.assertEqual(calls.count("apt-get update -qq"), 1, calls)
        self.assertIn("wine32:i386", self.installed())
        self.assertNotIn("qemu-system-x86", self.installed())
        self.assertFalse([line for line in err if "emulated" in line or "failed" in line], err)
        self.assertTrue(self.native())
        # Everything there: silent, and apt is not asked at all.
        rc, err, calls = self.run_deps()
        self.assertEqual((rc, err), (0, []))
        self.assertFalse([c for c in calls if c.startswith("apt-get")], calls)

    def test_a_package_that_cannot_be_installed_stops_with_apt_s_reason(self):
        rc, err, _ = self.run_deps(STANDIN_MISSING="dosbox")
        self.assertEqual(rc, 1, err)
        self.assertIn("deps: apt-get install failed: E: Unable to locate package dosbox", err)
        self.assertTrue(any("try 'apt-get update'" in line for line in err), err)


if __name__ == "__main__":
    unittest.main()
