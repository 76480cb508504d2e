"""Checks a package as it leaves the build, member by member, so that a wrong package fails
at once: every member timed at the expected moment, owned by root, 0755 for folders and
programs and 0644 for the rest, members in the order of their paths, and for a .deb the
checksum of every file and an Installed-Size that counts its files as dpkg does, for an RPM
a change log that is CHANGELOG's, of its day, for an MSI its summary, codepage, files,
properties and components, and no GUID in lower case.
Reads .deb, .tar.gz, .zip, .rpm and .msi (the last two through the rpm tool and msiinfo).
Run by CPack (see package_rewrite.cmake) or by hand:

    python3 package_check.py PACKAGE SECONDS CHANGELOG_SECONDS [STAGED_FOLDER]

SECONDS is the expected time, in seconds since 1970 (UTC); CHANGELOG_SECONDS the time of the
newest CHANGELOG entry; STAGED_FOLDER, for a .deb, is the folder CPack staged it from, which
must hold nothing that the .deb does not carry.
"""

import hashlib
import io
import os
import platform
import re
import shutil
import stat
import struct
import subprocess
import sys
import tarfile
import tempfile
import time
import zipfile

# The programs, by the end of their paths.
PROGRAMS = ("bin/sphenischezahlen", "/sphenischezahlen.exe")
# What CPack stages for a .deb and the rewrite carries; anything else (a conffile, a
# maintainer script, a folder beside usr) would be lost without a word.
DEB_STAGED = {"control", "control.tar.gz", "data.tar.gz", "debian-binary", "md5sums", "usr"}
# The files of a Linux package below its prefix; the .deb also carries lintian's overrides.
LINUX_FILES = ["bin/sphenischezahlen", "share/doc/sphenischezahlen/README.md",
               "share/doc/sphenischezahlen/changelog.gz",
               "share/man/de/man1/sphenischezahlen.1.gz", "share/man/man1/sphenischezahlen.1.gz"]
DEB_ONLY_FILES = ["share/lintian/overrides/sphenischezahlen"]
WINDOWS_FILES = ["LIESMICH.txt", "README.md", "sphenischezahlen.exe"]
# The DLLs that every Windows has, which alone the .exe may need.
WINDOWS_DLLS = re.compile(r"(kernel32|msvcrt|ucrtbase|user32|advapi32|api-ms-win-.*)\.dll",
                          re.IGNORECASE)
# What the linters may still say: the .deb has no copyright file and the RPM no signature
# and no valid licence, until the project has a licence and a signing key.
LINTIAN_ALLOWED = {"E: sphenischezahlen: no-copyright-file"}
RPMLINT_ALLOWED = re.compile(r": (E: no-signature|W: invalid-license .*)$")
# The oldest glibc that README promises the Linux packages run on.
GLIBC = "2.34"
# What the program shows for the bounds 1 and 100, typed in at once.
SHOWN_FOR_1_TO_100 = (
    "Das Programm berechnet alle sphenischen Zahlen zwischen zwei Grenzen.\n"
    "Untere Grenze minimal 0, obere Grenze maximal 4,2 Mrd.\nAbbruch mit Strg-C\n"
    "untere Grenze: obere Grenze: 30=2*3*5\n42=2*3*7\n66=2*3*11\n70=2*5*7\n78=2*3*13\n"
    "Druecken Sie eine beliebige Taste:")


class Member:
    """One member of a package: its path, whether it is a folder, its permission bits, its
    time, its owner (numbers and names, None where the format has none) and its size."""

    def __init__(self, path, is_folder, mode, mtime, owner=(0, 0, "root", "root"), size=0):
        self.path = path.rstrip("/")
        self.is_folder = is_folder
        self.mode = mode & 0o7777
        self.mtime = mtime
        self.owner = owner
        self.size = size


def tar_members(archive):
    members = []
    for info in archive.getmembers():
        if not (info.isdir() or info.isreg()):
            raise SystemExit(f"{info.name}: neither a folder nor a regular file")
        members.append(Member(info.name, info.isdir(), info.mode, info.mtime,
                              (info.uid, info.gid, info.uname, info.gname), info.size))
    return members


