"""Runs the built program with piped input and checks everything it writes, byte for byte."""

import contextlib
import os
import time
import unittest

from program import (CLOSING_PROMPT, INTRODUCTION, LINES_1_TO_100, LOWER_PROMPT, RUN_SECONDS,
                     RUNS_WINDOWS_PROGRAM, UPPER_PROMPT, ProgramDirectory, console_text, message,
                     result_lines, transcript)


class Scans(ProgramDirectory, unittest.TestCase):
    def test_transcripts_of_good_input(self):
        cases = [
            ("1\n100\n", LINES_1_TO_100),
            ("1 100\n", LINES_1_TO_100),
            ("\n\n   1\n\n\t100", LINES_1_TO_100),
            ("1\r\n100 \t\r\n", LINES_1_TO_100),
            ("+30\n+30\n", ["30=2*3*5"]),
            ("31\n41\n", []),
            ("100\n1\n", []),
            ("0\n1\n", []),
            ("4294967295\n4294967295\n", []),
        ]
        for typed, lines in cases:
            with self.subTest(typed=typed):
                completed = self.run_program(typed)
                self.assertEqual(completed.stdout, transcript(lines))
                self.assertEqual(completed.stderr, "")
                self.assertEqual(completed.returncode, 0)

    def test_0_to_999_gives_135_lines_ending_with_994(self):
        completed = self.run_program("0\n999\n")
        lines = result_lines(completed.stdout)
        self.assertEqual(len(lines), 135)
        self.assertEqual(lines[0], "30=2*3*5")
        self.assertEqual(lines[-1], "994=2*7*71")
        self.assertEqual(completed.returncode, 0)

    def test_command_line_is_ignored(self):
        completed = self.run_program("1\n100\n", arguments=["--help", "0", "5"])
        self.assertEqual(completed.stdout, transcript(LINES_1_TO_100))
        self.assertEqual(completed.returncode, 0)

    @unittest.skipUnless(os.name == "posix", "fills a non-blocking POSIX pipe")
    def test_a_message_waits_until_a_full_non_blocking_pipe_takes_it(self):
        import fcntl  # POSIX only
        reader, writer = os.pipe()
        fcntl.fcntl(writer, fcntl.F_SETFL, os.O_NONBLOCK)
        filled = 0
        with contextlib.suppress(BlockingIOError):
            while True:
                filled += os.write(writer, b"x" * 4096)
        program = self.start_program(b"abc\n", end_input=True, stderr=writer)
        os.close(writer)
        time.sleep(1)  # the message finds the pipe full
        with os.fdopen(reader, "rb") as errors:
            shown = console_text(errors.read()[filled:])
        self.assertEqual(shown, message("bound", bound="untere"))
        self.assertEqual(program.wait(timeout=RUN_SECONDS), 1)

    @unittest.skipUnless(RUNS_WINDOWS_PROGRAM and os.name == "posix",
                         "Ctrl-C ends a Windows program from another thread, here under Wine")
    def test_ctrl_c_shows_no_line_twice(self):
        # A buffer that the process flushed again as it ended showed the last line twice.
        for seconds in (1.0, 1.6, 2.2):
            with self.subTest(seconds=seconds):
                program = self.interrupt_after(b"1\n120000\nx", seconds)
                stdout, _ = program.communicate(timeout=RUN_SECONDS)
                lines = result_lines(console_text(stdout))
                self.assertEqual(len(lines), len(set(lines)), lines[-3:])


class BadBounds(ProgramDirectory, unittest.TestCase):
    def test_unreadable_bound_is_named_and_nothing_is_scanned(self):
        lower_refused = INTRODUCTION + LOWER_PROMPT + CLOSING_PROMPT
        upper_refused = INTRODUCTION + LOWER_PROMPT + UPPER_PROMPT + CLOSING_PROMPT
        cases = [
            ("abc\n", "untere", lower_refused),
            ("4294967296\n", "untere", lower_refused),
            ("", "untere", lower_refused),
            ("-1\n", "untere", lower_refused),
            ("-5\n100\n", "untere", lower_refused),
            ("12abc 100\n", "untere", lower_refused),
            ("1\nxyz\n", "obere", upper_refused),
            ("1\n", "obere", upper_refused),
            ("1 -5\n", "obere", upper_refused),
            ("1\n10.000\n", "obere", upper_refused),
            ("1 100abc\n", "obere", upper_refused),
            ("30 99999999999999999999\n", "obere", upper_refused),
            # Nothing may stand after the upper bound on its line: "20 000" is not 20.
            ("1\n20 000\n", "obere", upper_refused),
            ("1 100 200\n", "obere", upper_refused),
        ]
        for typed, bound_name, expected_stdout in cases:
            with self.subTest(typed=typed):
                completed = self.run_program(typed)
                self.assertEqual(completed.stdout, expected_stdout)
                self.assertEqual(completed.stderr, message("bound", bound=bound_name))
                self.assertEqual(completed.returncode, 1)


if __name__ == "__main__":
    unittest.main()
