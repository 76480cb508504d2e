// The report file's lock on POSIX systems: flock, which other programs never notice unless
// they ask for it, on a descriptor that also cuts the file back and knows its inode.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "dialogue/report_lock.h"

ReportLock::~ReportLock() {
  if (handle_ != -1) {
    close(static_cast<int>(handle_));
  }
}

bool ReportLock::acquire(const char* file_name) {
  // Without truncating, so that a refused run leaves the other run's lines alone. Without
  // blocking, so that a FIFO of that name fails here (ENXIO) instead of waiting for a reader;
  // the report stream's own open then waits for one, as a shell redirection does.
  const int file = open(file_name, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (file < 0) {
    return true;
  }
  struct stat status {};
  if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(file);
    return true;
  }
  if (flock(file, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    close(file);
    return false;
  }
  handle_ = file;
  return true;
}

void ReportLock::cut_back(std::streamoff size) const {
  const int file = static_cast<int>(handle_);
  struct stat status {};
  if (file == -1 || size < 0 || fstat(file, &status) != 0 || status.st_size <= size) {
    return;
  }
  // A cut that fails leaves the file as it is: there is nothing better to do with it.
  while (ftruncate(file, static_cast<off_t>(size)) != 0 && errno == EINTR) {
  }
}

bool ReportLock::still_named(const char* file_name) const {
  struct stat held {};
  struct stat named {};
  if (handle_ == -1 || fstat(static_cast<int>(handle_), &held) != 0) {
    return true;
  }
  if (stat(file_name, &named) != 0) {
    return errno != ENOENT;
  }
  return named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}