def ar_members(path):
    """Returns the members of the ar archive at path as (name, mode, mtime, owner, data)."""
    with open(path, "rb") as package:
        content = package.read()
    if not content.startswith(b"!<arch>\n"):
        raise SystemExit(f"{path}: no ar archive")
    position, members = 8, []
    while position < len(content):
        header = content[position:position + 60]
        name = header[0:16].decode().strip().rstrip("/")
        mtime, uid, gid = (int(header[start:start + width]) for start, width
                           in ((16, 12), (28, 6), (34, 6)))
        mode, size = int(header[40:48], 8), int(header[48:58])
        data = content[position + 60:position + 60 + size]
        members.append((name, mode, mtime, (uid, gid, "root", "root"), data))
        position += 60 + size + size % 2
    return members


def with_folders(top, files):
    """Returns the paths of files below the folder top, with top and every folder on the way."""
    paths = {top}
    for file in files:
        parts = file.split("/")
        paths.update("/".join([top] + parts[:end]) for end in range(1, len(parts) + 1))
    return paths


def check_members(package, members, seconds, problems, expected_paths):
    """Every member timed at seconds, owned by root, of the mode its kind has, in the order of
    the paths, and exactly the paths expected: none missing, none stray."""
    paths = [member.path for member in members]
    if paths != sorted(paths, key=lambda path: path.split("/")):
        problems.append(f"{package}: members not in the order of their paths")
    if set(paths) != expected_paths:
        problems.append(f"{package}: missing {sorted(expected_paths - set(paths))}, "
                        f"stray {sorted(set(paths) - expected_paths)}")
    for member in members:
        program = not member.is_folder and member.path.endswith(PROGRAMS)
        expected_mode = 0o755 if member.is_folder or program else 0o644
        if member.mode != expected_mode:
            problems.append(f"{member.path}: mode {member.mode:04o}, not {expected_mode:04o}")
        if member.mtime != seconds:
            problems.append(f"{member.path}: time {member.mtime}, not {seconds}")
        if member.owner is not None and member.owner != (0, 0, "root", "root"):
            problems.append(f"{member.path}: owned by {member.owner}, not root")


