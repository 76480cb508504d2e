"""Checks a package as it leaves the build, with the tools that read its kind, so that a
wrong package fails at once: the members that packaging/members lists for it, in that order,
each timed at SECONDS (since 1970, UTC), owned by root, 0755 for folders and programs, 0644
for the rest; and what only one kind has (see each check_ function). Run by CPack (see
package_rewrite.cmake) or by hand; the second form prints a .deb's Installed-Size:

    python3 package_check.py PACKAGE SECONDS [STAGED_FOLDER_OF_A_DEB | CHANGELOG_OF_AN_RPM]
    python3 package_check.py --installed-size FOLDER
"""

import hashlib
import io
import os
import platform
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
import zipfile

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(SOURCE, "tests"))
from program import LINES_1_TO_100, transcript  # noqa: E402  (the texts the program shows)

# What CPack stages for a .deb and the rewrite carries; anything else (a conffile, a
# maintainer script, a folder beside usr) would be lost without a word.
DEB_STAGED = {"control", "control.tar.gz", "data.tar.gz", "debian-binary", "md5sums", "usr"}
# The programs, by the end of their paths.
PROGRAMS = ("bin/sphenischezahlen", "/sphenischezahlen.exe")
# What the linters may still say, until the project has a licence and a signing key.
LINTIAN_ALLOWED = re.compile(r"E: sphenischezahlen: no-copyright-file")
RPMLINT_ALLOWED = re.compile(r"(?!.*: [EW]: ).*|.*: (E: no-signature|W: invalid-license .*)")
# The oldest glibc that README promises the Linux packages run on.
GLIBC = "2.34"


def run(*command, **options):
    """Returns what command prints, as text unless told otherwise, in UTC and the C locale."""
    return subprocess.run(command, check=True, capture_output=True, **{"text": True, **options},
                          env=dict(os.environ, TZ="UTC", LC_ALL="C")).stdout


def expect(problems, what, found, wanted):
    """Notes in problems what is found, where it is not what is wanted."""
    if found != wanted:
        problems.append(f"{what}: {found!r}, not {wanted!r}")


def members_of(kind, top=""):
    """Returns the paths that packaging/members lists for a package of kind."""
    with open(os.path.join(SOURCE, "packaging", "members", kind), encoding="ascii") as listed:
        return [line.strip().format(top=top) for line in listed if not line.startswith("#")]


def check_members(members, expected_paths, seconds, problems):
    """members: (path, is_folder, mode, mtime, owner or None where the format has none)."""
    paths = [path.rstrip("/") for path, *_ in members]
    expect(problems, f"members (missing {sorted(set(expected_paths) - set(paths))}, stray "
           f"{sorted(set(paths) - set(expected_paths))})", paths, expected_paths)
    expect(problems, "members of another mode, time or owner", [
        (path, oct(mode), mtime, owner) for path, is_folder, mode, mtime, owner in members
        if (mode & 0o7777, mtime, owner or ("root", "root")) != (
            0o755 if is_folder or path.endswith(PROGRAMS) else 0o644, seconds, ("root", "root"))],
        [])


def tar_members(archive):
    """The members of a tarfile; one that is neither a folder nor a regular file (a link)
    shows with the mode -1, which no member may have."""
    return [(info.name, info.isdir(), info.mode if info.isdir() or info.isreg() else -1,
             info.mtime, (info.uname, info.gname) if (info.uid, info.gid) == (0, 0) else info.uid)
            for info in archive.getmembers()]


