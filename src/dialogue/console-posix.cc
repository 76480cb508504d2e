// Console set-up, ending signals and key wait for POSIX systems, on top of termios.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <iostream>

#include "dialogue/console.h"
#include "dialogue/console_output.h"

namespace {

// The signals that end the program from outside: Ctrl-C, kill's default, a terminal that
// goes away, and Ctrl-\.
constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The actions of the ending signals, in the order of kEndingSignals.
using SignalActions = std::array<struct sigaction, kEndingSignals.size()>;

// The terminal settings from before the key wait; a signal handler must be able to reach them.
termios settings_before_wait{};

// Reads one byte from fd, retrying when a signal interrupts the read; returns it, or -1.
int read_one_byte(int fd) {
  unsigned char byte = 0;
  ssize_t count = 0;
  do {
    count = read(fd, &byte, 1);
  } while (count < 0 && errno == EINTR);
  return count == 1 ? byte : -1;
}

// Puts the terminal settings back, then lets the signal take its default effect, so that the
// process still ends by it. Only async-signal-safe calls.
extern "C" void restore_terminal_and_end(int signal_number) {
  tcsetattr(STDIN_FILENO, TCSANOW, &settings_before_wait);
  // SA_RESETHAND has put the default action back; it takes effect when the handler returns.
  static_cast<void>(raise(signal_number));
}

// Makes each ending signal that is not ignored restore the terminal before it ends the
// process; keeps the actions it replaces in previous.
void restore_terminal_on_ending_signals(SignalActions& previous) {
  struct sigaction restoring {};
  restoring.sa_handler = restore_terminal_and_end;
  restoring.sa_flags = SA_RESETHAND;
  sigemptyset(&restoring.sa_mask);
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    sigaction(kEndingSignals[i], nullptr, &previous[i]);
    // An ignored signal (nohup) ends nothing and stays ignored.
    if (previous[i].sa_handler != SIG_IGN) {
      sigaction(kEndingSignals[i], &restoring, nullptr);
    }
  }
}

// Gives the ending signals back the actions that previous holds.
void restore_signal_actions(const SignalActions& previous) {
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    sigaction(kEndingSignals[i], &previous[i], nullptr);
  }
}

}  // namespace

bool write_to_console(int stream, const char* data, std::size_t size) {
  for (std::size_t written = 0; written < size;) {
    const ssize_t count = ::write(stream, data + written, size - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
    } else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd writable{stream, POLLOUT, 0};  // a non-blocking pipe that is full
      poll(&writable, 1, -1);
    } else if (count == 0 || errno != EINTR) {
      return false;  // EPIPE, EIO: gone for good
    }
  }
  return true;
}

void prepare_console() {
  // Never destroyed: std::cout is flushed as the process ends, after every static object
  // made later than it is gone.
  static auto* const console_output = new ConsoleOutput(STDOUT_FILENO);
  static auto* const console_errors = new ConsoleOutput(STDERR_FILENO);
  std::cout.rdbuf(console_output);
  std::cerr.rdbuf(console_errors);
  // A reader that quits (a closed pipe) must fail the writes, not end the process.
  static_cast<void>(std::signal(SIGPIPE, SIG_IGN));
  // A standard stream that was closed at start would hand its number to the next file
  // opened, the report file, and console text would land in it: fill the gap.
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      open("/dev/null", O_RDWR);
    }
  }
}

void with_ending_signals_held(bool hold, const std::function<void()>& work) {
  if (!hold) {
    work();
    return;
  }
  sigset_t ending{};
  sigset_t before{};
  sigemptyset(&ending);
  for (const int signal_number : kEndingSignals) {
    sigaddset(&ending, signal_number);
  }
  sigprocmask(SIG_BLOCK, &ending, &before);
  work();
  sigprocmask(SIG_SETMASK, &before, nullptr);
}

int wait_for_key() {
  if (tcgetattr(STDIN_FILENO, &settings_before_wait) != 0) {
    return std::getchar();
  }
  SignalActions previous_actions{};
  restore_terminal_on_ending_signals(previous_actions);
  // One byte at a time, unechoed; Ctrl-C arrives as a key, so the terminal is always
  // restored. TCSANOW keeps a key that was typed ahead.
  termios single_key = settings_before_wait;
  single_key.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
  single_key.c_cc[VMIN] = 1;
  single_key.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &single_key);
  const int key = read_one_byte(STDIN_FILENO);
  // An arrow key (ESC [ A), a function key or an umlaut in UTF-8 sends several bytes at
  // once: the rest is waiting already, and must not reach the shell after the program.
  tcflush(STDIN_FILENO, TCIFLUSH);
  tcsetattr(STDIN_FILENO, TCSANOW, &settings_before_wait);
  restore_signal_actions(previous_actions);
  return key;
}
