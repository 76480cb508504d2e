"""Runs the built program in a temporary directory and checks its report file."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import unittest

from program import (CLOSING_PROMPT, COMMAND, DENY_WRITE_READER,
                     DIRECTORY_REASON, ENDING_SIGNALS, FAILING_CALLS, LINES_1_TO_100,
                     LOWER_PROMPT, REPORT_FILE, REPORT_NEWLINE, RUN_SECONDS, RUNS_WINDOWS_PROGRAM,
                     UPPER_PROMPT, ProgramDirectory, console_text, failing, message, report_bytes,
                     result_lines, run, transcript)

OLD_LINES = b"30=2*3*5\n42=2*3*7\nan old line\n"


class ReportFile(ProgramDirectory, unittest.TestCase):
    def write_old_report(self):
        with open(self.report_path(), "wb") as report:
            report.write(OLD_LINES)

    def test_holds_the_result_lines_of_the_console(self):
        completed = self.run_program("1\n100\n")
        self.assertEqual(result_lines(completed.stdout), LINES_1_TO_100)
        self.assertEqual(self.read_report(), report_bytes(LINES_1_TO_100))

    def test_empty_scan_leaves_an_empty_file(self):
        for typed in ("100\n1\n", "31\n41\n"):
            with self.subTest(typed=typed):
                self.write_old_report()
                self.assertEqual(self.run_program(typed).returncode, 0)
                self.assertEqual(self.read_report(), b"")

    def test_old_lines_are_gone_before_the_first_prompt_is_answered(self):
        self.write_old_report()
        program = self.start_program()
        self.read_until(program, LOWER_PROMPT)
        self.assertEqual(self.read_report(), b"")
        program.stdin.write(b"30\n30\n")
        program.stdin.close()
        self.assertEqual(program.wait(timeout=RUN_SECONDS), 0)
        self.assertEqual(self.read_report(), report_bytes(["30=2*3*5"]))

    def test_run_goes_on_when_the_console_goes_away(self):
        typed = "1\n20000\n"
        expected = report_bytes(result_lines(run(typed, self.directory).stdout))
        os.remove(self.report_path())
        program = self.start_program(typed.encode("ascii"), end_input=True)
        for _ in range(10):
            program.stdout.readline()
        program.stdout.close()
        self.assertEqual(program.wait(timeout=RUN_SECONDS), 0)
        self.assertEqual(self.read_report(), expected)

    @unittest.skipIf(RUNS_WINDOWS_PROGRAM, "a Windows program gets Ctrl-C from its console")
    def test_interrupted_scan_keeps_every_line_shown(self):
        for seconds in (0.3, 0.4, 0.5, 0.6, 0.7):
            with self.subTest(seconds=seconds):
                program = self.interrupt_after(b"1\n200000\n", seconds)
                self.assertEqual(program.wait(timeout=RUN_SECONDS), -signal.SIGINT)
                console = result_lines(console_text(program.stdout.read()))
                self.assertGreater(len(console), 100, "interrupted too early to tell")
                # The file may be one line ahead of the console, never behind or inside one.
                report = self.read_report()
                self.assertTrue(report.endswith(REPORT_NEWLINE), "the file ends inside a line")
                in_file = console_text(report).split("\n")[:-1]
                self.assertIn(len(in_file) - len(console), (0, 1), "shown, but not in the file")
                self.assertEqual(in_file[:len(console)], console)

    @unittest.skipIf(RUNS_WINDOWS_PROGRAM, "closes a standard stream the POSIX way")
    def test_closed_standard_output_does_not_end_up_in_the_file(self):
        program = self.start_program(b"1\n100\n", end_input=True, preexec_fn=lambda: os.close(1))
        self.assertEqual(program.wait(timeout=RUN_SECONDS), 0)
        self.assertEqual(self.read_report(), report_bytes(LINES_1_TO_100))

    @unittest.skipUnless(os.path.exists("/dev/full"), "needs a device that is always full")
    def test_a_full_device_is_said_and_the_console_gets_every_line(self):
        os.symlink("/dev/full", self.report_path())
        completed = self.run_program("1\n100\n")
        self.assertEqual(completed.stdout, transcript(LINES_1_TO_100))
        said = message("broken off", ": der Datentraeger ist voll")
        self.assertEqual((completed.stderr, completed.returncode), (said, 1))
        # Standard error and output in one pipe: the message stands right before the first
        # line missing from the file.
        merged = subprocess.run(COMMAND, input=b"1\n100\n", cwd=self.directory, check=False,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=RUN_SECONDS)
        self.assertEqual(console_text(merged.stdout),
                         transcript(LINES_1_TO_100).replace("30=", said + "30=", 1))

    @unittest.skipIf(RUNS_WINDOWS_PROGRAM, "a file size limit is a POSIX signal that ends Wine")
    def test_a_size_limit_mid_run_leaves_the_whole_lines_before_it(self):
        import resource  # POSIX only
        limit = 100  # inside the tenth line
        limit_size = lambda: resource.setrlimit(resource.RLIMIT_FSIZE,
                                                (limit, resource.RLIM_INFINITY))
        # After the message the limit is lifted, or the run is ended by a signal. Either way
        # the range gives more than a pipe takes, so the scan stalls on the console until the
        # test reads it: the file is closed, or the run ended, only after that.
        for typed, after_the_message in ((b"1\n1000\n", None), (b"1\n30000\n", "lift"),
                                         (b"1\n30000\n", "end")):
            with self.subTest(after_the_message=after_the_message):
                program = self.start_program(typed, preexec_fn=limit_size)
                said = program.stderr.readline() if after_the_message else b""
                if after_the_message == "lift":
                    unlimited = (resource.RLIM_INFINITY, resource.RLIM_INFINITY)
                    resource.prlimit(program.pid, resource.RLIMIT_FSIZE, unlimited)
                elif after_the_message == "end":
                    program.send_signal(signal.SIGTERM)
                stdout, stderr = program.communicate(timeout=RUN_SECONDS)
                lines = result_lines(console_text(stdout))
                self.assertEqual(console_text(said + stderr),
                                 message("broken off", ": die Datei ist zu gross"))
                if after_the_message == "end":
                    self.assertEqual(program.returncode, -signal.SIGTERM)
                else:
                    self.assertEqual(console_text(stdout), transcript(lines))
                    self.assertEqual(program.returncode, 1)
                kept = max(count for count in range(len(lines) + 1)
                           if len(report_bytes(lines[:count])) <= limit)
                self.assertEqual(self.read_report(), report_bytes(lines[:kept]))

    @unittest.skipUnless(FAILING_CALLS, "needs a library that makes a system call fail")
    def test_a_failed_cut_back_or_close_is_said_and_a_missing_lock_warned_of(self):
        import resource  # POSIX only
        limit_size = lambda: resource.setrlimit(resource.RLIMIT_FSIZE,
                                                (100, resource.RLIM_INFINITY))
        # The size limit ends the file inside its tenth line; the cut back to the nine lines
        # before it fails, and the file keeps the part of a line.
        for mode, options, typed, said, status, cut_at in (
                ("ftruncate", {"preexec_fn": limit_size}, "1\n1000\n",
                 message("not cut back", ": die Datei ist zu gross"), 1, 100),
                ("close", {}, "1\n100\n", message("not closed"), 1, None),
                ("flock", {}, "1\n100\n", message("not lockable"), 0, None),
                ("zero-write", {}, "1\n100\n", message("broken off"), 1, 0),
                ("interrupted-write", {}, "1\n100\n", "", 0, None),  # tried again
                ("interrupted-empty", {}, "1\n100\n", "", 0, None)):
            with self.subTest(mode=mode):
                with open(self.report_path(), "wb") as report:  # longer than the new lines
                    report.write(OLD_LINES * 10)
                completed = self.run_program(typed, env=failing(mode), **options)
                self.assertEqual((completed.stderr, completed.returncode), (said, status))
                in_file = report_bytes(result_lines(completed.stdout))[:cut_at]
                self.assertEqual(self.read_report(), in_file)

    @unittest.skipUnless(FAILING_CALLS, "needs a library that makes a system call fail")
    def test_a_console_write_that_is_interrupted_or_finds_its_pipe_full_is_tried_again(self):
        for mode in ("interrupted-console", "full-console"):
            with self.subTest(mode=mode):
                completed = self.run_program("1\n100\n", env=failing(mode))
                self.assertEqual((completed.stdout, completed.returncode),
                                 (transcript(LINES_1_TO_100), 0))

    @unittest.skipUnless(FAILING_CALLS, "needs a library that makes a system call fail")
    def test_a_signal_in_a_slow_or_failing_write_ends_the_run_between_whole_lines(self):
        # The second line's write takes half the line and stalls; the signal comes then. The
        # rest of the line is written, or fails and the file is cut back, before it ends the
        # run.
        for mode, kept, signals in (("slow-write", LINES_1_TO_100[:2], (signal.SIGTERM,)),
                                    ("slow-failing-write", LINES_1_TO_100[:1], ENDING_SIGNALS)):
            for ending in signals:
                with self.subTest(mode=mode, signal=ending):
                    program = self.start_program(b"1\n100\n", env=failing(mode))
                    self.assertEqual(program.stderr.readline(), b"slow write\n")
                    program.send_signal(ending)
                    self.assertEqual(program.wait(timeout=RUN_SECONDS), -ending)
                    self.assertEqual(self.read_report(), report_bytes(kept))

    @unittest.skipUnless(FAILING_CALLS, "needs a library that makes a system call fail")
    def test_a_run_refused_at_the_start_lets_the_file_go_before_its_key_wait(self):
        for mode in ("empty", "fstat"):
            with self.subTest(mode=mode):
                self.write_old_report()
                refused = self.start_program(env=failing(mode))
                self.read_until(refused, CLOSING_PROMPT)  # and waits for its key
                self.assertEqual(self.read_report(), OLD_LINES)
                second = self.run_program("30\n30\n")
                self.assertEqual((second.stderr, second.returncode), ("", 0))
                _, stderr = refused.communicate(b"x", timeout=RUN_SECONDS)
                self.assertEqual((console_text(stderr), refused.returncode),
                                 (message("not opened"), 1))
                self.assertEqual(self.read_report(), report_bytes(["30=2*3*5"]))

    @unittest.skipUnless(RUNS_WINDOWS_PROGRAM, "deletes the file the Windows way")
    def test_windows_refuses_to_delete_the_file_while_a_run_writes_it(self):
        program = self.start_program(b"1\n")
        self.read_until(program, UPPER_PROMPT)
        subprocess.run(COMMAND[:-1] + ["cmd", "/c", "del", REPORT_FILE], cwd=self.directory,
                       capture_output=True, timeout=RUN_SECONDS, check=False)
        stdout, stderr = program.communicate(b"100\n", timeout=RUN_SECONDS)
        self.assertEqual((console_text(stderr), program.returncode), ("", 0))
        self.assertEqual(self.read_report(), report_bytes(LINES_1_TO_100))

    @unittest.skipIf(RUNS_WINDOWS_PROGRAM or not hasattr(os, "mkfifo"), "needs a POSIX FIFO")
    def test_a_fifo_gives_its_waiting_reader_every_line(self):
        os.mkfifo(self.report_path())
        for attempt in range(20):  # the reader's open and the program's race
            with self.subTest(attempt=attempt):
                received = []
                def read_to_the_end():
                    with open(self.report_path(), "rb") as fifo:
                        received.append(fifo.read())
                reader = threading.Thread(target=read_to_the_end)
                reader.start()
                completed = self.run_program("1\n100\n")
                reader.join(RUN_SECONDS)
                self.assertEqual((completed.stderr, completed.returncode), ("", 0))
                self.assertEqual(received, [report_bytes(LINES_1_TO_100)])

    @unittest.skipIf(RUNS_WINDOWS_PROGRAM or not hasattr(os, "mkfifo"), "needs a POSIX FIFO")
    def test_ctrl_c_ends_a_run_whose_fifo_reader_reads_nothing(self):
        os.mkfifo(self.report_path())
        program = self.start_program(b"1\n2000000\n")
        reader = os.open(self.report_path(), os.O_RDONLY)  # and never reads
        self.addCleanup(os.close, reader)
        import fcntl  # POSIX only
        fcntl.fcntl(reader, fcntl.F_SETPIPE_SZ, 4096)  # full after some 300 lines
        time.sleep(1)  # the pipe fills, and the run waits in a write
        program.send_signal(signal.SIGINT)
        self.assertEqual(program.wait(timeout=RUN_SECONDS), -signal.SIGINT)

    def test_an_empty_scan_whose_file_is_removed_says_nothing(self):
        program = self.start_program()
        self.read_until(program, LOWER_PROMPT)
        os.remove(self.report_path())
        stdout, stderr = program.communicate(b"31\n41\n", timeout=RUN_SECONDS)
        self.assertEqual((console_text(stderr), program.returncode), ("", 0))
        self.assertFalse(os.path.exists(self.report_path()))

    def test_a_second_run_in_the_same_folder_touches_nothing(self):
        first = self.start_stalled_scan()
        # The refused run waits for its key, and must let the file go before that.
        second = self.start_program()
        self.read_until(second, CLOSING_PROMPT)
        open_files = f"/proc/{second.pid}/fd"
        if os.path.isdir(open_files) and not RUNS_WINDOWS_PROGRAM:
            self.assertFalse([fd for fd in os.listdir(open_files) if os.readlink(
                os.path.join(open_files, fd)).endswith(REPORT_FILE)], "still holds the file")
        stdout, _ = first.communicate(timeout=RUN_SECONDS)
        self.assertEqual(first.returncode, 0)
        self.assertEqual(self.read_report(), report_bytes(result_lines(console_text(stdout))))
        third = self.run_program("30\n30\n")
        self.assertEqual((third.stderr, third.returncode), ("", 0))
        _, stderr = second.communicate(b"x", timeout=RUN_SECONDS)
        self.assertEqual((console_text(stderr), second.returncode), (message("in use"), 1))

    def test_another_program_that_changes_the_file_meanwhile(self):
        # The run's lines go on at the file's end, whole, each on a line of its own, never
        # behind a hole, on top of the other program's text or glued to it. Lines of the run
        # that another program took away are said; text it only appended is not.
        def write(text, mode="wb"):
            return lambda path: open(path, mode).write(text)  # closed by CPython at once
        other = b"a line of another program" + REPORT_NEWLINE
        larger = other * 8000  # more than the run has written by then
        cut_a_line = lambda path: os.truncate(path, os.path.getsize(path) - 3)
        for name, change, before, said, status in (
                ("emptied", write(b""), lambda kept: b"", message("lines lost"), 1),
                ("appended to", write(other, "ab"), lambda kept: kept + other, "", 0),
                ("appended to without a line end", write(b"FREMD", "ab"),
                 lambda kept: kept + b"FREMD" + REPORT_NEWLINE, "", 0),
                ("cut inside a line", cut_a_line, lambda kept: kept[:-3] + REPORT_NEWLINE,
                 message("lines lost"), 1),
                ("written anew, larger", write(larger), lambda kept: larger,
                 message("lines lost"), 1)):
            with self.subTest(name=name):
                program = self.start_stalled_scan()
                kept = self.read_report()
                change(self.report_path())
                stdout, stderr = program.communicate(timeout=RUN_SECONDS)
                self.assertEqual((console_text(stderr), program.returncode), (said, status))
                later = result_lines(console_text(stdout))[kept.count(REPORT_NEWLINE):]
                self.assertEqual(self.read_report(), before(kept) + report_bytes(later))

    def test_a_file_that_loses_its_name_is_said_and_the_new_one_left_alone(self):
        def replace(path):
            with open(path + ".new", "wb") as new_file:
                new_file.write(OLD_LINES)
            os.replace(path + ".new", path)

        for lose_name, left in ((os.remove, None), (replace, OLD_LINES)):
            with self.subTest(lose_name=lose_name.__name__):
                program = self.start_program(b"1\n")
                self.read_until(program, UPPER_PROMPT)
                lose_name(self.report_path())
                stdout, stderr = program.communicate(b"100\n", timeout=RUN_SECONDS)
                self.assertEqual(console_text(stdout),
                                 transcript(LINES_1_TO_100).split(UPPER_PROMPT)[1])
                self.assertEqual(console_text(stderr), message("name lost"))
                self.assertEqual(program.returncode, 1)
                self.assertEqual(self.read_report() if left else None, left)

    @unittest.skipUnless(DENY_WRITE_READER and hasattr(os, "openpty"),
                         "needs the Windows reader and a terminal that Wine makes a console")
    def test_a_reader_that_denies_writers_opens_the_file_at_the_key_wait(self):
        import tty  # POSIX only
        # Without a console a Windows program does not wait for a key.
        controller, terminal = os.openpty()
        self.addCleanup(os.close, controller)
        self.addCleanup(os.close, terminal)
        tty.setraw(terminal)  # as Wine sets it, but before Wine is there to take the first key
        program = self.start_program(stdin=terminal, stdout=terminal, stderr=terminal,
                                     start_new_session=True)
        # While the run writes the file, such a reader gets a sharing violation (32); once
        # the scan is done, it may read. Wine draws the console with escape sequences, and
        # blanks as cursor moves.
        on_screen = lambda shown: re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", shown)
        for prompt, reader_error, answer in (("Grenze:", 32, b"1 100\r"), ("Taste:", 0, b"x")):
            self.read_until(controller, prompt, on_screen)
            reader = subprocess.run(DENY_WRITE_READER + [REPORT_FILE], cwd=self.directory,
                                    capture_output=True, timeout=RUN_SECONDS, check=False)
            self.assertEqual(reader.returncode, reader_error, prompt)
            if reader_error == 0:
                self.assertEqual(self.read_report(), report_bytes(LINES_1_TO_100))
                # A second run started meanwhile runs as if the first had ended.
                second = self.run_program("30\n30\n")
                self.assertEqual((second.stderr, second.returncode), ("", 0))
            os.write(controller, answer)
        self.assertEqual(program.wait(timeout=RUN_SECONDS), 0)
        self.assertEqual(self.read_report(), report_bytes(["30=2*3*5"]))


class UnopenableReportFile(ProgramDirectory, unittest.TestCase):
    def assert_refused_with(self, reason, **options):
        """Runs the program: it must show the message, then only the closing prompt, take
        the end of its input as the key and end with status 1."""
        completed = self.run_program("", **options)
        self.assertEqual(completed.stdout, CLOSING_PROMPT)
        self.assertEqual(completed.stderr, message("not opened", reason))
        self.assertEqual(completed.returncode, 1)

    def test_a_directory_of_that_name(self):
        os.mkdir(self.report_path())
        self.assert_refused_with(DIRECTORY_REASON)

    @unittest.skipIf(RUNS_WINDOWS_PROGRAM, "uses POSIX permissions")
    def test_a_directory_without_write_permission(self):
        options = {}
        if os.geteuid() == 0:
            # Root may write anywhere: the program then runs as the unprivileged "nobody",
            # from a copy that nobody can reach wherever the build lies.
            copy = tempfile.mkdtemp()
            self.addCleanup(shutil.rmtree, copy)
            os.chmod(copy, 0o755)
            program = shutil.copy(COMMAND[-1], copy)
            options = {"user": 65534, "group": 65534, "extra_groups": [],
                       "command": COMMAND[:-1] + [program]}
        os.chmod(self.directory, 0o555)
        self.addCleanup(os.chmod, self.directory, 0o700)
        try:
            self.assert_refused_with(": keine Schreibberechtigung", **options)
        except PermissionError as error:
            self.skipTest(f"nobody cannot start the program here: {error}")
        self.assertFalse(os.path.exists(self.report_path()))


if __name__ == "__main__":
    unittest.main()
