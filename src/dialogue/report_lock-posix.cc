// The report file's lock on POSIX systems: flock, which other programs never notice unless
// they ask for it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "dialogue/report_lock.h"

bool lock_report_file(const char* file_name) {
  // Without truncating, so that a refused run leaves the other run's lines alone; without
  // blocking, so that a FIFO of that name does not wait here for a reader.
  const int file = open(file_name, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (file < 0) {
    return true;
  }
  struct stat status {};
  if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(file);
    return true;
  }
  if (flock(file, LOCK_EX | LOCK_NB) == 0) {
    // The descriptor stays open on purpose: the lock lasts until the process ends.
    return true;
  }
  const bool held_by_another_run = errno == EWOULDBLOCK;
  close(file);
  return !held_by_another_run;
}
