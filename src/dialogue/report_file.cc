// The report file of one run: its lock, its lines, its failures and the messages about them,
// with the cause in German where it is a common one.
#include "dialogue/report_file.h"

#include <cerrno>

#include "dialogue/result_line.h"

namespace {

// Starts a message about the report file on errors; the caller says what is wrong with it.
std::ostream& about_the_file(std::ostream& errors) {
  return errors << "Fehler: Die Datei " << kReportFileName;
}

}  // namespace

const char* failure_reason(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
      return ": keine Schreibberechtigung";
    case EISDIR:
      return ": es ist ein Verzeichnis";
    case EROFS:
      return ": das Dateisystem ist schreibgeschuetzt";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return ": der Datentraeger ist voll";
    case EFBIG:
      return ": die Datei ist zu gross";
    default:
      return "";
  }
}

ReportFile::ReportFile(std::ostream& errors) : errors_(errors), lines_(&file_) {}

ReportFile::ReportFile(std::streambuf& lines, std::ostream& errors)
    : errors_(errors), lines_(&lines) {}

bool ReportFile::open() {
  // A second run in this directory would empty the file under the first: it touches nothing.
  if (!lock_.acquire(kReportFileName)) {
    about_the_file(errors_) << " wird gerade von einem anderen Lauf geschrieben. Starten Sie"
                               " diesen Lauf in einem anderen Verzeichnis."
                            << std::endl;
    return false;
  }
  errno = 0;
  if (!file_.open(kReportFileName, std::ios::out)) {
    const char* reason = failure_reason(errno);  // before the message's own writes
    about_the_file(errors_) << " kann nicht zum Schreiben geoeffnet werden" << reason << '.'
                            << std::endl;
    return false;
  }
  return true;
}

void ReportFile::take_line(Number n, const FactorTriple& factors) {
  if (!lines_) {
    return;
  }
  errno = 0;
  write_result_line(lines_, n, factors);
  if (lines_) {
    whole_lines_end_ = lines_.tellp();
  } else {
    break_off(errno);
  }
}

bool ReportFile::finish() {
  if (lines_ && file_.is_open()) {
    errno = 0;
    if (!file_.close()) {
      lines_.setstate(std::ios::badbit);
      break_off(errno);
    }
  }
  // Lines written into a file that has lost its name are nowhere the user can find them.
  if (whole_lines_end_ > 0 && !lock_.still_named(kReportFileName)) {
    about_the_file(errors_) << " wurde waehrend des Laufs entfernt oder ersetzt. Die Zeilen"
                               " dieses Laufs stehen nicht darin."
                            << std::endl;
    return false;
  }
  return static_cast<bool>(lines_);
}

void ReportFile::break_off(int error_number) {
  // Closing lets the stream write out the rest of the failed line if it now can, so that
  // nothing reaches the file after the cut.
  file_.close();
  lock_.cut_back(whole_lines_end_);
  about_the_file(errors_) << " kann nicht weiter geschrieben werden" << failure_reason(error_number)
                          << ". Ab hier fehlen die Zeilen in der Datei." << std::endl;
}
