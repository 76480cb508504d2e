// The report file's system calls on Windows: one HANDLE that lets others read and write, and
// a lock of one byte far past any data, where no other program ever reads or writes.
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

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

ReportResult<ReportOpening> ReportHandle::open(const char* file_name) {
  // OPEN_ALWAYS creates a missing file and leaves an existing one as it is until the lock
  // is won, so that a refused run changes nothing. For writing alone where reading is denied.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (const DWORD access : {DWORD{GENERIC_READ | GENERIC_WRITE}, DWORD{GENERIC_WRITE}}) {
    file = CreateFileA(file_name, access, kShareReadWrite, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED) {
      break;
    }
  }
  if (file == INVALID_HANDLE_VALUE) {
    return {ReportOpening::kFailed, as_error_number(GetLastError())};
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  if (GetFileType(file) != FILE_TYPE_DISK) {
    return {ReportOpening::kNotRegular};
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
      return {ReportOpening::kInUse};
    }
    opening = ReportOpening::kUnlockable;  // a file system that takes no lock
  }
  const int error = truncate(0);
  return {error == 0 ? opening : ReportOpening::kFailed, error};
}

std::ptrdiff_t ReportHandle::append(const char* data, std::size_t size, int& error) {
  // A console's Ctrl-C ends the process from another thread, between two instructions; a
  // line is still written by this one call. An offset of all ones writes at the end of the
  // file as it is at that moment, as a handle opened for appending alone would.
  OVERLAPPED at_the_end{};
  at_the_end.Offset = 0xFFFFFFFFu;
  at_the_end.OffsetHigh = 0xFFFFFFFFu;
  DWORD count = 0;
  if (!WriteFile(as_handle(handle_), data, static_cast<DWORD>(size), &count,
                 regular_ ? &at_the_end : nullptr)) {
    error = as_error_number(GetLastError());
    return -1;
  }
  return static_cast<std::ptrdiff_t>(count);
}

std::optional<std::uint64_t> ReportHandle::size() const {
  LARGE_INTEGER held_size{};
  if (!GetFileSizeEx(as_handle(handle_), &held_size)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(held_size.QuadPart);
}

std::optional<std::uint64_t> ReportHandle::end_of_last_write() const {
  // A write to a handle opened for synchronous use moves its file pointer past what it wrote.
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(as_handle(handle_), LARGE_INTEGER{}, &position, FILE_CURRENT)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(position.QuadPart);
}

std::optional<std::string> ReportHandle::read(std::uint64_t offset, std::size_t size) const {
  std::string bytes(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset + got);
    at.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
    DWORD count = 0;
    if (!ReadFile(as_handle(handle_), &bytes[got], static_cast<DWORD>(size - got), &count, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) {
        break;
      }
      return std::nullopt;
    }
    if (count == 0) {
      break;
    }
    got += count;
  }
  bytes.resize(got);
  return bytes;
}

int ReportHandle::truncate(std::uint64_t length) {
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFilePointerEx(as_handle(handle_), end, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(as_handle(handle_))) {
    return as_error_number(GetLastError());
  }
  return 0;
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

int ReportHandle::close() {
  const HANDLE file = as_handle(handle_);
  handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
  if (file != INVALID_HANDLE_VALUE && !CloseHandle(file)) {
    return as_error_number(GetLastError());
  }
  return 0;
}
