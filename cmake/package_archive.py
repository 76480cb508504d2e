"""Writes a folder as a .tar.gz or a .zip that depends on nothing but what the folder holds:
members in the order of their paths, owned by root (0), mode 0755 for folders and programs
and 0644 for the rest, all timed at one moment given in seconds since 1970 (UTC), and gzip'd
without a file name or time. Run by CPack (see package_rewrite.cmake):

    python3 package_archive.py FOLDER SECONDS OUTPUT.tar.gz|OUTPUT.zip
"""

import gzip
import os
import stat
import sys
import tarfile
import time
import zipfile


def members(folder):
    """Yields (name in the archive, path, is_folder) for folder, named by its last part, and
    everything below it: each folder before what it holds, names within a folder in byte
    order. Fails on anything that is neither a folder nor a regular file with one name."""
    def walk(path, name):
        mode = os.lstat(path).st_mode
        if stat.S_ISDIR(mode):
            yield name + "/", path, True
            for child in sorted(os.listdir(path), key=os.fsencode):
                yield from walk(os.path.join(path, child), name + "/" + child)
        elif stat.S_ISREG(mode) and os.lstat(path).st_nlink == 1:
            yield name, path, False
        elif stat.S_ISREG(mode):
            raise SystemExit(f"{path}: a hard link, which the packages are not made for")
        else:
            raise SystemExit(f"{path}: neither a folder nor a regular file")

    return walk(folder, os.path.basename(os.path.normpath(folder)))


def member_mode(path, is_folder):
    """Returns 0755 for a folder or a program (any execute bit), 0644 for any other file."""
    return 0o755 if is_folder or os.stat(path).st_mode & 0o111 else 0o644


def write_tar_gz(folder, seconds, output):
    with open(output, "wb") as raw, \
            gzip.GzipFile(filename="", mode="wb", compresslevel=9, fileobj=raw, mtime=0) as packed, \
            tarfile.open(fileobj=packed, mode="w", format=tarfile.GNU_FORMAT) as archive:
        for name, path, is_folder in members(folder):
            info = tarfile.TarInfo(name)
            info.type = tarfile.DIRTYPE if is_folder else tarfile.REGTYPE
            info.mode = member_mode(path, is_folder)
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            info.mtime = seconds
            if is_folder:
                archive.addfile(info)
            else:
                info.size = os.path.getsize(path)
                with open(path, "rb") as content:
                    archive.addfile(info, content)


def write_zip(folder, seconds, output):
    # A zip holds no time zone: its times are read as local times, so they are written in UTC.
    date_time = time.gmtime(seconds)[:6]
    with zipfile.ZipFile(output, "w") as archive:
        for name, path, is_folder in members(folder):
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 3  # Unix, so that the mode below counts
            file_type = stat.S_IFDIR if is_folder else stat.S_IFREG
            info.external_attr = (file_type | member_mode(path, is_folder)) << 16
            if is_folder:
                info.external_attr |= 0x10  # the MS-DOS folder flag
                archive.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as content:
                    archive.writestr(info, content.read(), compresslevel=9)


def main(folder, seconds, output):
    if output.endswith(".tar.gz"):
        write_tar_gz(folder, int(seconds), output)
    elif output.endswith(".zip"):
        write_zip(folder, int(seconds), output)
    else:
        raise SystemExit(f"{output}: neither .tar.gz nor .zip")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
