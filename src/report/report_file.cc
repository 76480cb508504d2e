// The report file of one run: its lines, each formatted as the console shows it and written
// whole through its one handle, its failures and the messages about them, with the cause in
// German where it is a common one.
#include "report/report_file.h"

#include <cerrno>

#include "report/result_line.h"

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

ReportFile::ReportFile(std::ostream& errors) : errors_(errors) {}

ReportFile::ReportFile(std::streambuf& lines, std::ostream& errors)
    : errors_(errors), test_lines_(&lines) {}

bool ReportFile::open() {
  const ReportOpening opening = handle_.open(kReportFileName);
  const int error = handle_.error();
  if (opening == ReportOpening::kInUse || opening == ReportOpening::kFailed) {
    // Let go at once: a refused run must not keep the file, nor its lock, through its key
    // wait.
    handle_.close();
  }
  switch (opening) {
    case ReportOpening::kInUse:
      // A second run in this directory would empty the file under the first: it touches
      // nothing.
      about_the_file(errors_) << " wird gerade von einem anderen Lauf geschrieben. Starten Sie"
                                 " diesen Lauf in einem anderen Verzeichnis."
                              << std::endl;
      return false;
    case ReportOpening::kFailed:
      about_the_file(errors_) << " kann nicht zum Schreiben geoeffnet werden"
                              << failure_reason(error) << '.' << std::endl;
      return false;
    case ReportOpening::kUnlockable:
      errors_ << "Warnung: Die Datei " << kReportFileName
              << " laesst sich hier nicht sperren. Ein zweiter Lauf in diesem Verzeichnis"
                 " wuerde nicht abgewiesen."
              << std::endl;
      return true;
    case ReportOpening::kLocked:
    case ReportOpening::kNotRegular:
      break;
  }
  return true;
}

void ReportFile::take_line(Number n, const FactorTriple& factors) {
  if (broken_off_) {
    return;
  }
  line_.str(std::string());
  write_result_line(line_, n, factors);
  const LineWriting writing = write_line(line_.str());
  if (writing == LineWriting::kWritten) {
    return;
  }
  broken_off_ = true;
  about_the_file(errors_) << " kann nicht weiter geschrieben werden"
                          << failure_reason(handle_.error())
                          << ". Ab hier fehlen die Zeilen in der Datei"
                          << (writing == LineWriting::kCutBack
                                  ? "."
                                  : "; sie kann mit einer unvollstaendigen Zeile enden.")
                          << std::endl;
}

bool ReportFile::finish() {
  // Lines written into a file that has lost its name are nowhere the user can find them.
  const bool lost = handle_.lines_size() > 0 && !handle_.still_named(kReportFileName);
  const bool closed = handle_.close();
  if (lost) {
    about_the_file(errors_) << " wurde waehrend des Laufs entfernt oder ersetzt. Die Zeilen"
                               " dieses Laufs stehen nicht darin."
                            << std::endl;
    return false;
  }
  if (broken_off_) {
    return false;  // said when the writing broke off
  }
  if (!closed) {
    about_the_file(errors_) << " kann nicht fertig geschrieben werden"
                            << failure_reason(handle_.error())
                            << ". Moeglicherweise fehlen Zeilen in der Datei." << std::endl;
    return false;
  }
  return true;
}

LineWriting ReportFile::write_line(std::string line) {
  if (test_lines_ != nullptr) {
    const auto size = static_cast<std::streamsize>(line.size());
    return test_lines_->sputn(line.data(), size) == size ? LineWriting::kWritten
                                                         : LineWriting::kCutBack;
  }
  line.pop_back();
  line += ReportHandle::kNewline;
  return handle_.write_line(line.data(), line.size());
}
