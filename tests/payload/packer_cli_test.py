"""The payload packer's command line: what it writes, and what it refuses.

Runs the host-built packer (PACKER) over scratch folders. Every refusal must
name the file and the problem, exit non-zero and leave no output at all.
"""

import os
import subprocess
import tempfile
import time
import unittest
import zlib
from pathlib import Path

from payload_items import payload_items

PACKER = os.environ["PACKER"]
SEED = int(os.environ.get("PAYLOAD_SEED", "0x2F6B1D93"), 0)
ITEMS = payload_items()
SIX = [file for _, file in ITEMS]


def unscramble(data, seed):
    key = []
    for _ in range(50):
        seed = (seed * 134775813 + 1) % 2**32
        key.append((seed * 256) >> 32)
    return bytes((b - key[i % 50]) % 256 for i, b in enumerate(data))


class PackerCli(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.src = Path(self.tmp.name) / "src"
        self.out = Path(self.tmp.name) / "out"
        self.src.mkdir()
        for name in SIX:
            (self.src / name).write_bytes(name.encode() * 3)

    def tearDown(self):
        self.tmp.cleanup()

    def pack(self, *args, env=None):
        return subprocess.run([PACKER, *args, str(self.src), str(self.out)], capture_output=True,
                              text=True, env=env)

    def test_packs_the_six_items_with_the_rc(self):
        r = self.pack("--date", "2004-05-11 12:00:00")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(sorted(p.name for p in self.out.iterdir()),
                         sorted(["payload.rc"] + [f"{resource}.bin" for resource, _ in ITEMS]))
        self.assertIn('RS_ICON RCDATA "rs_icon.bin"', (self.out / "payload.rc").read_text())
        plain = unscramble((self.out / "rs_icon.bin").read_bytes(), SEED)
        self.assertEqual(plain[17:17 + plain[16]], b"v.ico")
        self.assertEqual(zlib.decompress(plain[47:]), b"v.ico" * 3)

    def test_same_input_gives_the_same_bytes(self):
        self.assertEqual(self.pack("--date", "2004-05-11 12:00:00").returncode, 0)
        first = {p.name: p.read_bytes() for p in self.out.iterdir()}
        for name in SIX:  # other last-write times must not matter with --date
            os.utime(self.src / name, (time.time(), time.time() - 86400 * 400))
        self.assertEqual(self.pack("--date", "2004-05-11 12:00:00").returncode, 0)
        self.assertEqual({p.name: p.read_bytes() for p in self.out.iterdir()}, first)

    def test_last_write_time_in_local_time(self):
        when = time.mktime((2010, 6, 15, 13, 45, 31, 0, 0, -1))  # odd second: rounds down
        os.utime(self.src / "pnx.exe", (when, when))
        env = dict(os.environ, TZ="UTC")
        self.assertEqual(self.pack("--item", "rs_cmd=pnx.exe", env=env).returncode, 0)
        plain = unscramble((self.out / "rs_cmd.bin").read_bytes(), SEED)
        expected = ((2010 - 1980) << 9 | 6 << 5 | 15) << 16 | (13 << 11 | 45 << 5 | 15)
        self.assertEqual(int.from_bytes(plain[12:16], "little"), expected)

    def test_seed_changes_the_scrambling_only(self):
        self.assertEqual(self.pack("--seed", "7", "--item", "rs_hlp=pnx.hlp").returncode, 0)
        plain = unscramble((self.out / "rs_hlp.bin").read_bytes(), 7)
        self.assertEqual(zlib.decompress(plain[47:]), b"pnx.hlp" * 3)

    def sparse(self, name, size):
        with open(self.src / name, "wb") as f:
            f.truncate(size)  # a hole: nothing is really written

    def refused(self, args, names, problem, make=None):
        if make:
            make()
        r = self.pack(*args)
        self.assertNotEqual(r.returncode, 0, args)
        for name in names:
            self.assertIn(name, r.stderr, args)
        self.assertIn(problem, r.stderr, args)
        self.assertFalse(self.out.exists() and any(self.out.iterdir()), f"output left: {args}")

    def test_refusals(self):
        rows = [
            # (arguments, texts naming the file, problem text, preparation)
            ([], ["lpf32.exe"], "no such file", lambda: (self.src / "lpf32.exe").unlink()),
            (["--item", "rs_a=" + "a" * 31], ["a" * 31], "longer than 30", None),
            (["--item", "rs_a=sub/x.exe"], ["sub/x.exe"], "folder part", None),
            (["--item", "rs_a=C:x.exe"], ["C:x.exe"], "drive", None),
            (["--item", "rs_a=.."], [".."], "not a file name", None),
            (["--item", "rs_a=a<b"], ["a<b"], "forbids", None),
            (["--item", "rs_a=a\tb"], ["a\tb"], "control character", None),
            (["--item", "rs_a=name."], ["name."], "dot or blank", None),
            (["--item", "rs_a=name "], ["name "], "dot or blank", None),
            (["--item", "rs_a=CON"], ["CON"], "device name", None),
            (["--item", "rs_a=NUL.txt"], ["NUL.txt"], "device name", None),
            (["--item", "rs_a=big.dat"], ["src/big.dat"], "2 GiB or more",
             lambda: self.sparse("big.dat", 2**31)),
            (["--item", "rs_a=pnx.exe"], ["src/pnx.exe"], "outside the DOS date range",
             lambda: os.utime(self.src / "pnx.exe", (0, 0))),
            (["--item", "rs_a=pnx.exe"], ["src/pnx.exe", "2108-"], "outside the DOS date range",
             lambda: os.utime(self.src / "pnx.exe", (4354819200, 4354819200))),
            (["--date", "1979-12-31 23:59:59"], ["1979-12-31"], "within 1980-2107", None),
            (["--seed", "0x100000000"], ["0x100000000"], "32-bit", None),
            (["--item", "rs_a=pnx.exe", "--item", "RS_A=v.ico"], ["RS_A"], "twice", None),
            (["--item", "1bad=pnx.exe"], ["1bad"], "not a resource name", None),
        ]
        for args, names, problem, make in rows:
            with self.subTest(args=args):
                self.tearDown()
                self.setUp()
                self.refused(args, names, problem, make)

    def test_one_bad_item_among_good_ones_writes_nothing(self):
        (self.src / "readme.txt").unlink()
        r = self.pack()
        self.assertNotEqual(r.returncode, 0)
        self.assertIn("readme.txt: no such file", r.stderr)
        self.assertFalse(self.out.exists())

    def test_help_explains_use(self):
        r = subprocess.run([PACKER, "--help"], capture_output=True, text=True)
        self.assertEqual(r.returncode, 0)
        for text in ("SOURCE_DIR OUTPUT_DIR", "--item", "--date", "--seed", "rs_cmd=pnx.exe"):
            self.assertIn(text, r.stdout)


if __name__ == "__main__":
    unittest.main()
