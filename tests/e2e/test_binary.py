"""The installer executable itself: format, imports, manifest, version."""

import os
import re
import unittest

import pefile

INSTALLER = os.environ.get("INSTALLER", "")

# DLLs on Windows' known-DLL list (always loaded from the system folder),
# plus comctl32, which the manifest binds side by side.
ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll",
                   "oleaut32.dll", "advapi32.dll", "msvcrt.dll", "comctl32.dll", "comdlg32.dll",
                   "shlwapi.dll"}


@unittest.skipUnless(INSTALLER, "run through ctest in the cross build")
class InstallerBinary(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(INSTALLER)

    def resource(self, type_id):
        for entry in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if entry.id == type_id:
                leaf = entry.directory.entries[0].directory.entries[0].data.struct
                return self.pe.get_data(leaf.OffsetToData, leaf.Size)
        self.fail(f"no resource of type {type_id}")

    def test_is_a_32bit_gui_program(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, 0x14C)  # i386
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, 0x10B)  # PE32
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem, 2)  # Windows GUI

    def test_imports_only_system_dlls(self):
        dlls = {e.dll.decode().lower() for e in self.pe.DIRECTORY_ENTRY_IMPORT}
        self.assertTrue(dlls <= ALLOWED_IMPORTS, f"unexpected imports: {dlls - ALLOWED_IMPORTS}")
        for runtime in ("zlib1.dll", "libstdc++-6.dll", "libgcc_s_dw2-1.dll",
                        "libwinpthread-1.dll"):
            self.assertNotIn(runtime, dlls)

    def test_large_address_aware(self):
        # The whole decoded payload is held at once: 4 GiB on 64-bit Windows.
        self.assertTrue(self.pe.FILE_HEADER.Characteristics & 0x20,
                        "IMAGE_FILE_LARGE_ADDRESS_AWARE is not set")

    def test_sections_are_file_aligned_to_pages(self):
        self.assertEqual(self.pe.OPTIONAL_HEADER.FileAlignment, 4096)

    def test_manifest(self):
        manifest = self.resource(24).decode("utf-8")
        self.assertIn('level="asInvoker"', manifest)
        self.assertRegex(manifest, r'name="Microsoft.Windows.Common-Controls"\s+version="6.0.0.0"')
        self.assertGreaterEqual(len(re.findall(r"<supportedOS ", manifest)), 5)

    def test_version_information(self):
        strings = {}
        for info in self.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                for table in info.StringTable:
                    strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
        self.assertEqual(strings["ProductName"], "Pellion")
        self.assertEqual(strings["ProductVersion"], "3.14")
        self.assertEqual(strings["CompanyName"], "Tovarin")
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.ProductVersionMS >> 16, fixed.ProductVersionMS & 0xFFFF), (3, 14))


if __name__ == "__main__":
    unittest.main()
