// The report file's lock on Windows: one byte locked far past any data, where no other
// program ever reads or writes.
#include <windows.h>

#include "dialogue/report_lock.h"

bool lock_report_file(const char* file_name) {
  // OPEN_ALWAYS creates a missing file and leaves an existing one as it is; full sharing
  // lets everybody else, this run's own report stream included, open it as before.
  const HANDLE file =
      CreateFileA(file_name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                 &far_past_the_lines)) {
    // The handle stays open on purpose: the lock lasts until the process ends.
    return true;
  }
  const bool held_by_another_run = GetLastError() == ERROR_LOCK_VIOLATION;
  CloseHandle(file);
  return !held_by_another_run;
}
