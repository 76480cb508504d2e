// The report file's system calls on POSIX systems: a file descriptor, locked with flock,
// which other programs never notice unless they ask for it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "report/report_handle.h"

namespace {

int descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// Opens file_name with access (O_RDWR or O_WRONLY) for appending, creating it if it is
// missing, and tries again when a signal interrupts; returns the descriptor, or -1.
int open_for_appending(const char* file_name, int access) {
  int file = -1;
  do {
    file = ::open(file_name, access | O_APPEND | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
  } while (file < 0 && errno == EINTR);
  return file;
}

}  // namespace

const char* const ReportHandle::kNewline = "\n";

ReportHandle::~ReportHandle() {
  if (handle_ != -1) {
    ::close(descriptor(handle_));
  }
}

ReportResult<ReportOpening> ReportHandle::open(const char* file_name) {
  // A file size limit must fail the writes, not end the process.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));
  // Without truncating: a run refused by the lock must leave the other run's lines alone.
  // Blocking, so that a FIFO waits for its reader, as a shell redirection does; for reading
  // too only what is a regular file or missing, since a FIFO so opened would not wait.
  struct stat named {};
  const bool readable = stat(file_name, &named) == 0 ? S_ISREG(named.st_mode) : errno == ENOENT;
  int file = readable ? open_for_appending(file_name, O_RDWR) : -1;
  if (file < 0) {
    file = open_for_appending(file_name, O_WRONLY);
  }
  if (file < 0) {
    return {ReportOpening::kFailed, errno};
  }
  handle_ = file;
  struct stat status {};
  if (fstat(file, &status) != 0) {
    return {ReportOpening::kFailed, errno};
  }
  if (!S_ISREG(status.st_mode)) {
    return {ReportOpening::kNotRegular};
  }
  regular_ = true;
  ReportOpening opening = ReportOpening::kLocked;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) {
      return {ReportOpening::kInUse};
    }
    opening = ReportOpening::kUnlockable;  // ENOLCK: a file system without locks
  }
  const int error = truncate(0);
  return {error == 0 ? opening : ReportOpening::kFailed, error};
}

// NOLINTNEXTLINE(readability-make-member-function-const): it changes the file.
std::ptrdiff_t ReportHandle::append(const char* data, std::size_t size, int& error) {
  ssize_t count = 0;
  do {
    count = ::write(descriptor(handle_), data, size);
  } while (count < 0 && errno == EINTR);
  error = count < 0 ? errno : 0;
  return count;
}

std::optional<std::uint64_t> ReportHandle::size() const {
  struct stat status {};
  if (fstat(descriptor(handle_), &status) != 0) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::uint64_t> ReportHandle::end_of_last_write() const {
  // O_APPEND moves the offset to the end before each write, and past what it wrote after.
  const off_t offset = lseek(descriptor(handle_), 0, SEEK_CUR);
  return offset < 0 ? std::nullopt : std::optional<std::uint64_t>(offset);
}

std::optional<std::string> ReportHandle::read(std::uint64_t offset, std::size_t size) const {
  std::string bytes(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t count =
        pread(descriptor(handle_), &bytes[got], size - got, static_cast<off_t>(offset + got));
    if (count == 0) {
      break;
    }
    if (count < 0 && errno != EINTR) {
      return std::nullopt;
    }
    got += count > 0 ? static_cast<std::size_t>(count) : 0;
  }
  bytes.resize(got);
  return bytes;
}

// NOLINTNEXTLINE(readability-make-member-function-const): it changes the file.
int ReportHandle::truncate(std::uint64_t length) {
  while (ftruncate(descriptor(handle_), static_cast<off_t>(length)) != 0) {
    if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

bool ReportHandle::still_named(const char* file_name) const {
  struct stat held {};
  struct stat named {};
  if (!regular_ || fstat(descriptor(handle_), &held) != 0) {
    return true;
  }
  if (stat(file_name, &named) != 0) {
    return errno != ENOENT;
  }
  return named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

int ReportHandle::close() {
  const int file = descriptor(handle_);
  handle_ = -1;
  // POSIX leaves the descriptor closed even when close fails, so it is never tried twice.
  if (file != -1 && ::close(file) != 0 && errno != EINTR) {
    return errno;
  }
  return 0;
}
