// The report file of one run: its lines, each formatted as the console shows it and written
// whole through its one handle, its failures and the messages about them, with the cause in
// German where it is a common one.
#include "report/report_file.h"

#include <cerrno>
#include <string>

#include "report/message.h"
#include "report/result_line.h"

namespace {

// Returns "Die Datei sphenischezahlen.txt" and then what is wrong with it: how every message
// about the report file begins.
std::string about_the_file(std::string_view what) {
  return std::string("Die Datei ") + kReportFileName + std::string(what);
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
      say_error(errors_, about_the_file(" wird gerade von einem anderen Lauf geschrieben. Starten"
                                        " Sie diesen Lauf in einem anderen Verzeichnis."));
      return false;
    case ReportOpening::kFailed:
      say_error(errors_, about_the_file(" kann nicht zum Schreiben geoeffnet werden") +
                             failure_reason(error) + '.');
      return false;
    case ReportOpening::kUnlockable:
      say_warning(errors_, about_the_file(" laesst sich hier nicht sperren. Ein zweiter Lauf in"
                                          " diesem Verzeichnis wuerde nicht abgewiesen."));
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
  const std::string line = result_line(n, factors);
  if (test_lines_ != nullptr) {
    const std::string whole = line + '\n';
    const auto size = static_cast<std::streamsize>(whole.size());
    if (test_lines_->sputn(whole.data(), size) != size) {
      say_broken_off(LineWriting::kCutBack);
    }
    return;
  }
  // Said while the handle still holds the signals back, so that no signal ends the run
  // between a failure and its message.
  handle_.write_line(line + ReportHandle::kNewline,
                     [this](LineWriting outcome) { say_broken_off(outcome); });
}

void ReportFile::say_broken_off(LineWriting outcome) {
  broken_off_ = true;
  say_error(errors_, about_the_file(" kann nicht weiter geschrieben werden") +
                         failure_reason(handle_.error()) +
                         ". Ab hier fehlen die Zeilen in der Datei" +
                         (outcome == LineWriting::kCutBack
                              ? "."
                              : "; sie kann mit einer unvollstaendigen Zeile enden."));
}

bool ReportFile::finish() {
  // Lines written into a file that has lost its name are nowhere the user can find them;
  // lines in a file that another program cut are gone.
  const bool lost = handle_.wrote_lines() && !handle_.still_named(kReportFileName);
  const bool shortened = !lost && handle_.shortened();
  const bool closed = handle_.close();
  if (lost) {
    say_error(errors_, about_the_file(" wurde waehrend des Laufs entfernt oder ersetzt. Die"
                                      " Zeilen dieses Laufs stehen nicht darin."));
    return false;
  }
  if (shortened) {
    say_error(errors_, about_the_file(" wurde waehrend des Laufs von einem anderen Programm"
                                      " gekuerzt. Zeilen dieses Laufs fehlen darin."));
    return false;
  }
  if (broken_off_) {
    return false;  // said when the writing broke off
  }
  if (!closed) {
    say_error(errors_, about_the_file(" kann nicht fertig geschrieben werden") +
                           failure_reason(handle_.error()) +
                           ". Moeglicherweise fehlen Zeilen in der Datei.");
    return false;
  }
  return true;
}
