// The report file's lock against a second run, and what only the locked file itself can do:
// be cut back, and tell whether its name still leads to it. Each platform has its own file.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_LOCK_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_LOCK_H_

#include <cstdint>
#include <ios>

// Holds the report file through a handle of its own for as long as it lives, whatever
// happens to the file's name meanwhile.
class ReportLock {
 public:
  ReportLock() = default;
  ReportLock(const ReportLock&) = delete;
  ReportLock& operator=(const ReportLock&) = delete;
  ~ReportLock();

  // Opens file_name, creating it if it is missing but never changing what it holds, and
  // locks it against other runs. Returns false only when another run holds the lock. A file
  // that is no regular file (a FIFO, a device) is not held; one that cannot be opened is left
  // to the caller's own open; one whose lock fails otherwise (no locks on that file system)
  // is held unlocked. Other programs may read and write the file all the same.
  bool acquire(const char* file_name);

  // Cuts the held file back to size bytes if it is longer; nothing without a held file.
  void cut_back(std::streamoff size) const;

  // Returns false when file_name no longer leads to the held file: it was removed, or
  // another file was put in its place. True without a held file, or when the name cannot
  // be looked up for another reason.
  bool still_named(const char* file_name) const;

 private:
  // A POSIX file descriptor or a Windows HANDLE; -1 (INVALID_HANDLE_VALUE) for none.
  std::intptr_t handle_ = -1;
};

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_LOCK_H_
