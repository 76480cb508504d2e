// The report file's handle on Windows: one HANDLE that lets others read and write, and a lock
// of one byte far past any data, where no other program ever reads or writes.
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "report/report_handle.h"

namespace {

HANDLE as_handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Everybody else may read and write the file while a run holds it, but not delete or rename
// it, as with any open file on Windows: a file marked for deletion keeps its name until the
// run lets it go, and would then vanish with every line of the run, unsaid.
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Asking which file a name leads to keeps nobody out at all.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Returns the errno value that says the Windows error code best, EIO for the rest.
int as_error_number(DWORD windows_error) {
  switch (windows_error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    default:
      return EIO;
  }
}

// How an open file was identified: by its volume and 128-bit id where the system knows them
// (Windows 8 and later; unique on ReFS too), else by its volume and 64-bit index.
enum class Identity { kUnknown, kId128, kIndex64 };

// Fills id with the identity of file and says which kind it is.
Identity identify(HANDLE file, FILE_ID_INFO& id) {
  if (GetFileInformationByHandleEx(file, FileIdInfo, &id, sizeof id)) {
    return Identity::kId128;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file, &information)) {
    return Identity::kUnknown;
  }
  id = FILE_ID_INFO{};
  id.VolumeSerialNumber = information.dwVolumeSerialNumber;
  const DWORD index[2] = {information.nFileIndexLow, information.nFileIndexHigh};
  static_assert(sizeof index <= sizeof id.FileId.Identifier, "the index fits in the id");
  CopyMemory(id.FileId.Identifier, index, sizeof index);
  return Identity::kIndex64;
}

}  // namespace

const char* const ReportHandle::kNewline = "\r\n";

ReportHandle::~ReportHandle() {
  if (as_handle(handle_) != INVALID_HANDLE_VALUE) {
    CloseHandle(as_handle(handle_));
  }
}

ReportOpening ReportHandle::open(const char* file_name) {
  // OPEN_ALWAYS creates a missing file and leaves an existing one as it is until the lock
  // is won, so that a refused run changes nothing.
  const HANDLE file = CreateFileA(file_name, GENERIC_WRITE, kShareReadWrite, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = as_error_number(GetLastError());
    return ReportOpening::kFailed;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  if (GetFileType(file) != FILE_TYPE_DISK) {
    return ReportOpening::kNotRegular;
  }
  regular_ = true;
  // A Windows byte range lock keeps everybody else out of its range, so it must lie where no
  // line ever goes: at 2^63 - 2, one byte.
  ReportOpening opening = ReportOpening::kLocked;
  OVERLAPPED far_past_the_lines{};
  far_past_the_lines.Offset = 0xFFFFFFFEu;
  far_past_the_lines.OffsetHigh = 0x7FFFFFFFu;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                  &far_past_the_lines)) {
    if (GetLastError() == ERROR_LOCK_VIOLATION) {
      return ReportOpening::kInUse;
    }
    opening = ReportOpening::kUnlockable;  // a file system that takes no lock
  }
  if (!SetEndOfFile(file)) {  // the position is still 0: this empties the file
    error_ = as_error_number(GetLastError());
    return ReportOpening::kFailed;
  }
  return opening;
}

LineWriting ReportHandle::write_line(std::string_view line,
                                     const std::function<void(LineWriting)>& say_failure) {
  // A console's Ctrl-C ends the process from another thread, between two instructions; a
  // line is still written by this one call. Where the file ends now is where a failed line
  // is cut back to, and a file shorter than the last line's end was cut by another program.
  const std::uint64_t line_start = next_line_start();
  for (std::size_t written = 0; written < line.size();) {
    // An offset of all ones writes at the end of the file as it is at that moment, as a
    // handle opened for appending alone would.
    OVERLAPPED at_the_end{};
    at_the_end.Offset = 0xFFFFFFFFu;
    at_the_end.OffsetHigh = 0xFFFFFFFFu;
    DWORD count = 0;
    const BOOL wrote = WriteFile(as_handle(handle_), line.data() + written,
                                 static_cast<DWORD>(line.size() - written), &count,
                                 regular_ ? &at_the_end : nullptr);
    if (!wrote || count == 0) {
      // A write that takes nothing (a device may) would be tried for ever.
      const int write_error = wrote ? 0 : as_error_number(GetLastError());
      const LineWriting outcome =
          cut_back(line_start) ? LineWriting::kCutBack : LineWriting::kPartLeft;
      error_ = write_error;
      say_failure(outcome);
      return outcome;
    }
    written += count;
  }
  lines_end_ = line_start + line.size();
  return LineWriting::kWritten;
}

std::optional<std::uint64_t> ReportHandle::size() const {
  LARGE_INTEGER held_size{};
  if (!GetFileSizeEx(as_handle(handle_), &held_size)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(held_size.QuadPart);
}

bool ReportHandle::cut_back(std::uint64_t length) {
  if (!regular_) {
    return true;
  }
  // Only ever shorter: a file that another program cut shorter is not filled up.
  if (size().value_or(length + 1) <= length) {
    return true;
  }
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFilePointerEx(as_handle(handle_), end, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(as_handle(handle_))) {
    error_ = as_error_number(GetLastError());
    return false;
  }
  return true;
}

bool ReportHandle::still_named(const char* file_name) const {
  FILE_ID_INFO held{};
  const Identity held_kind = regular_ ? identify(as_handle(handle_), held) : Identity::kUnknown;
  if (held_kind == Identity::kUnknown) {
    return true;
  }
  // No access at all: only to ask which file the name leads to.
  const HANDLE by_name =
      CreateFileA(file_name, 0, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (by_name == INVALID_HANDLE_VALUE) {
    return GetLastError() != ERROR_FILE_NOT_FOUND;
  }
  FILE_ID_INFO named{};
  // Identities of two kinds cannot be compared: then the name counts as found.
  const bool same = identify(by_name, named) != held_kind ||
                    (named.VolumeSerialNumber == held.VolumeSerialNumber &&
                     memcmp(&named.FileId, &held.FileId, sizeof named.FileId) == 0);
  CloseHandle(by_name);
  return same;
}

bool ReportHandle::close() {
  const HANDLE file = as_handle(handle_);
  handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
  if (file != INVALID_HANDLE_VALUE && !CloseHandle(file)) {
    error_ = as_error_number(GetLastError());
    return false;
  }
  return true;
}