def installed_size(members):
    """dpkg's count: each file's size in whole KiB, rounded up, one KiB for each folder."""
    return sum(1 if member.is_folder else (member.size + 1023) // 1024 for member in members)


def staged_size(folder, problems):
    """dpkg's count of the staged folder usr below folder, with the folder that holds usr."""
    kib = 2  # the package's root and usr
    for parent, folders, files in os.walk(os.path.join(folder, "usr")):
        for name in folders + files:
            path = os.path.join(parent, name)
            status = os.lstat(path)
            if stat.S_ISLNK(status.st_mode) or (stat.S_ISREG(status.st_mode)
                                                 and status.st_nlink > 1):
                problems.append(f"{path}: a link, which the packages are not made for")
            kib += 1 if stat.S_ISDIR(status.st_mode) else (status.st_size + 1023) // 1024
    return kib


def check_deb(package, seconds, staged, problems):
    members = ar_members(package)
    names = [name for name, *_ in members]
    if names != ["debian-binary", "control.tar.gz", "data.tar.gz"]:
        problems.append(f"{package}: ar members {names}")
    tars = {}
    for name, mode, mtime, owner, data in members:
        if mode & 0o7777 != 0o644 or mtime != seconds or owner[:2] != (0, 0):
            problems.append(f"{package}: ar member {name} is {mode:o}, {mtime}, {owner[:2]}")
        if name.endswith(".tar.gz"):
            tars[name] = tarfile.open(fileobj=io.BytesIO(data), mode="r:gz")
    data_members = tar_members(tars["data.tar.gz"])
    check_members(package, data_members, seconds, problems,
                  with_folders("./usr", LINUX_FILES + DEB_ONLY_FILES) | {"."})
    check_members(package, tar_members(tars["control.tar.gz"]), seconds, problems,
                  {".", "./control", "./md5sums"})
    # Every file's checksum, as dpkg --verify reads them.
    data = tars["data.tar.gz"]
    listed = tars["control.tar.gz"].extractfile("./md5sums").read().decode().splitlines()
    files = [f"{hashlib.md5(data.extractfile(info).read()).hexdigest()}  {info.name[2:]}"
             for info in data.getmembers() if info.isreg()]
    if sorted(listed) != sorted(files):
        problems.append(f"{package}: md5sums lists {listed}, its files are {files}")
    control = tars["control.tar.gz"].extractfile("./control").read().decode()
    sizes = [line.split(":")[1].strip() for line in control.splitlines()
             if line.startswith("Installed-Size:")]
    counted = installed_size(data_members)
    if sizes != [str(counted)]:
        problems.append(f"{package}: Installed-Size {sizes}, but its files count {counted}")
    depends = [line for line in control.splitlines() if line.startswith("Depends:")]
    if not depends or f"libc6 (>= {GLIBC})" not in depends[0]:
        problems.append(f"{package}: {depends}, not libc6 (>= {GLIBC})")
    if not problems:
        check_program(package, data.extractfile("./usr/bin/sphenischezahlen").read(), problems)
    check_findings(package, ["lintian", "--pedantic", "-I", "-E", "--fail-on", "none"],
                   lambda line: line in LINTIAN_ALLOWED, problems)
    if staged is not None:
        extra = set(os.listdir(staged)) - DEB_STAGED
        if extra:
            problems.append(f"{staged}: holds {sorted(extra)}, which the .deb does not carry")
        if staged_size(staged, problems) != counted:
            problems.append(f"{package}: Installed-Size {counted}, but the staged folder "
                            f"counts {staged_size(staged, [])}")


def check_zip(package, seconds, problems):
    # A zip's times have no zone and two seconds' steps: written as UTC, read back as such.
    members = []
    with zipfile.ZipFile(package) as archive:
        for info in archive.infolist():
            written = (time.gmtime(seconds - seconds % 2)[:6] == info.date_time)
            mode = info.external_attr >> 16
            members.append(Member(info.filename, info.is_dir(), mode,
                                  seconds if written else info.date_time, None, info.file_size))
        top = os.path.basename(package)[:-len(".zip")]
        check_members(package, members, seconds, problems, with_folders(top, WINDOWS_FILES))
        if not problems:
            check_windows_files(package, archive.read(f"{top}/LIESMICH.txt"),
                                archive.read(f"{top}/sphenischezahlen.exe"), problems)


def check_rpm(package, seconds, changelog_seconds, problems):
    query = ("[%{FILENAMES}\\t%{FILEMODES}\\t%{FILEMTIMES}\\t%{FILEUSERNAME}\\t"
             "%{FILEGROUPNAME}\\n]")
    listing = subprocess.run(["rpm", "-qp", "--qf", query, package], check=True,
                             capture_output=True, text=True).stdout
    members = []
    for line in listing.splitlines():
        path, mode, mtime, user, group = line.split("\t")
        owner = (0, 0, "root", "root") if (user, group) == ("root", "root") else (user, group)
        members.append(Member(path, stat.S_ISDIR(int(mode)), int(mode), int(mtime), owner))
    check_members(package, members, seconds, problems,
                  {"/usr/" + file for file in LINUX_FILES} | {"/usr/share/doc/sphenischezahlen"})
    requires = subprocess.run(["rpm", "-qp", "--requires", package], check=True,
                              capture_output=True, text=True).stdout
    newest_glibc = max(re.findall(r"GLIBC_([0-9.]+)", requires), default="none",
                       key=lambda version: [int(part) for part in version.split(".")])
    if newest_glibc != GLIBC:
        problems.append(f"{package}: needs glibc {newest_glibc}, not {GLIBC}")
    if not problems:
        check_program(package, rpm_file(package, "./usr/bin/sphenischezahlen"), problems)
    rpmlint_settings = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                    "packaging", "rpmlint.toml")
    check_findings(package, ["rpmlint", "-c", rpmlint_settings],
                   lambda line: not re.search(r": [EW]: ", line) or RPMLINT_ALLOWED.search(line),
                   problems)
    built = subprocess.run(["rpm", "-qp", "--qf", "%{BUILDTIME}", package], check=True,
                           capture_output=True, text=True).stdout
    if built != str(seconds):
        problems.append(f"{package}: build time {built}, not {seconds}")
    # The change log's newest entry: CHANGELOG's, of its day (rpm keeps a day's noon), not
    # CPack's placeholder.
    newest = subprocess.run(["rpm", "-qp", "--qf", "%{CHANGELOGTIME}\t%{CHANGELOGTEXT}",
                             package], check=True, capture_output=True, text=True).stdout
    noon = changelog_seconds - changelog_seconds % 86400 + 43200
    if newest.split("\t")[0] != str(noon) or "Generated by CPack" in newest:
        problems.append(f"{package}: change log {newest[:60]!r}, not CHANGELOG's of {noon}")
    # Every entry whole: its version and release, and each item with its continuation lines.
    # (rpm shows each entry's day in the local time zone: noon UTC is tomorrow in Kiritimati.)
    changelog = subprocess.run(["rpm", "-qp", "--changelog", package], check=True,
                               capture_output=True, text=True,
                               env=dict(os.environ, TZ="UTC")).stdout
    if changelog.strip() != expected_rpm_changelog().strip():
        problems.append(f"{package}: its change log is not CHANGELOG's:\n{changelog}")


