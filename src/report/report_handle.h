// The report file as the system holds it: one handle per run, through which the file is
// locked against a second run, emptied, written, cut back, looked for under its name and
// closed. Each platform has its own file.
#ifndef SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_
#define SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_

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

// What became of a line handed to ReportHandle::write_line.
enum class LineWriting {
  kWritten,   // the whole line is in the file
  kCutBack,   // the write failed; the file holds the lines before it, whole
  kPartLeft,  // the write failed, and so did the cut-back: the file may end inside the line
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
  // for a reader. On kInUse, and on kFailed after the file was opened, it is still open
  // until close().
  ReportOpening open(const char* file_name);

  // Writes one line after the lines written so far, in one system call unless the system
  // takes fewer bytes; if that fails, cuts a regular file back to the lines before it. On
  // POSIX the signals that end the program wait through both, so that one ends the run with
  // the line whole in the file or not in it at all. error() says why the write failed.
  LineWriting write_line(const char* data, std::size_t size);

  // The bytes of the lines written whole so far.
  std::uint64_t lines_size() const { return lines_size_; }

  // Cuts a regular file back to size bytes, never making it longer; true when the file now
  // has at most that size, or is no regular file. Called by write_line, with the signals
  // held, and by a test.
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
  std::uint64_t lines_size_ = 0;
  int error_ = 0;
};

#endif  // SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_
