// The report file's handle on POSIX systems: a file descriptor, locked with flock, which
// other programs never notice unless they ask for it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

#include "report/report_handle.h"

namespace {

// Holds back the signals that end the program (INT, TERM, HUP, QUIT) for as long as it
// lives, if told to; one that arrives meanwhile takes effect when it ends.
class EndingSignalsHeld {
 public:
  explicit EndingSignalsHeld(bool hold) : held_(hold) {
    if (!held_) {
      return;
    }
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
      sigaddset(&ending, signal_number);
    }
    sigprocmask(SIG_BLOCK, &ending, &before_);
  }
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;
  ~EndingSignalsHeld() {
    if (held_) {
      sigprocmask(SIG_SETMASK, &before_, nullptr);
    }
  }

 private:
  bool held_;
  sigset_t before_{};
};

}  // namespace

const char* const ReportHandle::kNewline = "\n";

ReportHandle::~ReportHandle() {
  if (handle_ != -1) {
    ::close(static_cast<int>(handle_));
  }
}

ReportOpening ReportHandle::open(const char* file_name) {
  // Without truncating: a run refused by the lock must leave the other run's lines alone.
  // Blocking, so that a FIFO waits for its reader, as a shell redirection does.
  int file = -1;
  do {
    file = ::open(file_name, O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
  } while (file < 0 && errno == EINTR);
  if (file < 0) {
    error_ = errno;
    return ReportOpening::kFailed;
  }
  handle_ = file;
  struct stat status {};
  if (fstat(file, &status) != 0) {
    error_ = errno;
    return ReportOpening::kFailed;
  }
  if (!S_ISREG(status.st_mode)) {
    return ReportOpening::kNotRegular;
  }
  regular_ = true;
  ReportOpening opening = ReportOpening::kLocked;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) {
      return ReportOpening::kInUse;
    }
    opening = ReportOpening::kUnlockable;  // ENOLCK: a file system without locks
  }
  while (ftruncate(file, 0) != 0) {
    if (errno != EINTR) {
      error_ = errno;
      return ReportOpening::kFailed;
    }
  }
  return opening;
}

LineWriting ReportHandle::write_line(const char* data, std::size_t size) {
  // Only for a regular file: a FIFO's write may wait for its reader as long as that likes,
  // and Ctrl-C must still end the run meanwhile (a line that fits in a pipe goes whole).
  const EndingSignalsHeld held(regular_);
  for (std::size_t left = size; left > 0;) {
    const ssize_t written = ::write(static_cast<int>(handle_), data + (size - left), left);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written < 0) {
      const int write_error = errno;
      const bool whole_lines = cut_back(lines_size_);
      error_ = write_error;
      return whole_lines ? LineWriting::kCutBack : LineWriting::kPartLeft;
    }
    left -= static_cast<std::size_t>(written);
  }
  lines_size_ += size;
  return LineWriting::kWritten;
}

bool ReportHandle::cut_back(std::uint64_t size) {
  if (!regular_) {
    return true;
  }
  // Only ever shorter: a file that another program cut shorter is not filled up with zeros.
  struct stat status {};
  if (fstat(static_cast<int>(handle_), &status) == 0 &&
      static_cast<std::uint64_t>(status.st_size) <= size) {
    return true;
  }
  while (ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) != 0) {
    if (errno != EINTR) {
      error_ = errno;
      return false;
    }
  }
  return true;
}

bool ReportHandle::still_named(const char* file_name) const {
  struct stat held {};
  struct stat named {};
  if (!regular_ || fstat(static_cast<int>(handle_), &held) != 0) {
    return true;
  }
  if (stat(file_name, &named) != 0) {
    return errno != ENOENT;
  }
  return named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

bool ReportHandle::close() {
  const int file = static_cast<int>(handle_);
  handle_ = -1;
  // POSIX leaves the descriptor closed even when close fails, so it is never tried twice.
  if (file != -1 && ::close(file) != 0 && errno != EINTR) {
    error_ = errno;
    return false;
  }
  return true;
}
