"""Starts the built program for the process tests and knows the texts it shows; the package
check runs the packaged program with the same texts."""

import os
import signal
import subprocess
import tempfile
import threading
import time

# The command that starts the program, one part per line, e.g. "build/test/sphenischezahlen"
# or "/usr/lib/wine/wine64" and "build/windows/sphenischezahlen.exe": a blank in a path stays.
COMMAND = os.environ.get("SPHENISCHEZAHLEN_COMMAND", "sphenischezahlen").split("\n")
RUNS_WINDOWS_PROGRAM = COMMAND[-1].lower().endswith(".exe")
# Beside a Windows program: the command of a reader that denies writers, given a file name.
DENY_WRITE_READER = [part for part in
                     os.environ.get("SPHENISCHEZAHLEN_DENY_WRITE_READER", "").split("\n") if part]
# A library that makes a system call fail on the report file, where the build has one.
FAILING_CALLS = os.environ.get("SPHENISCHEZAHLEN_FAILING_CALLS")
# On Windows the key wait reads the console even when input is piped, so the tests start the
# program without one there: then it finds no key to wait for.
NO_CONSOLE = {"creationflags": subprocess.DETACHED_PROCESS} if os.name == "nt" else {}
# The longest any wait of a test may take, so that a hang fails fast; four times as long
# under an emulator (Wine, qemu), which may run on a loaded machine.
RUN_SECONDS = 80 if len(COMMAND) > 1 else 20
# The signals that end a run from outside.
ENDING_SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT) \
    if os.name == "posix" else ()

INTRODUCTION = (
    "Das Programm berechnet alle sphenischen Zahlen zwischen zwei Grenzen.\n"
    "Untere Grenze minimal 0, obere Grenze maximal 4,2 Mrd.\n"
    "Abbruch mit Strg-C\n"
)
LOWER_PROMPT = "untere Grenze: "
UPPER_PROMPT = "obere Grenze: "
CLOSING_PROMPT = "Druecken Sie eine beliebige Taste:"
LINES_1_TO_100 = ["30=2*3*5", "42=2*3*7", "66=2*3*11", "70=2*5*7", "78=2*3*13"]
REPORT_FILE = "sphenischezahlen.txt"
# The report file is a text file: its lines end the way the program's platform ends them.
REPORT_NEWLINE = b"\r\n" if RUNS_WINDOWS_PROGRAM else b"\n"
# Windows reports a directory in the way of the file as missing permission.
DIRECTORY_REASON = (": keine Schreibberechtigung" if RUNS_WINDOWS_PROGRAM
                    else ": es ist ein Verzeichnis")


# The program's messages on standard error, one line each: {reason} for the cause that some
# name, {bound} for "untere" or "obere".
MESSAGES = {
    "bound": "Fehler: Die {bound} Grenze muss eine ganze Zahl von 0 bis 4294967295 sein.",
    "not opened": "Fehler: Die Datei {file} kann nicht zum Schreiben geoeffnet werden{reason}.",
    "broken off": "Fehler: Die Datei {file} kann nicht weiter geschrieben werden{reason}. Ab hier"
                  " fehlen die Zeilen in der Datei.",
    "not cut back": "Fehler: Die Datei {file} kann nicht weiter geschrieben werden{reason}. Ab"
                    " hier fehlen die Zeilen in der Datei; sie kann mit einer unvollstaendigen"
                    " Zeile enden.",
    "not closed": "Fehler: Die Datei {file} kann nicht fertig geschrieben werden{reason}."
                  " Moeglicherweise fehlen Zeilen in der Datei.",
    "not lockable": "Warnung: Die Datei {file} laesst sich hier nicht sperren. Ein zweiter Lauf in"
                    " diesem Verzeichnis wuerde nicht abgewiesen.",
    "in use": "Fehler: Die Datei {file} wird gerade von einem anderen Lauf geschrieben. Starten"
              " Sie diesen Lauf in einem anderen Verzeichnis.",
    "name lost": "Fehler: Die Datei {file} wurde waehrend des Laufs entfernt oder ersetzt. Die"
                 " Zeilen dieses Laufs stehen nicht darin.",
    "lines lost": "Fehler: Die Datei {file} wurde waehrend des Laufs von einem anderen Programm"
                  " gekuerzt oder ueberschrieben. Zeilen dieses Laufs fehlen darin, und eine Zeile"
                  " darin kann abgeschnitten sein.",
}


def message(kind, reason="", bound=""):
    """Returns the line of MESSAGES[kind] with its line break, as standard error shows it."""
    return MESSAGES[kind].format(file=REPORT_FILE, reason=reason, bound=bound) + "\n"


def transcript(result_lines):
    """Returns standard output of a run whose input is piped in and scans without fault."""
    lines = "".join(line + "\n" for line in result_lines)
    return INTRODUCTION + LOWER_PROMPT + UPPER_PROMPT + lines + CLOSING_PROMPT


def report_bytes(result_lines):
    """Returns the report file that holds result_lines."""
    return b"".join(line.encode("ascii") + REPORT_NEWLINE for line in result_lines)


def result_lines(stdout):
    """Returns the whole result lines in the standard output of a run with piped input."""
    scanned = stdout.removeprefix(INTRODUCTION + LOWER_PROMPT + UPPER_PROMPT)
    return scanned.split("\n")[:-1]


