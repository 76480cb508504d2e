// The report file as the system holds it: one handle per run, through which the file is
// locked against a second run, emptied, written, cut back, looked for under its name and
// closed. Each platform has its own file.
#ifndef SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_
#define SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

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
// same: each line is appended at the file's end as it then is, so that it never lands behind
// a hole or on another program's text; the lock only keeps out another run of this program.
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

  // Appends line at the file's end, in one system call unless the system takes fewer bytes;
  // if that fails (a call that takes nothing counts as failed), cuts a regular file back to
  // where the line began and calls say_failure with the outcome. On POSIX the signals that
  // end the program wait through all three, so that one ends the run with the line whole in
  // the file or its failure said. error() says why the write failed.
  LineWriting write_line(std::string_view line,
                         const std::function<void(LineWriting)>& say_failure);

  // True once some line has been written whole.
  bool wrote_lines() const { return lines_end_ > 0; }

  // True when a regular file is now shorter than the end of the last line written, or was
  // so before a later line: another program cut it, and lines of this run are gone.
  bool shortened() {
    next_line_start();
    return shortened_;
  }

  // Cuts a regular file back to length bytes, never making it longer; true when the file now
  // has at most that size, or is no regular file. Called by write_line, with the signals
  // held, and by a test.
  bool cut_back(std::uint64_t length);

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
  // The size of the regular file as it is now, or nothing when the system cannot tell it.
  std::optional<std::uint64_t> size() const;

  // Where a line appended now begins: the end of a regular file as it is now, noting when
  // that falls short of the last line's end; for other files the last line's end.
  std::uint64_t next_line_start() {
    const std::uint64_t start = regular_ ? size().value_or(lines_end_) : lines_end_;
    shortened_ = shortened_ || start < lines_end_;
    return start;
  }

  bool regular_ = false;
  // Where the last line written whole ends in the file, and whether the file was found
  // shorter than that before a later line.
  std::uint64_t lines_end_ = 0;
  bool shortened_ = false;
  int error_ = 0;
};

#endif  // SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_
