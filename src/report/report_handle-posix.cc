// The report file's handle on POSIX systems: a file descriptor, locked with flock, which
// other programs never notice unless they ask for it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "report/ending_signals-posix.h"
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
    for (const int signal_number : kEndingSignals) {
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
    file = ::open(file_name, O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
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

LineWriting ReportHandle::write_line(std::string_view line,
                                     const std::function<void(LineWriting)>& say_failure) {
  // Only for a regular file: a FIFO's write may wait for its reader as long as that likes,
  // and Ctrl-C must still end the run meanwhile (a line that fits in a pipe goes whole).
  const EndingSignalsHeld held(regular_);
  // O_APPEND puts the line at the end as it is now; where that is, is where a failed line
  // is cut back to, and a file shorter than the last line's end was cut by another program.
  const std::uint64_t line_start = next_line_start();
  for (std::size_t written = 0; written < line.size();) {
    const ssize_t count =
        ::write(static_cast<int>(handle_), line.data() + written, line.size() - written);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      // A write that takes nothing (a device or FIFO may) would be tried for ever.
      const int write_error = count < 0 ? errno : 0;
      const LineWriting outcome =
          cut_back(line_start) ? LineWriting::kCutBack : LineWriting::kPartLeft;
      error_ = write_error;
      say_failure(outcome);
      return outcome;
    }
    written += static_cast<std::size_t>(count);
  }
  lines_end_ = line_start + line.size();
  return LineWriting::kWritten;
}

std::optional<std::uint64_t> ReportHandle::size() const {
  struct stat status {};
  if (fstat(static_cast<int>(handle_), &status) != 0) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

bool ReportHandle::cut_back(std::uint64_t length) {
  if (!regular_) {
    return true;
  }
  // Only ever shorter: a file that another program cut shorter is not filled up with zeros.
  if (size().value_or(length + 1) <= length) {
    return true;
  }
  while (ftruncate(static_cast<int>(handle_), static_cast<off_t>(length)) != 0) {
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
