// The report file of one run: its lines, written whole through its one handle, and what
// became of them.
#include "report/report_file.h"

ReportResult<ReportOpening> ReportFile::open() {
  const ReportResult<ReportOpening> opening = handle_.open(kReportFileName);
  if (opening.outcome == ReportOpening::kInUse || opening.outcome == ReportOpening::kFailed) {
    // Let go at once: a refused run must not keep the file, nor its lock, through its key
    // wait.
    handle_.close();
  }
  return opening;
}

ReportResult<LineOutcome> ReportFile::take_line(std::string_view line) {
  if (broken_off_) {
    return {LineOutcome::kRefused};
  }
  const ReportResult<LineOutcome> writing = handle_.write_line(line);
  broken_off_ = writing.outcome != LineOutcome::kWritten;
  return writing;
}

ReportResult<ReportEnding> ReportFile::finish() {
  // Lines written into a file that has lost its name are nowhere the user can find them;
  // lines in a file that another program cut or wrote anew are gone.
  const bool name_lost = handle_.wrote_lines() && !handle_.still_named(kReportFileName);
  const bool lines_lost = !name_lost && handle_.lost_lines();
  const int close_error = handle_.close();
  if (name_lost) {
    return {ReportEnding::kNameLost};
  }
  if (lines_lost) {
    return {ReportEnding::kLinesLost};
  }
  if (broken_off_) {
    return {ReportEnding::kBrokenOff};
  }
  return {close_error == 0 ? ReportEnding::kComplete : ReportEnding::kNotClosed, close_error};
}