def installed_size(entries):
    """dpkg's count of (is_folder, size) entries: each file in whole KiB, rounded up, and one
    KiB for each folder."""
    return sum(1 if is_folder else (size + 1023) // 1024 for is_folder, size in entries)


def check_deb(package, seconds, staged, problems):
    """Also: its ar members of root, 0644 and the minute of SECONDS, the checksum of every
    file, an Installed-Size as dpkg counts, glibc 2.34, and no more staged than it carries."""
    stamp = time.strftime("%b %e %H:%M %Y", time.gmtime(seconds))  # ar shows the minute alone
    expect(problems, "ar members", [re.sub(r" +\d+ ", " ", line, count=1)
                                    for line in run("ar", "tv", package).splitlines()],
           [f"rw-r--r-- 0/0 {stamp} {name}" for name in ("debian-binary", "control.tar.gz",
                                                         "data.tar.gz")])
    data, control = (tarfile.open(fileobj=io.BytesIO(run("dpkg-deb", part, package, text=False)))
                     for part in ("--fsys-tarfile", "--ctrl-tarfile"))
    check_members(tar_members(data), members_of("deb"), seconds, problems)
    check_members(tar_members(control), [".", "./control", "./md5sums"], seconds, problems)
    if problems:
        return
    listed = control.extractfile("./md5sums").read().decode().splitlines()
    files = [f"{hashlib.md5(data.extractfile(info).read()).hexdigest()}  {info.name[2:]}"
             for info in data.getmembers() if info.isreg()]
    expect(problems, "md5sums", sorted(listed), sorted(files))
    expect(problems, "Installed-Size", run("dpkg-deb", "--field", package, "Installed-Size"),
           f"{installed_size((info.isdir(), info.size) for info in data.getmembers())}\n")
    expect(problems, "glibc", f"libc6 (>= {GLIBC})" in run("dpkg-deb", "-f", package, "Depends"),
           True)
    if staged:
        expect(problems, f"{staged} beside usr", set(os.listdir(staged)) - DEB_STAGED, set())
    check_program(package, data.extractfile("./usr/bin/sphenischezahlen").read(), problems)
    check_findings(package, ["lintian", "--pedantic", "-I", "-E", "--fail-on", "none"],
                   LINTIAN_ALLOWED, problems)


def check_rpm(package, seconds, changelog, problems):
    """Also: glibc 2.34 the newest it needs, its build time SECONDS, and the change log it was
    given, whose newest entry is of CHANGELOG's day."""
    members = [(path, mode.startswith("04"), int(mode, 8), int(mtime), (user, group))
               for path, _, mtime, _, mode, user, group, *_ in
               (line.split() for line in run("rpm", "-qp", "--dump", package).splitlines())]
    check_members(members, members_of("rpm"), seconds, problems)
    needs = re.findall(r"GLIBC_([0-9.]+)", run("rpm", "-qp", "--requires", package))
    needs.sort(key=lambda version: [int(number) for number in version.split(".")])
    expect(problems, "newest glibc", needs[-1:], [GLIBC])
    day = int(run("dpkg-parsechangelog", "-l", f"{SOURCE}/CHANGELOG", "-STimestamp")) // 86400
    expect(problems, "build time, newest change", run(
        "rpm", "-qp", "--qf", "%{BUILDTIME} %{CHANGELOGTIME}", package),
        f"{seconds} {day * 86400 + 43200}")  # rpm keeps the noon of a change's day
    with open(changelog or os.devnull, encoding="utf-8") as given:
        expect(problems, "change log", run("rpm", "-qp", "--changelog", package).strip(),
               given.read().strip())
    if not problems:
        payload = run("rpm2cpio", package, text=False)
        program = run("cpio", "-i", "--quiet", "--to-stdout", "./usr/bin/sphenischezahlen",
                      input=payload, text=False)
        check_program(package, program, problems)
    check_findings(package, ["rpmlint", "-c", f"{SOURCE}/packaging/rpmlint.toml"],
                   RPMLINT_ALLOWED, problems)


def check_program(package, program, problems):
    """Runs the program of a Linux package for the bounds 1 and 100, natively where this
    machine is of the package's processor, else under qemu-user where that is installed with
    the package's libraries, and checks what it shows."""
    arm64 = re.search(r"(arm64|aarch64)\.(deb|rpm|tar\.gz)$", package) is not None
    emulator = [] if arm64 == (platform.machine() == "aarch64") else [
        "qemu-aarch64", "-L", "/usr/aarch64-linux-gnu"]
    if emulator and not (arm64 and shutil.which(emulator[0]) and os.path.isdir(emulator[-1])):
        return
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "sphenischezahlen"), "wb") as copy:
            copy.write(program)
        os.chmod(copy.name, 0o755)
        shown = subprocess.run(emulator + [copy.name], input=b"1\n100\n", cwd=folder,
                               capture_output=True, timeout=60, check=False).stdout
    expect(problems, "its program shows", shown.decode("ascii", "replace"),
           transcript(LINES_1_TO_100))


