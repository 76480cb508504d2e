"""Feeds package_check.py a wrong package of each kind, which it must refuse, and makes the
MSI with a wixl that takes more than a second, whose package must still be stamped with the
moment of the stopped clock; run by CTest as python3 -m unittest."""

import io
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
import unittest
import zipfile

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(SOURCE, "cmake"))
import package_check  # noqa: E402  (found through the path above)

MOMENT = 1796774400  # Wed, 09 Dec 2026 00:00:00 UTC


def tar_bytes(paths):
    """Returns a .tar.gz of the given paths (a trailing / for a folder), each right but for
    its content."""
    buffer = io.BytesIO()
    with tarfile.open(fileobj=buffer, mode="w:gz") as archive:
        for path in paths:
            info = tarfile.TarInfo(path.rstrip("/"))
            info.mtime, info.uname, info.gname = MOMENT, "root", "root"
            info.type = tarfile.DIRTYPE if path.endswith("/") else tarfile.REGTYPE
            info.mode = 0o755 if path.endswith("/") else 0o644
            archive.addfile(info, None if path.endswith("/") else io.BytesIO(b""))
    return buffer.getvalue()


def linux_paths(top, files):
    return sorted(package_check.with_folders(top, files),
                  key=lambda path: path.split("/"))


class WrongPackages(unittest.TestCase):
    def setUp(self):
        temporary = tempfile.TemporaryDirectory()
        self.addCleanup(temporary.cleanup)
        self.folder = temporary.name

    def assert_refused(self, name, content, fault):
        path = os.path.join(self.folder, name)
        with open(path, "wb") as package:
            package.write(content)
        with self.assertRaises(SystemExit) as refusal:
            package_check.main(path, MOMENT, MOMENT)
        self.assertIn(fault, str(refusal.exception))

    def test_a_stray_member_of_a_tar_gz(self):
        top = "sphenischezahlen-1.0.0-Linux"
        paths = linux_paths(top, package_check.LINUX_FILES + ["share/stray"])
        self.assert_refused(top + ".tar.gz", tar_bytes(
            [path + ("/" if path.count("/") < 3 and "." not in path else "") for path in paths]),
            f"stray ['{top}/share/stray']")

    def test_a_zip_member_of_another_time(self):
        top = "sphenischezahlen-1.0.0-win64"
        buffer = io.BytesIO()
        with zipfile.ZipFile(buffer, "w") as archive:
            for path in linux_paths(top, package_check.WINDOWS_FILES):
                moment = (1980, 1, 1, 0, 0, 0) if path.endswith(".md") else time.gmtime(MOMENT)[:6]
                info = zipfile.ZipInfo(path + ("/" if path == top else ""), moment)
                info.external_attr = (0o755 if path == top else 0o644) << 16
                archive.writestr(info, b"")
        self.assert_refused(top + ".zip", buffer.getvalue(), "README.md: time")

    def test_a_deb_without_its_change_log(self):
        files = [file for file in package_check.LINUX_FILES + package_check.DEB_ONLY_FILES
                 if not file.endswith("changelog.gz")]
        data = tar_bytes([path + "/" if not os.path.splitext(path)[1] and "bin/" not in path
                          and "overrides/" not in path else path
                          for path in linux_paths("./usr", files) + ["."]])
        control = tar_bytes(["./", "./control", "./md5sums"])
        members = [("debian-binary", b"2.0\n"), ("control.tar.gz", control),
                   ("data.tar.gz", data)]
        archive = b"!<arch>\n" + b"".join(
            f"{name:<16}{MOMENT:<12}0     0     100644  {len(body):<10}`\n".encode() + body +
            b"\n" * (len(body) % 2) for name, body in members)
        self.assert_refused("sphenischezahlen_1.0.0_amd64.deb", archive,
                            "missing ['./usr/share/doc/sphenischezahlen/changelog.gz']")

    @unittest.skipUnless(shutil.which("rpmbuild"), "needs rpmbuild")
    def test_an_rpm_with_the_program_alone(self):
        recipe = os.path.join(self.folder, "program-alone")
        with open(recipe, "w") as text:
            text.write("Name: sphenischezahlen\nVersion: 1.0.0\nRelease: 1\nSummary: s\n"
                       "License: none\nBuildArch: noarch\n%description\nd\n%install\n"
                       "mkdir -p %{buildroot}/usr/bin\n: > %{buildroot}/usr/bin/sphenischezahlen\n"
                       "%files\n/usr/bin/sphenischezahlen\n")
        subprocess.run(["rpmbuild", "-bb", "--quiet", "--define", f"_topdir {self.folder}",
                        recipe], check=True, capture_output=True)
        built = os.path.join(self.folder, "RPMS", "noarch", "sphenischezahlen-1.0.0-1.noarch.rpm")
        with open(built, "rb") as package:
            self.assert_refused("sphenischezahlen-1.0.0-1.noarch.rpm", package.read(),
                                "missing ['/usr/share/doc/sphenischezahlen'")

    @unittest.skipUnless(all(shutil.which(tool) for tool in ("wixl", "msibuild", "faketime",
                                                             "msiinfo")), "needs msitools")
    def test_an_msi_made_across_a_second_and_one_of_another_moment(self):
        made = [self.make_msi(version, moment) for version, moment in (
            ("1.0.0", MOMENT), ("9.9.9", MOMENT), ("1.0.0", MOMENT + 86400))]
        package_check.main(made[0], MOMENT, MOMENT)  # stamped with the stopped clock's moment
        with self.assertRaises(SystemExit) as refusal:
            package_check.main(made[0], MOMENT + 1, MOMENT)
        self.assertIn("summary", str(refusal.exception))
        codes = [subprocess.run(["msiinfo", "suminfo", msi], check=True, capture_output=True,
                                text=True).stdout.split("Revision number (UUID): ")[1][:38]
                 for msi in made]
        self.assertEqual(len(set(codes)), 3, f"the package code ignores version or date: {codes}")

    def make_msi(self, version, moment):
        """Makes the MSI of version at moment with package_msi.cmake from stand-ins for the
        program and its guide, with a wixl that takes 1.2 seconds; returns its path."""
        work = os.path.join(self.folder, f"{version}-{moment}")
        staged, slow = os.path.join(work, "staged"), os.path.join(self.folder, "slow")
        os.makedirs(staged)
        os.makedirs(slow, exist_ok=True)
        for name in ("sphenischezahlen.exe", "LIESMICH.txt", "sphenischezahlen.ico"):
            with open(os.path.join(staged, name), "wb") as stand_in:
                stand_in.write(name.encode())
        with open(os.path.join(slow, "wixl"), "w") as wrapper:
            wrapper.write(f"#!/bin/sh\nsleep 1.2\nexec {shutil.which('wixl')} \"$@\"\n")
        os.chmod(os.path.join(slow, "wixl"), 0o755)
        name = f"sphenischezahlen-{version}-win64"
        subprocess.run([os.environ.get("CMAKE_COMMAND", "cmake"),
                        f"-DCPACK_SPHENISCHEZAHLEN_SOURCE_DIR={SOURCE}",
                        f"-DCPACK_TOPLEVEL_DIRECTORY={work}", f"-DCPACK_PACKAGE_FILE_NAME={name}",
                        f"-DCPACK_TEMPORARY_DIRECTORY={staged}",
                        f"-DCPACK_SPHENISCHEZAHLEN_BINARY_DIR={staged}",
                        f"-DCPACK_PACKAGE_VERSION={version}",
                        "-DCPACK_SPHENISCHEZAHLEN_GERMAN_DESCRIPTION=Beschreibung",
                        "-P", os.path.join(SOURCE, "cmake", "package_msi.cmake")],
                       check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(moment),
                                            PATH=slow + os.pathsep + os.environ["PATH"]))
        return os.path.join(work, "msi", name + ".msi")


if __name__ == "__main__":
    unittest.main()