def console_text(raw):
    """Decodes console bytes, whose lines end in CR LF, as a text stream's do on Windows, where
    the program is a Windows program, and in LF elsewhere; returns them with LF alone."""
    text = raw.decode("ascii")
    if RUNS_WINDOWS_PROGRAM:
        assert text.count("\n") == text.count("\r\n"), f"a line end without CR: {text!r}"
    return text.replace("\r\n", "\n")


def failing(mode):
    """Returns the environment in which FAILING_CALLS makes a system call fail or stall as
    mode names (see failing_calls.c)."""
    return dict(os.environ, LD_PRELOAD=FAILING_CALLS, SPHENISCHEZAHLEN_FAIL=mode)


def with_default_signals(then=None):
    """Returns what a POSIX child runs before the program: the ending signals get their
    default actions, which a parent such as a background job may have changed; then then."""
    def set_up():
        for ending_signal in ENDING_SIGNALS:
            signal.signal(ending_signal, signal.SIG_DFL)
        if then:
            then()
    return set_up if os.name == "posix" else None


def run(typed, directory, arguments=(), command=COMMAND, **options):
    """Runs command in directory with typed as its whole standard input and options for
    subprocess.run; returns the completed process with stdout and stderr as text."""
    completed = subprocess.run(
        command + list(arguments), input=typed.encode("ascii"), cwd=directory,
        stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=RUN_SECONDS, check=False,
        **NO_CONSOLE, **options)
    completed.stdout = console_text(completed.stdout)
    completed.stderr = console_text(completed.stderr)
    return completed


def end_program(program):
    """Kills program if it still runs, waits for it and closes its pipes."""
    if program.poll() is None:
        program.kill()
    program.wait()
    for stream in (program.stdin, program.stdout, program.stderr):
        if stream:
            stream.close()


class ProgramDirectory:
    """Mixin for unittest cases: each test gets a fresh, empty current directory."""

    def setUp(self):
        temporary = tempfile.TemporaryDirectory()
        self.addCleanup(temporary.cleanup)
        self.directory = temporary.name

    def run_program(self, typed, arguments=(), **options):
        return run(typed, self.directory, arguments, **options)

    def read_until(self, stream, text, seen=lambda shown: shown):
        """Reads stream, a file descriptor or a program's standard output, until seen(what it
        gave) ends with text; returns all it gave. A program's deadline ends the read (see
        start_program)."""
        stream = stream.stdout.fileno() if hasattr(stream, "stdout") else stream
        shown = b""
        while not seen(shown).endswith(text.encode("ascii")):
            try:
                chunk = os.read(stream, 4096)
            except OSError:  # a terminal whose program has ended
                chunk = b""
            self.assertTrue(chunk, f"no {text!r} in {shown!r}")
            shown += chunk
        return shown

    def start_program(self, typed=b"", end_input=False, preexec_fn=None, **options):
        """Starts the program with pipes for all three standard streams, or the streams in
        options, after preexec_fn with the ending signals at their defaults, and types typed
        into it, then ends its input if told to. It is killed at its deadline, RUN_SECONDS
        later, so that every wait for it ends, and it is ended and its pipes are closed when
        the test is over."""
        streams = {"stdin": subprocess.PIPE, "stdout": subprocess.PIPE,
                   "stderr": subprocess.PIPE}
        program = subprocess.Popen(COMMAND, cwd=self.directory,
                                   preexec_fn=with_default_signals(preexec_fn),
                                   **{**streams, **NO_CONSOLE, **options})
        deadline = threading.Timer(RUN_SECONDS, program.kill)
        deadline.start()
        self.addCleanup(end_program, program)
        self.addCleanup(deadline.cancel)
        if program.stdin:
            program.stdin.write(typed)
            if end_input:
                program.stdin.close()
            else:
                program.stdin.flush()
        return program

    def start_stalled_scan(self):
        """Starts a scan whose console is not read yet: it fills its pipe, made as small as
        Linux makes one, and stalls, with lines in its file that grows no more (a file of an
        earlier run is removed first). Returns the program. Under Wine a full pipe holds up
        no write: there the scan finds 25000067 at once, then tests the prime 25000069 for
        most of a second, and only then finds 25000071."""
        if os.path.exists(self.report_path()):
            os.remove(self.report_path())
        program = self.start_program()
        if RUNS_WINDOWS_PROGRAM:
            program.stdin.write(b"25000067\n25000071\n")
        else:
            import fcntl  # POSIX only
            fcntl.fcntl(program.stdout.fileno(), fcntl.F_SETPIPE_SZ, 4096)
            program.stdin.write(b"1\n5000\n")
        program.stdin.flush()
        deadline = time.monotonic() + RUN_SECONDS
        size = lambda: os.path.getsize(self.report_path()) if os.path.exists(self.report_path()) \
            else 0
        seen = 0
        while not size() or (not RUNS_WINDOWS_PROGRAM and size() != seen):
            assert time.monotonic() < deadline, "no line in the file, or it grows on"
            seen = size()
            time.sleep(0.1)
        return program

    def interrupt_after(self, typed, seconds):
        """Starts the program, types typed, and after seconds sends it SIGINT, as Ctrl-C
        would; returns the program."""
        program = self.start_program(typed)
        time.sleep(seconds)
        program.send_signal(signal.SIGINT)
        return program

    def report_path(self):
        return os.path.join(self.directory, REPORT_FILE)

    def read_report(self):
        """Returns the report file's bytes."""
        with open(self.report_path(), "rb") as report:
            return report.read()
