"""Reads the version information, the icon and the manifest of the built Windows program, as
Windows shows them under the program's Properties, Details, and in Explorer."""

import os
import subprocess
import unittest

from program import COMMAND, RUN_SECONDS

RESOURCE_READER = os.environ["SPHENISCHEZAHLEN_RESOURCE_READER"].split("\n")
VERSION = os.environ["SPHENISCHEZAHLEN_VERSION"]


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


if __name__ == "__main__":
    unittest.main()
