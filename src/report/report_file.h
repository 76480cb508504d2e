// The report file of one run, with everything that keeps its promise: it holds the result
// lines shown, whole, or the run learns what is wrong.
#ifndef SPHENISCHEZAHLEN_REPORT_REPORT_FILE_H_
#define SPHENISCHEZAHLEN_REPORT_REPORT_FILE_H_

#include <string_view>

#include "report/report_handle.h"

// The copy of the result lines, in the current directory, written afresh by every run.
constexpr const char* kReportFileName = "sphenischezahlen.txt";

// What the end of a run found of its report file, the most important first.
enum class ReportEnding {
  kComplete,   // every line taken is in the file under its name
  kNameLost,   // the file was removed or replaced: the name leads elsewhere
  kLinesLost,  // another program cut the file or wrote it anew, and lines of the run are gone
  kBrokenOff,  // a line could not be written; that was said when it happened
  kNotClosed,  // closing the file failed
};

// The report file for one run: locked against a second run, created or emptied, fed one
// result line at a time, and finished before the closing prompt. After the first failed
// line the file keeps exactly the whole lines written before it and gets nothing more, or
// the failure's outcome says it may not.
class ReportFile {
 public:
  // Opens the file once, locks it against other runs and empties it. A run refused
  // (kInUse, kFailed) has let the file go again.
  ReportResult<ReportOpening> open();

  // True for a regular file, whose writes never wait for a reader.
  bool regular() const { return handle_.regular(); }

  // Appends line and the platform's line end to the file, whole, unless a line has failed
  // before (kRefused). At the first failure the file is back at its last whole line.
  ReportResult<LineOutcome> take_line(std::string_view line);

  // Checks that the name still leads to the file and that no other program took lines of
  // the run away, then closes it, which lets another run have it; returns what it found.
  ReportResult<ReportEnding> finish();

 private:
  ReportHandle handle_;
  bool broken_off_ = false;
};

#endif  // SPHENISCHEZAHLEN_REPORT_REPORT_FILE_H_
