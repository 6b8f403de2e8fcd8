"""The sample product's stand-ins are files of their real formats.

The DOS programs are checked for a consistent MZ header and, when DOSBox is
installed on this machine, run in it with their output captured.
"""

import os
import shutil
import struct
import subprocess
import tempfile
import unittest
from pathlib import Path

PRODUCT = Path(__file__).resolve().parents[2] / "product"
PROGRAMS = {"pnx.exe": "PNX.EXE", "veskpnx.exe": "VESKPNX.EXE", "lpf32.exe": "LPF32.EXE"}


class SampleProduct(unittest.TestCase):
    def test_mz_headers_describe_the_files(self):
        for name in PROGRAMS:
            data = (PRODUCT / name).read_bytes()
            magic, last, pages, relocs, header = struct.unpack_from("<2sHHHH", data)
            self.assertEqual(magic, b"MZ", name)
            self.assertEqual((pages - 1) * 512 + (last or 512), len(data), name)
            self.assertEqual(relocs, 0, name)
            self.assertIn(b"Pellion Version 3.14", data[header * 16:], name)

    def test_icon_is_one_32x32_image(self):
        data = (PRODUCT / "v.ico").read_bytes()
        reserved, kind, count = struct.unpack_from("<HHH", data)
        width, height, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        self.assertEqual((width, height, bits), (32, 32, 32))
        self.assertEqual(offset + size, len(data))

    @unittest.skipUnless(shutil.which("dosbox"), "DOSBox is not installed here")
    def test_programs_print_their_name_and_version_in_dosbox(self):
        with tempfile.TemporaryDirectory() as tmp:
            for name in PROGRAMS:
                shutil.copy(PRODUCT / name, tmp)
            commands = ["mount c " + tmp, "c:"]
            commands += [f"{name} > {Path(name).stem[:5]}.out" for name in PROGRAMS] + ["exit"]
            args = ["dosbox", "-noconsole"] + [a for c in commands for a in ("-c", c)]
            env = dict(os.environ, HOME=tmp, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
            subprocess.run(args, env=env, capture_output=True, timeout=120, check=True)
            for name, shown in PROGRAMS.items():
                wanted = Path(name).stem[:5] + ".out"  # DOSBox may upper-case it
                out = [p for p in Path(tmp).iterdir() if p.name.lower() == wanted]
                self.assertEqual(len(out), 1, name)
                out = out[0]
                self.assertEqual(out.read_bytes(),
                                 f"{shown}: Pellion Version 3.14 (sample stand-in)\r\n".encode())


if __name__ == "__main__":
    unittest.main()
