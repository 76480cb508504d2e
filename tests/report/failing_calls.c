/* Preloaded into the program by the tests: makes a system call on the report file fail or
   stall, as SPHENISCHEZAHLEN_FAIL names. "close" or "ftruncate" (the cut-back) fail with EIO,
   and so do "empty" (the emptying ftruncate at the start) and "fstat" (at the start);
   "interrupted-empty" makes the emptying fail once with EINTR; "flock" fails with ENOLCK, as
   on a file system without locks. "interrupted-write" makes the second write fail once with
   EINTR, "zero-write" makes every write take nothing, as a device may; "interrupted-console"
   and "full-console" make the fourth write to standard output fail once with EINTR or
   EAGAIN (a non-blocking pipe that is full). "slow-write": the second write takes
   half its bytes, says "slow write" on standard error and sleeps half a second, so that a test
   can send a signal meanwhile; "slow-failing-write": the same, and the write after it fails
   with EIO. In every mode, a write or a cut-back of the report file while a signal that ends
   the program is not held back ends the program with status 97. Linux only. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

/* True when mode is the one named by SPHENISCHEZAHLEN_FAIL. */
static int in_mode(const char* mode) {
  const char* named = getenv("SPHENISCHEZAHLEN_FAIL");
  return named != NULL && strcmp(named, mode) == 0;
}

/* True when fd is open on the report file. */
static int is_report(int fd) {
  static const char kName[] = "/sphenischezahlen.txt";
  char link[64];
  char path[4096];
  ssize_t length;
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  length = readlink(link, path, sizeof path - 1);
  if (length < (ssize_t)(sizeof kName - 1)) {
    return 0;
  }
  path[length] = '\0';
  return strcmp(path + length - (sizeof kName - 1), kName) == 0;
}

/* Ends the program with status 97, saying so, unless INT, TERM, HUP and QUIT are all held. */
static void require_ending_signals_held(const char* call) {
  static const int kEnding[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
  sigset_t held;
  size_t i;
  sigprocmask(SIG_BLOCK, NULL, &held);
  for (i = 0; i < sizeof kEnding / sizeof kEnding[0]; ++i) {
    if (!sigismember(&held, kEnding[i])) {
      fprintf(stderr, "%s on the report file with signal %d not held\n", call, kEnding[i]);
      _exit(97);
    }
  }
}

static int report_writes = 0; /* the writes on the report file so far */

ssize_t write(int fd, const void* data, size_t size) {
  ssize_t (*real_write)(int, const void*, size_t);
  *(void**)&real_write = dlsym(RTLD_NEXT, "write"); /* POSIX's way around ISO C */
  if (fd <= STDERR_FILENO || !is_report(fd)) {
    static int console_writes = 0;
    if (fd == STDOUT_FILENO && ++console_writes == 4 &&
        (in_mode("interrupted-console") || in_mode("full-console"))) {
      errno = in_mode("full-console") ? EAGAIN : EINTR;
      return -1;
    }
    return real_write(fd, data, size);
  }
  require_ending_signals_held("write");
  ++report_writes;
  if ((report_writes == 2 && in_mode("interrupted-write")) || in_mode("zero-write")) {
    errno = EINTR;
    return in_mode("zero-write") ? 0 : -1;
  }
  if (report_writes == 2 && (in_mode("slow-write") || in_mode("slow-failing-write"))) {
    static const char kSaid[] = "slow write\n";
    const struct timespec half_a_second = {0, 500000000};
    const ssize_t written = real_write(fd, data, size / 2);
    real_write(STDERR_FILENO, kSaid, sizeof kSaid - 1);
    nanosleep(&half_a_second, NULL);
    return written;
  }
  if (report_writes == 3 && in_mode("slow-failing-write")) {
    errno = EIO;
    return -1;
  }
  return real_write(fd, data, size);
}

int close(int fd) {
  int (*real_close)(int);
  *(void**)&real_close = dlsym(RTLD_NEXT, "close");
  if (in_mode("close") && is_report(fd)) {
    real_close(fd); /* closed all the same, as a failed close leaves it on Linux */
    errno = EIO;
    return -1;
  }
  return real_close(fd);
}

int ftruncate(int fd, off_t length) {
  int (*real_ftruncate)(int, off_t);
  *(void**)&real_ftruncate = dlsym(RTLD_NEXT, "ftruncate");
  if (!is_report(fd)) {
    return real_ftruncate(fd, length);
  }
  if (report_writes > 0) {
    require_ending_signals_held("ftruncate");
  }
  if ((report_writes > 0 && in_mode("ftruncate")) || (length == 0 && in_mode("empty"))) {
    errno = EIO;
    return -1;
  }
  static int interrupted = 0;
  if (length == 0 && in_mode("interrupted-empty") && !interrupted) {
    interrupted = 1;
    errno = EINTR;
    return -1;
  }
  return real_ftruncate(fd, length);
}

int fstat(int fd, struct stat* status) {
  int (*real_fstat)(int, struct stat*);
  *(void**)&real_fstat = dlsym(RTLD_NEXT, "fstat");
  if (report_writes == 0 && in_mode("fstat") && is_report(fd)) {
    errno = EIO;
    return -1;
  }
  return real_fstat(fd, status);
}

int flock(int fd, int operation) {
  int (*real_flock)(int, int);
  *(void**)&real_flock = dlsym(RTLD_NEXT, "flock");
  if (in_mode("flock") && is_report(fd)) {
    errno = ENOLCK;
    return -1;
  }
  return real_flock(fd, operation);
}
