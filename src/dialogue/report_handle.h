// The report file as the system holds it: one handle per run, through which the file is
// locked against a second run, emptied, written, cut back, looked for under its name and
// closed. Each platform has its own file.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_HANDLE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_HANDLE_H_

#include <cstddef>
#include <cstdint>

// What opening the report file came to.
enum class ReportOpening {
  kLocked,      // a regular file, locked against other runs and emptied
  kUnlockable,  // a regular file, emptied, whose file system takes no lock
  kNotRegular,  // a FIFO or a device, opened as a shell redirection opens it
  kInUse,       // another run holds the lock: the file is left as it is
  kFailed,      // cannot be opened for writing; error() says why
};

// The one handle of the report file. Other programs may read and write the file all the
// same; the lock only keeps out another run of this program.
class ReportHandle {
 public:
  // The line ending of a text file on this platform.
  static const char* const kNewline;

  ReportHandle() = default;
  ReportHandle(const ReportHandle&) = delete;
  ReportHandle& operator=(const ReportHandle&) = delete;
  ~ReportHandle();

  // Opens file_name for writing, creating it if it is missing. A regular file is locked,
  // then emptied only once the lock is won, so a refused run changes nothing; a FIFO waits
  // for a reader.
  ReportOpening open(const char* file_name);

  // Writes size bytes at the end of what this run wrote, in one system call unless the
  // system takes fewer bytes. For a regular file the signals that end the program wait
  // meanwhile, so that they end it only between two writes. Returns false on failure;
  // error() says why.
  bool write(const char* data, std::size_t size);

  // Cuts a regular file back to size bytes, with the ending signals held back; true when
  // the file now has that size or is no regular file.
  bool cut_back(std::uint64_t size);

  // Returns false when file_name no longer leads to this regular file: it was removed, or
  // another file was put in its place. True for other files, or when the name cannot be
  // looked up for another reason.
  bool still_named(const char* file_name) const;

  // Closes the file, which lets the lock go. Returns false when closing failed (a
  // network file system may say only then that data was lost); error() says why.
  bool close();

  // The error number of the last failure, in errno's terms (a Windows error is mapped).
  int error() const { return error_; }

 private:
  // A POSIX file descriptor or a Windows HANDLE; -1 (INVALID_HANDLE_VALUE) for none.
  std::intptr_t handle_ = -1;
  bool regular_ = false;
  int error_ = 0;
};

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_HANDLE_H_