def rpm_file(package, path):
    """Returns the bytes of the file at path (as "./usr/...") in the RPM's payload, which
    rpm2cpio gives as a cpio archive of the newc kind."""
    payload = subprocess.run(["rpm2cpio", package], check=True, capture_output=True).stdout
    position = 0
    while payload[position:position + 6] == b"070701":
        fields = [int(payload[position + 6 + 8 * i:position + 14 + 8 * i], 16) for i in range(13)]
        size, name_size = fields[6], fields[11]
        name_end = position + 110 + name_size
        name = payload[position + 110:name_end - 1].decode()
        data_start = (name_end + 3) & ~3
        if name == path:
            return payload[data_start:data_start + size]
        position = (data_start + size + 3) & ~3
    raise SystemExit(f"{package}: no {path} in it")


def check_program(package, program, problems):
    """Runs the program of a Linux package for the bounds 1 and 100, natively where this
    machine is of the package's processor, else under qemu-user where that is installed with
    the package's libraries, and checks what it shows."""
    emulators = {"arm64": ["qemu-aarch64", "-L", "/usr/aarch64-linux-gnu"],
                 "aarch64": ["qemu-aarch64", "-L", "/usr/aarch64-linux-gnu"]}
    native = {"x86_64": {"amd64", "x86_64"}, "aarch64": {"arm64", "aarch64"}}.get(
        platform.machine(), set())
    found = re.search(r"-Linux-([a-z0-9_]+)\.tar\.gz$|_([a-z0-9]+)\.deb$|\.([a-z0-9_]+)\.rpm$",
                      os.path.basename(package))
    processor = next((part for part in found.groups() if part), "") if found else ""
    command = [] if not processor or processor in native else emulators.get(processor)
    if command is None or (command and (shutil.which(command[0]) is None or
                                        not os.path.isdir(command[2]))):
        return
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "sphenischezahlen")
        with open(path, "wb") as copy:
            copy.write(program)
        os.chmod(path, 0o755)
        shown = subprocess.run(command + [path], input=b"1\n100\n", cwd=folder,
                               capture_output=True, timeout=60,
                               check=False).stdout.decode("ascii", "replace")
    if shown != SHOWN_FOR_1_TO_100:
        problems.append(f"{package}: its program shows {shown!r}")


