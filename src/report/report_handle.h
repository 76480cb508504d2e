// The report file as the system holds it: one handle per run, through which the file is
// locked against a second run, emptied, written, read back, cut back, looked for under its
// name and closed. report_handle.cc decides; a file per platform makes the system calls.
#ifndef SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_
#define SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An outcome of the report file and, where it is a failure, its error number in errno's
// terms (a Windows error is mapped), 0 where there is none or none is known.
template <typename Outcome>
struct ReportResult {
  Outcome outcome;
  int error = 0;
};

// What opening the report file came to.
enum class ReportOpening {
  kLocked,      // a regular file, locked against other runs and emptied
  kUnlockable,  // a regular file, emptied, whose file system takes no lock
  kNotRegular,  // a FIFO or a device, opened as a shell redirection opens it
  kInUse,       // another run holds the lock: the file is left as it is
  kFailed,      // cannot be opened for writing
};

// What became of a line handed to the report file.
enum class LineOutcome {
  kWritten,   // the whole line is in the file
  kCutBack,   // the write failed; the file holds the lines before it, whole
  kPartLeft,  // the write failed, and so did the cut-back: the file may end inside the line
  kRefused,   // an earlier line failed, and the file takes no more
};

// The one handle of the report file. Other programs may read and write the file all the
// same: each line is appended at the file's end as it then is, on a line of its own, so that
// it never lands behind a hole, on another program's text or glued to it; the lock only
// keeps out another run of this program.
class ReportHandle {
 public:
  // The line ending of a text file on this platform.
  static const char* const kNewline;

  ReportHandle() = default;
  ReportHandle(const ReportHandle&) = delete;
  ReportHandle& operator=(const ReportHandle&) = delete;
  ~ReportHandle();

  // Opens file_name for reading and writing (for writing alone where reading is not
  // allowed), creating it if it is missing. A regular file is locked, then emptied only once
  // the lock is won, so a refused run changes nothing; a FIFO waits for a reader. On kInUse,
  // and on kFailed after the file was opened, it is still open until close().
  ReportResult<ReportOpening> open(const char* file_name);

  // True once a regular file is open: its writes never wait for a reader.
  bool regular() const { return regular_; }

  // Appends line and the platform's line end at the file's end, in one system call unless
  // the system takes fewer bytes, after a line end of its own where another program left the
  // file ending inside a line. If that fails (a call that takes nothing counts as failed),
  // cuts a regular file back to where the line began.
  ReportResult<LineOutcome> write_line(std::string_view line);

  // True once some line has been written whole.
  bool wrote_lines() const { return !last_line_.empty(); }

  // True when lines of this run are gone from a regular file: before a later line, or now,
  // the file did not end where the run left it, and the run's last line was not where it
  // wrote it (another program cut the file, or wrote it anew). Text that another program
  // only appended leaves them in place.
  bool lost_lines();

  // Cuts a regular file back to length bytes, never making it longer; returns 0 when the
  // file now has at most that size, or is no regular file, else the error number. Called
  // by write_line and by a test.
  int cut_back(std::uint64_t length);

  // Returns false when file_name no longer leads to this regular file: it was removed, or
  // another file was put in its place. True for other files, or when the name cannot be
  // looked up for another reason.
  bool still_named(const char* file_name) const;

  // Closes the file, which lets the lock go; the error number when closing failed (a network
  // file system may say only then that data was lost), else 0.
  int close();

 private:
  // The system calls, one file per platform.

  // Writes up to size bytes of data at the file's end as it is at that moment (for a file
  // that is not regular, where it stands); returns how many, or -1 with error set.
  std::ptrdiff_t append(const char* data, std::size_t size, int& error);
  // The size of the regular file as it is now, or nothing when the system cannot tell it.
  std::optional<std::uint64_t> size() const;
  // Where the last write to a regular file ended, even when another program has appended
  // since; nothing when the system cannot tell.
  std::optional<std::uint64_t> end_of_last_write() const;
  // The size bytes from offset on, fewer at the file's end; nothing when they cannot be read.
  std::optional<std::string> read(std::uint64_t offset, std::size_t size) const;
  // Sets the size of the regular file to length; 0, or the error number.
  int truncate(std::uint64_t length);

  // Returns where a regular file ends now, nothing where that is unknown or it is no regular
  // file; notes when lines of the run are gone.
  std::optional<std::uint64_t> check_the_end();

  // A POSIX file descriptor or a Windows HANDLE; -1 (INVALID_HANDLE_VALUE) for none.
  std::intptr_t handle_ = -1;
  bool regular_ = false;
  // The last line written whole, with its line end, and where it ends in the file.
  std::string last_line_;
  std::uint64_t lines_end_ = 0;
  // Whether lines of this run were found gone before a later line.
  bool lost_lines_ = false;
};

#endif  // SPHENISCHEZAHLEN_REPORT_REPORT_HANDLE_H_
