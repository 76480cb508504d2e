// The report file of one run, with everything that keeps its promise: it holds the result
// lines shown, whole, or the user is told otherwise.
#ifndef SPHENISCHEZAHLEN_REPORT_REPORT_FILE_H_
#define SPHENISCHEZAHLEN_REPORT_REPORT_FILE_H_

#include <ostream>
#include <streambuf>

#include "arith/number.h"
#include "report/report_handle.h"

// The copy of the result lines, in the current directory, written afresh by every run.
constexpr const char* kReportFileName = "sphenischezahlen.txt";

// Returns the German cause of a common write failure, such as ": keine Schreibberechtigung",
// or "" for any other error number, so that a message goes on directly with its ".".
const char* failure_reason(int error_number);

// The report file for one run: locked against a second run, created or emptied, fed one
// result line at a time, and finished before the closing prompt. Every failure is said once
// on the errors stream, in German, with its cause; after the first, the file keeps exactly
// the whole lines written before it and gets nothing more, or the message says it may not.
class ReportFile {
 public:
  // A report file not opened yet, which says its failures on errors.
  explicit ReportFile(std::ostream& errors);

  // A report that writes its lines into lines instead of the file, with no file to lock,
  // cut back or look for; for tests of what feeds it. Not to be opened.
  ReportFile(std::streambuf& lines, std::ostream& errors);

  // Opens the file once, locks it against other runs and empties it. Returns false, after
  // saying why, when another run holds it or it cannot be opened for writing; warns, and
  // returns true, when its file system takes no lock.
  bool open();

  // Appends the result line of n to the file, whole, unless a write has failed before. At
  // the first failure the file is back at its last whole line, and the failure is said,
  // before any signal can end the run.
  void take_line(Number n, const FactorTriple& factors);

  // Checks that the name still leads to the file and that no other program cut it, then
  // closes it, which lets another run have it. Returns true when every line taken is in the
  // file under its name; otherwise says the most important thing that is wrong, once, and
  // returns false.
  bool finish();

 private:
  // Says that the file broke off at a line, with what outcome, and takes no more lines.
  void say_broken_off(LineWriting outcome);

  std::ostream& errors_;
  ReportHandle handle_;
  // The buffer of a test, which takes the lines instead of the file; null for the file.
  std::streambuf* const test_lines_ = nullptr;
  bool broken_off_ = false;
};

#endif  // SPHENISCHEZAHLEN_REPORT_REPORT_FILE_H_
