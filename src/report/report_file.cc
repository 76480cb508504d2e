// The report file of one run: its lines, written whole through its one handle, and what
// became of them.
#include "report/report_file.h"

ReportOpening ReportFile::open() {
  const ReportOpening opening = handle_.open(kReportFileName);
  if (opening == ReportOpening::kInUse || opening == ReportOpening::kFailed) {
    // Let go at once: a refused run must not keep the file, nor its lock, through its key
    // wait. A close that succeeds leaves error() as the opening left it.
    handle_.close();
  }
  return opening;
}

void ReportFile::take_line(const std::string& line,
                           const std::function<void(LineWriting)>& say_failure) {
  if (broken_off_) {
    return;
  }
  handle_.write_line(line + ReportHandle::kNewline, [&](LineWriting outcome) {
    broken_off_ = true;
    say_failure(outcome);
  });
}

ReportEnding ReportFile::finish() {
  // Lines written into a file that has lost its name are nowhere the user can find them;
  // lines in a file that another program cut are gone.
  const bool lost = handle_.wrote_lines() && !handle_.still_named(kReportFileName);
  const bool shortened = !lost && handle_.shortened();
  const bool closed = handle_.close();
  if (lost) {
    return ReportEnding::kLost;
  }
  if (shortened) {
    return ReportEnding::kShortened;
  }
  if (broken_off_) {
    return ReportEnding::kBrokenOff;
  }
  return closed ? ReportEnding::kComplete : ReportEnding::kNotClosed;
}
