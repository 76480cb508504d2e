// The report file's lock on Windows: one byte locked far past any data, where no other
// program ever reads or writes, on a handle that only reads, so that it keeps nobody out.
#include <windows.h>

#include "dialogue/report_lock.h"

namespace {

HANDLE as_handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Everybody else, this run's own report stream included, may open the file as before.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

ReportLock::~ReportLock() {
  if (as_handle(handle_) != INVALID_HANDLE_VALUE) {
    CloseHandle(as_handle(handle_));
  }
}

bool ReportLock::acquire(const char* file_name) {
  // Read access is all a byte range lock needs. A handle that may write would shut out every
  // reader that denies writers (a spreadsheet, .NET's FileShare.Read) until the run ends.
  // OPEN_ALWAYS creates a missing file and leaves an existing one as it is.
  const HANDLE file = CreateFileA(file_name, GENERIC_READ, kShareAll, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return true;
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return true;
  }
  // A Windows byte range lock keeps everybody else out of its range, so it must lie where no
  // line ever goes: at 2^63 - 2, one byte.
  OVERLAPPED far_past_the_lines{};
  far_past_the_lines.Offset = 0xFFFFFFFEu;
  far_past_the_lines.OffsetHigh = 0x7FFFFFFFu;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                  &far_past_the_lines) &&
      GetLastError() == ERROR_LOCK_VIOLATION) {
    CloseHandle(file);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

void ReportLock::cut_back(std::streamoff size) const {
  LARGE_INTEGER held_size{};
  if (as_handle(handle_) == INVALID_HANDLE_VALUE || size < 0 ||
      !GetFileSizeEx(as_handle(handle_), &held_size) || held_size.QuadPart <= size) {
    return;
  }
  // The held handle only reads; a second one to the same file, not to its name, may write.
  const HANDLE writer = ReOpenFile(as_handle(handle_), GENERIC_WRITE, kShareAll, 0);
  if (writer == INVALID_HANDLE_VALUE) {
    return;
  }
  LARGE_INTEGER end{};
  end.QuadPart = size;
  if (SetFilePointerEx(writer, end, nullptr, FILE_BEGIN)) {
    SetEndOfFile(writer);
  }
  CloseHandle(writer);
}

bool ReportLock::still_named(const char* file_name) const {
  BY_HANDLE_FILE_INFORMATION held{};
  if (as_handle(handle_) == INVALID_HANDLE_VALUE ||
      !GetFileInformationByHandle(as_handle(handle_), &held)) {
    return true;
  }
  // No access at all: only to ask which file the name leads to.
  const HANDLE by_name =
      CreateFileA(file_name, 0, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (by_name == INVALID_HANDLE_VALUE) {
    return GetLastError() != ERROR_FILE_NOT_FOUND;
  }
  BY_HANDLE_FILE_INFORMATION named{};
  const bool same =
      !GetFileInformationByHandle(by_name, &named) ||
      (named.dwVolumeSerialNumber == held.dwVolumeSerialNumber &&
       named.nFileIndexHigh == held.nFileIndexHigh && named.nFileIndexLow == held.nFileIndexLow);
  CloseHandle(by_name);
  return same;
}
