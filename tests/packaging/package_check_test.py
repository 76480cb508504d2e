"""Feeds package_check.py a wrong package of each kind, which it must refuse; lets
package_rewrite.cmake remove a package that fails its check; and makes the MSI with a wixl
that takes more than a second, whose package must still be stamped with the moment of the
stopped clock. Run by CTest as python3 -m unittest."""

import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(SOURCE, "cmake"))
import package_check  # noqa: E402  (found through the path above)

MOMENT = 1796774400  # Wed, 09 Dec 2026 00:00:00 UTC


class WrongPackages(unittest.TestCase):
    def setUp(self):
        temporary = tempfile.TemporaryDirectory()
        self.addCleanup(temporary.cleanup)
        self.folder = temporary.name

    def assert_refused(self, name, content, fault, given=None):
        path = os.path.join(self.folder, name)
        if content is not None:
            with open(path, "wb") as package:
                package.write(content)
        with self.assertRaises(SystemExit) as refusal:
            package_check.main(path, MOMENT, given)
        self.assertIn(fault, str(refusal.exception))

    def stage(self, paths):
        """Makes the folders and empty files of paths in a folder of their own, each timed at
        MOMENT; returns that folder. A folder is a path that others lie below."""
        staged = os.path.join(self.folder, "staged")
        for path in paths:
            if any(other.startswith(path + "/") for other in paths):
                os.makedirs(os.path.join(staged, path), exist_ok=True)
            else:
                os.makedirs(os.path.join(staged, os.path.dirname(path)), exist_ok=True)
                open(os.path.join(staged, path), "wb").close()
        subprocess.run(["find", staged, "-exec", "touch", "-d", f"@{MOMENT}", "{}", "+"],
                       check=True)
        return staged

    def test_a_stray_member_of_a_tar_gz(self):
        top = "sphenischezahlen-1.0.0-Linux"
        staged = self.stage(package_check.members_of("tar.gz", top) + [f"{top}/share/stray"])
        subprocess.run(["tar", "-czf", f"{self.folder}/{top}.tar.gz", "--sort=name", "--owner=0",
                        "--group=0", "--mode=u=rwX,go=rX", "-C", staged, top], check=True)
        self.assert_refused(top + ".tar.gz", None, f"stray ['{top}/share/stray']")

    def test_a_zip_member_of_another_time(self):
        top = "sphenischezahlen-1.0.0-win64"
        buffer = io.BytesIO()
        with zipfile.ZipFile(buffer, "w") as archive:
            for path in package_check.members_of("zip", top):
                moment = (1980, 1, 1, 0, 0, 0) if path.endswith(".md") else time.gmtime(MOMENT)[:6]
                info = zipfile.ZipInfo(path + ("/" if path == top else ""), moment)
                info.external_attr = (0o755 if path == top else 0o644) << 16
                archive.writestr(info, b"")
        self.assert_refused(top + ".zip", buffer.getvalue(), "README.md', '0o644', (1980")

    def test_a_deb_without_its_change_log(self):
        staged = self.stage([path for path in package_check.members_of("deb")
                             if "changelog" not in path])
        os.mkdir(os.path.join(staged, "DEBIAN"))
        with open(os.path.join(staged, "DEBIAN", "control"), "w") as control:
            control.write("Package: sphenischezahlen\nVersion: 1.0.0\nArchitecture: amd64\n"
                          "Maintainer: m <m@example.org>\nDescription: d\n d\n")
        subprocess.run(["dpkg-deb", "--root-owner-group", "-b", staged,
                        f"{self.folder}/sphenischezahlen_1.0.0_amd64.deb"], check=True,
                       capture_output=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(MOMENT)))
        self.assert_refused("sphenischezahlen_1.0.0_amd64.deb", None,
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
        self.assert_refused(os.path.join("RPMS", "noarch", "sphenischezahlen-1.0.0-1.noarch.rpm"),
                            None, "missing ['/usr/share/doc/sphenischezahlen'")

    def test_a_package_that_fails_its_check_is_removed_with_an_older_one_of_its_name(self):
        top = "sphenischezahlen-1.0.0-Linux"
        staged = os.path.join(self.stage([f"{top}/bin/sphenischezahlen"]), top)
        os.symlink("sphenischezahlen", os.path.join(staged, "bin", "link"))
        packages = [os.path.join(self.folder, folder, top + ".tar.gz")
                    for folder in ("cpack", "build")]
        for package in packages:
            os.makedirs(os.path.dirname(package))
            open(package, "wb").close()
        rewrite = subprocess.run([
            os.environ.get("CMAKE_COMMAND", "cmake"), f"-DCPACK_PACKAGE_FILES={packages[0]}",
            f"-DCPACK_TEMPORARY_DIRECTORY={staged}",
            f"-DCPACK_SPHENISCHEZAHLEN_SOURCE_DIR={SOURCE}",
            *(f"-D{name}={os.path.dirname(packages[1])}" for name in (
                "CPACK_PACKAGE_DIRECTORY", "CPACK_SPHENISCHEZAHLEN_PACKAGE_DIRECTORY")),
            f"-DCPACK_SPHENISCHEZAHLEN_PYTHON={sys.executable}",
            "-P", os.path.join(SOURCE, "cmake", "package_rewrite.cmake")],
            capture_output=True, text=True, env=dict(os.environ, SOURCE_DATE_EPOCH="0"))
        self.assertIn("is removed: its check failed", " ".join(rewrite.stderr.split()))
        self.assertEqual([os.path.exists(package) for package in packages], [False, False])

    @unittest.skipUnless(all(shutil.which(tool) for tool in ("wixl", "msibuild", "faketime",
                                                             "msiinfo")), "needs msitools")
    def test_an_msi_made_across_a_second_and_one_of_another_moment(self):
        made = [self.make_msi(version, moment) for version, moment in (
            ("1.0.0", MOMENT), ("9.9.9", MOMENT), ("1.0.0", MOMENT + 86400))]
        package_check.main(made[0], MOMENT)  # stamped with the stopped clock's moment
        with self.assertRaises(SystemExit) as refusal:
            package_check.main(made[0], MOMENT + 1)
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
        for name in ("sphenischezahlen.exe", "LIESMICH.txt"):
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
                        f"-DCPACK_PACKAGE_VERSION={version}",
                        "-DCPACK_SPHENISCHEZAHLEN_GERMAN_DESCRIPTION=Beschreibung",
                        "-P", os.path.join(SOURCE, "cmake", "package_msi.cmake")],
                       check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(moment),
                                            PATH=slow + os.pathsep + os.environ["PATH"]))
        return os.path.join(work, "msi", name + ".msi")


if __name__ == "__main__":
    unittest.main()