def check_findings(package, linter, allowed, problems):
    """Runs linter (a command to which the package is added) where it is installed, and
    where SPHENISCHEZAHLEN_REQUIRE_LINTERS is set fails without it; every line it prints
    must be allowed."""
    if shutil.which(linter[0]) is None:
        if os.environ.get("SPHENISCHEZAHLEN_REQUIRE_LINTERS"):
            problems.append(f"{package}: {linter[0]} is required but not installed")
        return
    output = subprocess.run(linter + [package], capture_output=True, text=True,
                            check=False).stdout
    findings = [line for line in output.splitlines() if line and not allowed(line)]
    if findings:
        problems.append(f"{package}: {linter[0]} finds {findings}")


def pe_imports(program):
    """Returns the names of the DLLs that a 64-bit Windows program imports, from its import
    directory."""
    header = struct.unpack_from("<I", program, 0x3C)[0]
    sections_count, optional_size = struct.unpack_from("<H", program, header + 6)[0], \
        struct.unpack_from("<H", program, header + 20)[0]
    optional = header + 24
    imports_rva = struct.unpack_from("<I", program, optional + 112 + 8)[0]
    sections = [struct.unpack_from("<IIII", program, optional + optional_size + 40 * i + 8)
                for i in range(sections_count)]

    def offset(rva):
        for virtual_size, address, raw_size, raw_offset in sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw_offset
        raise SystemExit("an address outside every section")
    names, entry = [], offset(imports_rva)
    while any(program[entry:entry + 20]):
        name = offset(struct.unpack_from("<I", program, entry + 12)[0])
        names.append(program[name:program.index(b"\0", name)].decode())
        entry += 20
    return names


def check_windows_files(package, guide, program, problems):
    """The German guide in plain ASCII with CR LF line ends, naming the report file; the
    program with its version information and manifest, needing no DLL that Windows lacks."""
    if not guide.isascii() or guide.replace(b"\r\n", b"").count(b"\n") or not guide.endswith(
            b"\r\n") or b"sphenischezahlen.txt" not in guide:
        problems.append(f"{package}: LIESMICH.txt is not ASCII with CR LF, naming the file")
    version = re.search(r"-([0-9.]+)-win64\.zip$", package).group(1)
    for text in (f"FileVersion\0{version}", "ProductName\0sphenischezahlen"):
        if text.encode("utf-16-le") not in program.replace(b"\0\0\0\0", b"\0\0"):
            problems.append(f"{package}: the program has no {text!r} in its resources")
    if b'level="asInvoker"' not in program:
        problems.append(f"{package}: the program has no manifest that asks for no rights")
    foreign = [name for name in pe_imports(program) if not WINDOWS_DLLS.fullmatch(name)]
    if foreign:
        problems.append(f"{package}: the program needs {foreign}, which Windows does not have")


