"""Runs the built program on a pseudo-terminal and checks the closing wait for one key."""

import fcntl
import os
import resource
import select
import termios
import time
import unittest

from program import (CLOSING_PROMPT, ENDING_SIGNALS, RUN_SECONDS, ProgramDirectory, end_program,
                     report_bytes, result_lines)


def become_a_console_program():
    """Runs in the child: makes its terminal the controlling one, as in a real console, so
    that Ctrl-C would raise SIGINT unless the program turns that off, and keeps SIGQUIT from
    dumping core."""
    fcntl.ioctl(0, termios.TIOCSCTTY, 0)
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


class KeyWaitOnATerminal(ProgramDirectory, unittest.TestCase):
    def setUp(self):
        super().setUp()
        self.start_on_a_new_terminal()

    def start_on_a_new_terminal(self):
        """Starts the program on a pseudo-terminal of its own."""
        self.controller, self.terminal = os.openpty()
        self.addCleanup(os.close, self.controller)
        self.addCleanup(os.close, self.terminal)
        self.settings_before = termios.tcgetattr(self.terminal)
        self.program = self.start_program(
            preexec_fn=become_a_console_program, stdin=self.terminal, stdout=self.terminal,
            stderr=self.terminal, start_new_session=True)

    def read_rest(self):
        """Returns what the program wrote after the last read, once it has ended."""
        self.program.wait(timeout=RUN_SECONDS)
        output = b""
        while select.select([self.controller], [], [], 0.2)[0]:
            try:
                chunk = os.read(self.controller, 4096)
            except OSError:
                break
            if not chunk:
                break
            output += chunk
        return output

    def reach_the_wait(self):
        """Scans 1 to 100 and checks that the program then waits for a key, unechoed."""
        self.read_until(self.controller, "untere Grenze: ")
        os.write(self.controller, b"1\n")
        self.read_until(self.controller, "obere Grenze: ")
        os.write(self.controller, b"100\n")
        screen = self.read_until(self.controller, CLOSING_PROMPT)
        self.assertIn(b"78=2*3*13\r\n", screen)
        time.sleep(0.3)
        self.assertIsNone(self.program.poll(), "ended before any key was pressed")
        waiting_settings = termios.tcgetattr(self.terminal)
        self.assertFalse(waiting_settings[3] & (termios.ICANON | termios.ECHO | termios.ISIG))

    def press_key_at_the_wait(self, key):
        """Presses key at the wait and checks that the run ends at once with nothing more
        shown and the terminal restored."""
        self.reach_the_wait()
        os.write(self.controller, key)
        self.assertEqual(self.read_rest(), b"", "the key was echoed")
        self.assertEqual(self.program.returncode, 0)
        self.assertEqual(termios.tcgetattr(self.terminal), self.settings_before)

    def test_an_ordinary_key_ends_the_run(self):
        self.press_key_at_the_wait(b"q")

    def test_ctrl_c_is_taken_as_the_key(self):
        self.press_key_at_the_wait(b"\x03")

    def test_every_byte_of_an_arrow_key_is_taken(self):
        self.press_key_at_the_wait(b"\x1b[A")
        os.write(self.controller, b"\n")
        self.assertEqual(os.read(self.terminal, 100), b"\n", "left over for the shell")

    def test_an_ending_signal_at_the_wait_restores_the_terminal(self):
        for ending_signal in ENDING_SIGNALS:
            with self.subTest(signal=ending_signal.name):
                end_program(self.program)  # and its lock on the report file
                self.start_on_a_new_terminal()
                self.reach_the_wait()
                self.program.send_signal(ending_signal)
                self.assertEqual(self.program.wait(timeout=RUN_SECONDS), -ending_signal)
                self.assertEqual(termios.tcgetattr(self.terminal), self.settings_before)

    def test_a_second_run_while_the_first_waits_for_its_key_runs_normally(self):
        self.reach_the_wait()
        second = self.run_program("30\n30\n")
        self.assertEqual((second.stderr, second.returncode), ("", 0))
        self.assertEqual(result_lines(second.stdout), ["30=2*3*5"])
        self.assertEqual(self.read_report(), report_bytes(["30=2*3*5"]))

    def test_key_typed_ahead_during_the_scan_is_taken(self):
        self.read_until(self.controller, "untere Grenze: ")
        os.write(self.controller, b"1\n100\nx")
        self.program.wait(timeout=RUN_SECONDS)
        self.assertIn(CLOSING_PROMPT.encode("ascii"), self.read_rest())
        self.assertEqual(self.program.returncode, 0)
        self.assertEqual(termios.tcgetattr(self.terminal), self.settings_before)


if __name__ == "__main__":
    unittest.main()
