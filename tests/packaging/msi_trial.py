"""Tries the Windows installer under Wine as a user would, in a fresh private Wine prefix:
installs it without a dialog, checks the files, the Start-menu shortcut and its working
folder, the entry under Apps, runs the installed program once, installs a higher version
over it (one product left, and the older one refused afterwards), and removes it, with
nothing of its files left. Run by CI with Wine 8 (Debian's wine64):

    python3 msi_trial.py INSTALLER.msi HIGHER_VERSION.msi

Wine runs everything as an administrator and writes the Apps entry below HKLM even for a
per-user installation, so both are accepted there; what only Windows can tell is not tried.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from program import LINES_1_TO_100  # noqa: E402  (the lines the program finds for 1 to 100)

WINE = ["setarch", "x86_64", "-R", "/usr/lib/wine/wine64"]
UNINSTALL_KEYS = [root + r"\Software\Microsoft\Windows\CurrentVersion\Uninstall"
                  for root in ("HKCU", "HKLM")]


def run(environment, *command, check=True, stdin=None):
    """Runs a Windows command under Wine; returns its exit status and its output as text."""
    completed = subprocess.run(WINE + list(command), env=environment, input=stdin,
                               capture_output=True, timeout=300, check=False)
    output = completed.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    print(f"$ {' '.join(command)}: exit {completed.returncode}")
    if check and completed.returncode != 0:
        raise SystemExit(f"{command} failed: {output}")
    return completed.returncode, output


def property_of(msi, name):
    """Returns the value of a property in the MSI's Property table."""
    table = subprocess.run(["msiinfo", "export", msi, "Property"], check=True,
                           capture_output=True, text=True).stdout
    return dict(line.split("\t", 1) for line in table.splitlines()[3:])[name]


def apps_entries(environment):
    """Returns the Apps (uninstall) entries that name sphenischezahlen: key and values."""
    entries = {}
    for key in UNINSTALL_KEYS:
        status, output = run(environment, "reg", "query", key, "/s", check=False)
        for block in output.split("\n\n") if status == 0 else []:
            lines = block.strip().splitlines()
            if lines and any("sphenischezahlen" in line for line in lines[1:]):
                values = {}
                for line in lines[1:]:
                    parts = line.split(None, 2)
                    values[parts[0]] = parts[2] if len(parts) == 3 else ""
                entries[lines[0]] = values
    return entries


def shortcut_working_folder(path):
    """Returns the working folder that a Windows shell link (.lnk) names, as lnkinfo reads it."""
    shown = subprocess.run(["lnkinfo", path], check=True, capture_output=True, text=True).stdout
    return re.search(r"Working directory\s*: (.*)", shown).group(1)


def main(installer, higher):
    prefix = tempfile.mkdtemp(prefix="sphenischezahlen-msi-")  # 0700, of this user alone
    try:
        environment = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
                           WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        run(environment, "wineboot", "--init")
        users = os.path.join(prefix, "drive_c", "users")
        user = os.path.join(users, next(name for name in os.listdir(users) if name != "Public"))
        program_folder = os.path.join(user, "AppData", "Local", "Programs", "sphenischezahlen")
        shortcut = os.path.join(user, "AppData", "Roaming", "Microsoft", "Windows",
                                "Start Menu", "Programs", "Sphenische Zahlen.lnk")

        run(environment, "msiexec", "/i", installer, "/qn")
        if sorted(os.listdir(program_folder)) != ["LIESMICH.txt", "sphenischezahlen.exe"]:
            raise SystemExit(f"installed: {os.listdir(program_folder)}")
        working_folder = shortcut_working_folder(shortcut)
        if not working_folder.rstrip("\\").endswith("Documents"):
            raise SystemExit(f"the shortcut works in {working_folder}")
        print(f"shortcut {os.path.basename(shortcut)} works in {working_folder}")
        entries = apps_entries(environment)
        product = property_of(installer, "ProductCode")
        (key, values), = entries.items()
        if not key.endswith(product) or values["DisplayVersion"] != property_of(
                installer, "ProductVersion") or values["Publisher"] != "sphenischezahlen":
            raise SystemExit(f"Apps shows {entries}")
        print(f"Apps: {key}: {values['DisplayName']} {values['DisplayVersion']}, "
              f"{values['Publisher']}")
        icon = os.path.join(user, "AppData", "Roaming", "Microsoft", "Installer", product,
                            "sphenischezahlen.ico")
        if not os.path.isfile(icon):
            raise SystemExit("the icon for Apps is not where Windows Installer keeps it")

        # Started as the shortcut starts it.
        program = (f"C:\\users\\{os.path.basename(user)}\\AppData\\Local\\Programs\\"
                   "sphenischezahlen\\sphenischezahlen.exe")
        _, shown = run(environment, "cmd", "/c", "cd", "/d", working_folder, "&&", program,
                       stdin=b"1\n100\n")
        with open(os.path.join(user, "Documents", "sphenischezahlen.txt"), "rb") as report:
            if report.read() != b"".join(line.encode() + b"\r\n" for line in LINES_1_TO_100):
                raise SystemExit(f"the installed program's report file is wrong: {shown}")
        print("the installed program wrote its report file into Documents")

        run(environment, "msiexec", "/i", higher, "/qn")
        entries = apps_entries(environment)
        if [key[-38:] for key in entries] != [property_of(higher, "ProductCode")]:
            raise SystemExit(f"after the upgrade Apps shows {list(entries)}")
        print(f"upgraded: one entry left, {list(entries.values())[0]['DisplayVersion']}")
        status, _ = run(environment, "msiexec", "/i", installer, "/qn", check=False)
        if status == 0 or len(apps_entries(environment)) != 1:
            raise SystemExit("the older installer was not refused")
        print("the older installer is refused")

        run(environment, "msiexec", "/x", higher, "/qn")
        left = [path for path in (program_folder, shortcut, icon) if os.path.exists(path)]
        if left or apps_entries(environment):
            raise SystemExit(f"left after removal: {left}, {apps_entries(environment)}")
        print("removed: no file, shortcut or Apps entry left")
    finally:
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix),
                       check=False)
        shutil.rmtree(prefix, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