def expected_rpm_changelog():
    """Returns what rpm -q --changelog shows of CHANGELOG, the project's Debian change log:
    each entry as "* date name - version-release", its items as "- " lines whose
    continuation lines are indented by two blanks, and a blank line."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "CHANGELOG")
    entries, version, items = [], None, []
    with open(path, encoding="utf-8") as changelog:
        for line in changelog.read().splitlines():
            if line.startswith("sphenischezahlen ("):
                version, items = line.split("(")[1].split(")")[0], []
            elif line.startswith("  * "):
                items.append("- " + line[4:])
            elif line.startswith("    "):
                items.append("  " + line[4:])
            elif line.startswith(" -- "):
                name, date = line[4:].split("  ", 1)
                weekday, day, month, year = date.replace(",", "").split()[:4]
                entries.append(f"* {weekday} {month} {day} {year} {name} - {version}-1\n" +
                               "\n".join(items) + "\n")
    return "\n".join(entries)


def check_msi(package, seconds, problems):
    """The summary of a German 64-bit installer saved at SECONDS, the codepage 1252, and a
    cabinet that holds the program and its guide alone, each timed at SECONDS."""
    def msiinfo(*arguments):
        return subprocess.run(["msiinfo", arguments[0], package, *arguments[1:]], check=True,
                              capture_output=True, env=dict(os.environ, TZ="UTC")).stdout
    summary = dict(line.split(": ", 1) for line in msiinfo("suminfo").decode().splitlines())
    moment = time.asctime(time.gmtime(seconds))
    expected = {"Created": moment, "Last saved": moment, "Template": "x64;1031"}
    found = {name: summary.get(name) for name in expected}
    if found != expected:
        problems.append(f"{package}: summary {found}, not {expected}")
    if msiinfo("export", "_ForceCodepage").decode().splitlines()[2:3] != ["1252\t_ForceCodepage"]:
        problems.append(f"{package}: codepage not 1252")
    # The cabinet's file entries: size, offset and folder, then a DOS date and time, the
    # attributes and the name; their dates as gcab writes them, from the time in UTC.
    cabinet = msiinfo("extract", "sphenischezahlen.cab")
    offset, count = struct.unpack_from("<I", cabinet, 16)[0], struct.unpack_from("<H", cabinet, 28)[0]
    year, month, day, hour, minute, second = time.gmtime(seconds)[:6]
    dos_time = ((year - 1980) << 9 | month << 5 | day, hour << 11 | minute << 5 | second // 2)
    names = []
    for _ in range(count):
        date, clock = struct.unpack_from("<HH", cabinet, offset + 10)
        name = cabinet[offset + 16:cabinet.index(b"\0", offset + 16)].decode()
        names.append(name)
        if (date, clock) != dos_time:
            problems.append(f"{package}: {name} timed {date:04x} {clock:04x}, not {dos_time}")
        offset += 16 + len(name) + 1
    if sorted(names) != ["LIESMICH.txt", "sphenischezahlen.exe"]:
        problems.append(f"{package}: its cabinet holds {names}")
    # What Wine does not enforce but Windows does: GUIDs in upper case in every table, a
    # German product with no "Change" under Apps, and 64-bit components only.
    tables = {name: msiinfo("export", name).decode("utf-8", "replace")
              for name in msiinfo("tables").decode().split()}
    for name, table in tables.items():
        lower = [guid for guid in re.findall(r"\{[0-9A-Fa-f-]{36}\}", table) if guid != guid.upper()]
        if lower:
            problems.append(f"{package}: GUIDs with lower-case letters in {name}: {lower}")
    properties = dict(line.split("\t", 1) for line in tables["Property"].splitlines()[3:])
    for name, value in (("ProductLanguage", "1031"), ("ARPNOMODIFY", "1")):
        if properties.get(name) != value:
            problems.append(f"{package}: property {name} is {properties.get(name)}, not {value}")
    for line in tables["Component"].splitlines()[3:]:
        component, _, _, attributes = line.split("\t")[:4]
        if not int(attributes) & 256:  # msidbComponentAttributes64bit
            problems.append(f"{package}: component {component} is not a 64-bit one")


def main(package, seconds, changelog_seconds, staged=None):
    seconds, changelog_seconds, problems = int(seconds), int(changelog_seconds), []
    if package.endswith(".deb"):
        check_deb(package, seconds, staged, problems)
    elif package.endswith(".tar.gz"):
        with tarfile.open(package, "r:gz") as archive:
            top = os.path.basename(package)[:-len(".tar.gz")]
            check_members(package, tar_members(archive), seconds, problems,
                          with_folders(top, LINUX_FILES))
            if not problems:
                check_program(package, archive.extractfile(f"{top}/bin/sphenischezahlen").read(),
                              problems)
    elif package.endswith(".zip"):
        check_zip(package, seconds, problems)
    elif package.endswith(".rpm"):
        check_rpm(package, seconds, changelog_seconds, problems)
    elif package.endswith(".msi"):
        check_msi(package, seconds, problems)
    else:
        problems.append(f"{package}: no way to check this package")
    if problems:
        raise SystemExit("\n".join([f"{package} is wrong:"] + problems))


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
