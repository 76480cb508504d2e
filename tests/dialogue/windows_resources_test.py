"""Reads the version information, the icon and the manifest of the built Windows program, as
Windows shows them under the program's Properties, Details, and in Explorer; the DLLs it
needs; and the German guide beside it, as the zip and the installer carry them."""

import os
import re
import subprocess
import unittest

from program import COMMAND, RUN_SECONDS

RESOURCE_READER = os.environ["SPHENISCHEZAHLEN_RESOURCE_READER"].split("\n")
VERSION = os.environ["SPHENISCHEZAHLEN_VERSION"]
OBJDUMP = os.environ.get("SPHENISCHEZAHLEN_OBJDUMP")
# The DLLs that every Windows has, which alone the program may need.
WINDOWS_DLLS = re.compile(r"(kernel32|msvcrt|ucrtbase|user32|advapi32|api-ms-win-.*)\.dll", re.I)


class WindowsResources(unittest.TestCase):
    def test_details_in_german_and_a_manifest_for_windows_7_to_11(self):
        shown = subprocess.run(RESOURCE_READER + [COMMAND[-1]], capture_output=True,
                               timeout=RUN_SECONDS, check=True).stdout.decode("utf-8")
        details, _, manifest = shown.replace("\r\n", "\n").partition("\n\n")
        self.assertEqual(dict(line.split("=", 1) for line in details.split("\n")), {
            "Translation": "040704b0",  # German, Unicode
            "FileDescription": "Listet die sphenischen Zahlen zwischen zwei Grenzen auf",
            "FileVersion": VERSION,
            "InternalName": "sphenischezahlen.exe",
            "OriginalFilename": "sphenischezahlen.exe",
            "ProductName": "sphenischezahlen",
            "ProductVersion": VERSION,
            "Icons": "16,24,32,48,256",
        })
        self.assertIn('<requestedExecutionLevel level="asInvoker" uiAccess="false"/>', manifest)
        for windows_version in ("35138b9a-5d96-4fbd-8e2d-a2440225f93a",  # 7
                                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",  # 8
                                "1f676c76-80e1-4239-95bb-83d0f6d0da78",  # 8.1
                                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):  # 10 and 11
            self.assertIn(f'<supportedOS Id="{{{windows_version}}}"/>', manifest)

    @unittest.skipUnless(OBJDUMP, "needs objdump for Windows programs")
    def test_needs_no_dll_that_windows_lacks(self):
        shown = subprocess.run([OBJDUMP, "-p", COMMAND[-1]], capture_output=True, text=True,
                               timeout=RUN_SECONDS, check=True).stdout
        dlls = re.findall(r"DLL Name: (\S+)", shown)
        self.assertTrue(dlls, shown[:200])
        self.assertEqual([dll for dll in dlls if not WINDOWS_DLLS.fullmatch(dll)], [])

    def test_the_german_guide_is_ascii_with_cr_lf_and_names_the_report_file(self):
        with open(os.path.join(os.path.dirname(COMMAND[-1]), "LIESMICH.txt"), "rb") as guide:
            text = guide.read()
        self.assertEqual((text.isascii(), text.replace(b"\r\n", b"").count(b"\n"),
                          text.endswith(b"\r\n"), b"sphenischezahlen.txt" in text),
                         (True, 0, True, True))


if __name__ == "__main__":
    unittest.main()
