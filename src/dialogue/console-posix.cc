// Console set-up and key wait for POSIX systems, on top of termios.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "dialogue/console.h"

namespace {

// Reads one byte from fd, retrying when a signal interrupts the read; returns it, or -1.
int read_one_byte(int fd) {
  unsigned char byte = 0;
  ssize_t count = 0;
  do {
    count = read(fd, &byte, 1);
  } while (count < 0 && errno == EINTR);
  return count == 1 ? byte : -1;
}

}  // namespace

void prepare_console() {
  // A reader that quits (a closed pipe) or a file size limit must fail the writes, not end
  // the process.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  // A standard stream that was closed at start would hand its number to the next file
  // opened, the report file, and console text would land in it: fill the gap.
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      open("/dev/null", O_RDWR);
    }
  }
}

int wait_for_key() {
  termios saved{};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) {
    return std::getchar();
  }
  // One byte at a time, unechoed; Ctrl-C arrives as a key, so the terminal is always
  // restored. TCSANOW keeps a key that was typed ahead.
  termios single_key = saved;
  single_key.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
  single_key.c_cc[VMIN] = 1;
  single_key.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &single_key);
  const int key = read_one_byte(STDIN_FILENO);
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  return key;
}
