/* Preloaded into the program by the tests: makes one system call fail on the report file,
   the one named by SPHENISCHEZAHLEN_FAIL: "close" or "ftruncate" (the cut-back, not the
   emptying at the start) with EIO, "flock" with ENOLCK, as on a file system without locks.
   Linux only. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/types.h>
#include <unistd.h>

/* True when call is the one to fail and fd is open on the report file. */
static int fails(const char* call, int fd) {
  static const char kName[] = "/sphenischezahlen.txt";
  const char* failing = getenv("SPHENISCHEZAHLEN_FAIL");
  char link[64];
  char path[4096];
  ssize_t length;
  if (failing == NULL || strcmp(failing, call) != 0) {
    return 0;
  }
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  length = readlink(link, path, sizeof path - 1);
  if (length < (ssize_t)(sizeof kName - 1)) {
    return 0;
  }
  path[length] = '\0';
  return strcmp(path + length - (sizeof kName - 1), kName) == 0;
}

int close(int fd) {
  int (*real_close)(int);
  *(void**)&real_close = dlsym(RTLD_NEXT, "close"); /* POSIX's way around ISO C */
  if (fails("close", fd)) {
    real_close(fd); /* closed all the same, as a failed close leaves it on Linux */
    errno = EIO;
    return -1;
  }
  return real_close(fd);
}

int ftruncate(int fd, off_t length) {
  int (*real_ftruncate)(int, off_t);
  *(void**)&real_ftruncate = dlsym(RTLD_NEXT, "ftruncate");
  if (length > 0 && fails("ftruncate", fd)) {
    errno = EIO;
    return -1;
  }
  return real_ftruncate(fd, length);
}

int flock(int fd, int operation) {
  int (*real_flock)(int, int);
  *(void**)&real_flock = dlsym(RTLD_NEXT, "flock");
  if (fails("flock", fd)) {
    errno = ENOLCK;
    return -1;
  }
  return real_flock(fd, operation);
}
