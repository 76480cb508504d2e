// The report file of one run, with everything that keeps its promise: it holds the result
// lines shown, whole, or the user is told otherwise.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_

#include <fstream>
#include <ios>
#include <ostream>
#include <streambuf>

#include "arith/number.h"
#include "dialogue/report_lock.h"

// The copy of the result lines, in the current directory, written afresh by every run.
constexpr const char* kReportFileName = "sphenischezahlen.txt";

// Returns the German cause of a common write failure, such as ": keine Schreibberechtigung",
// or "" for any other error number, so that a message goes on directly with its ".".
const char* failure_reason(int error_number);

// The report file for one run: locked against a second run, created or emptied, fed one
// result line at a time, and finished before the closing prompt. Every failure is said once
// on the errors stream, in German, with its cause; after the first, the file keeps exactly
// the whole lines written before it and gets nothing more.
class ReportFile {
 public:
  // A report file not opened yet, which says its failures on errors.
  explicit ReportFile(std::ostream& errors);

  // A report that writes its lines into lines instead of the file, with no file to lock,
  // cut back or look for; for tests of what feeds it. Not to be opened.
  ReportFile(std::streambuf& lines, std::ostream& errors);

  // Locks the file against other runs, then creates or empties it. Returns false, after
  // saying why, when another run holds it or it cannot be opened for writing.
  bool open();

  // Writes the result line of n to the file, flushed, unless a write has failed before. At
  // the first failure, says so and cuts the file back to its last whole line at once, so
  // that whatever ends the run later finds whole lines only.
  void take_line(Number n, const FactorTriple& factors);

  // Closes the file and checks that its name still leads to it. Returns true when every line
  // taken is in the file under its name; otherwise says what is wrong, once, and returns false.
  bool finish();

 private:
  // Stops writing after a failure with error_number as its cause, cuts the file back to its
  // whole lines, and says so.
  void break_off(int error_number);

  std::ostream& errors_;
  ReportLock lock_;
  std::filebuf file_;
  // Writes into file_, or into the buffer of a test; its failed state marks the break-off.
  std::ostream lines_;
  // Where the last line that the file took whole ends.
  std::streamoff whole_lines_end_ = 0;
};

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_