def check_findings(package, linter, allowed, problems):
    """Runs linter (a command to which the package is added) where it is installed, and
    where SPHENISCHEZAHLEN_REQUIRE_LINTERS is set fails without it; every line it prints
    must be allowed."""
    if shutil.which(linter[0]):
        output = subprocess.run(linter + [package], capture_output=True, text=True).stdout
        expect(problems, f"{linter[0]} finds", [line for line in output.splitlines()
                                                if line and not allowed.fullmatch(line)], [])
    elif os.environ.get("SPHENISCHEZAHLEN_REQUIRE_LINTERS"):
        problems.append(f"{linter[0]} is required but not installed")


def check_zip(package, seconds, problems):
    top = os.path.basename(package)[:-len(".zip")]
    with zipfile.ZipFile(package) as archive:
        # A zip's times have no zone and two seconds' steps: written as UTC, read back as such.
        written = time.gmtime(seconds - seconds % 2)[:6]
        check_members([(info.filename, info.is_dir(), info.external_attr >> 16,
                        seconds if info.date_time == written else info.date_time, None)
                       for info in archive.infolist()], members_of("zip", top), seconds, problems)


def check_msi(package, seconds, problems):
    """The summary of a German 64-bit installer saved at SECONDS, the codepage 1252, a cabinet
    that holds the program and its guide alone, each timed at SECONDS; what Wine does not
    enforce but Windows does: GUIDs in upper case, a German product with no "Change" under
    Apps, and 64-bit components only."""
    with tempfile.TemporaryDirectory() as folder:  # msiinfo writes a table's streams there
        def msiinfo(verb, *arguments, **options):
            return run("msiinfo", verb, os.path.abspath(package), *arguments, cwd=folder,
                       **options)
        summary = dict(line.split(": ", 1) for line in msiinfo("suminfo").splitlines())
        tables = {name: msiinfo("export", name) for name in msiinfo("tables").split()}
        with open(os.path.join(folder, "cabinet"), "wb") as cabinet:
            cabinet.write(msiinfo("extract", "sphenischezahlen.cab", text=False))
        listed = run("gcab", "-lv", cabinet.name).splitlines()
    moment = time.asctime(time.gmtime(seconds))
    expect(problems, "summary", [summary.get(name) for name in ("Created", "Last saved",
                                                                 "Template")],
           [moment, moment, "x64;1031"])
    expect(problems, "codepage", tables["_ForceCodepage"].splitlines()[2], "1252\t_ForceCodepage")
    stamp = time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(seconds - seconds % 2))
    expect(problems, "cabinet", sorted("{0} {2} {3}".format(*line.split()) for line in listed),
           [f"{name} {stamp}" for name in members_of("msi")])
    expect(problems, "GUIDs with lower-case letters", [
        guid for guid in re.findall(r"\{[0-9A-Fa-f-]{36}\}", "".join(tables.values()))
        if guid != guid.upper()], [])
    properties = dict(line.split("\t", 1) for line in tables["Property"].splitlines()[3:])
    expect(problems, "properties", (properties.get("ProductLanguage"),
                                    properties.get("ARPNOMODIFY")), ("1031", "1"))
    components = [line.split("\t") for line in tables["Component"].splitlines()[3:]]
    expect(problems, "components not of 64 bits",  # msidbComponentAttributes64bit
           [fields[0] for fields in components if not int(fields[3]) & 256], [])


def main(package, seconds, given=None):
    seconds, problems = int(seconds), []
    if package.endswith(".deb"):
        check_deb(package, seconds, given, problems)
    elif package.endswith(".tar.gz"):
        with tarfile.open(package, "r:gz") as archive:
            top = os.path.basename(package)[:-len(".tar.gz")]
            check_members(tar_members(archive), members_of("tar.gz", top), seconds, problems)
            if not problems:
                check_program(package, archive.extractfile(f"{top}/bin/sphenischezahlen").read(),
                              problems)
    elif package.endswith(".zip"):
        check_zip(package, seconds, problems)
    elif package.endswith(".rpm"):
        check_rpm(package, seconds, given, problems)
    elif package.endswith(".msi"):
        check_msi(package, seconds, problems)
    else:
        problems.append("no way to check this package")
    if problems:
        raise SystemExit("\n".join([f"{package} is wrong:"] + problems))


if __name__ == "__main__":
    if sys.argv[1:2] == ["--installed-size"] and len(sys.argv) == 3:
        listing = run("find", sys.argv[2], "-printf", "%y %s\n").split()
        print(installed_size(zip([kind == "d" for kind in listing[::2]], map(int, listing[1::2]))))
    elif len(sys.argv) in (3, 4):
        main(*sys.argv[1:])
    else:
        raise SystemExit(__doc__)
