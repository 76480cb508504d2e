// The report file of one run: its lines, written whole through its one handle, its failures
// and the messages about them, with the cause in German where it is a common one.
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

WholeLineBuffer::int_type WholeLineBuffer::overflow(int_type character) {
  if (failed_) {
    return traits_type::eof();
  }
  if (!traits_type::eq_int_type(character, traits_type::eof())) {
    const char letter = traits_type::to_char_type(character);
    if (letter == '\n') {
      line_ += ReportHandle::kNewline;
    } else {
      line_ += letter;
    }
  }
  return traits_type::not_eof(character);
}

int WholeLineBuffer::sync() {
  if (!failed_ && !line_.empty()) {
    failed_ = !handle_.write(line_.data(), line_.size());
    if (!failed_) {
      written_ += line_.size();
      line_.clear();
    }
  }
  return failed_ ? -1 : 0;
}

ReportFile::ReportFile(std::ostream& errors)
    : errors_(errors), file_lines_(handle_), lines_(&file_lines_) {}

ReportFile::ReportFile(std::streambuf& lines, std::ostream& errors)
    : errors_(errors), file_lines_(handle_), lines_(&lines) {}

bool ReportFile::open() {
  switch (handle_.open(kReportFileName)) {
    case ReportOpening::kInUse:
      // A second run in this directory would empty the file under the first: it touches
      // nothing.
      handle_.close();
      about_the_file(errors_) << " wird gerade von einem anderen Lauf geschrieben. Starten Sie"
                                 " diesen Lauf in einem anderen Verzeichnis."
                              << std::endl;
      return false;
    case ReportOpening::kFailed:
      about_the_file(errors_) << " kann nicht zum Schreiben geoeffnet werden"
                              << failure_reason(handle_.error()) << '.' << std::endl;
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
  if (!lines_) {
    return;
  }
  write_result_line(lines_, n, factors);
  if (!lines_) {
    break_off(handle_.error());
  }
}

bool ReportFile::finish() {
  // Lines written into a file that has lost its name are nowhere the user can find them.
  const bool lost = file_lines_.written() > 0 && !handle_.still_named(kReportFileName);
  const bool closed = handle_.close();
  if (lost) {
    about_the_file(errors_) << " wurde waehrend des Laufs entfernt oder ersetzt. Die Zeilen"
                               " dieses Laufs stehen nicht darin."
                            << std::endl;
    return false;
  }
  if (!lines_) {
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

void ReportFile::break_off(int error_number) {
  const bool whole_lines = handle_.cut_back(file_lines_.written());
  about_the_file(errors_) << " kann nicht weiter geschrieben werden" << failure_reason(error_number)
                          << ". Ab hier fehlen die Zeilen in der Datei"
                          << (whole_lines ? "."
                                          : "; sie kann mit einer unvollstaendigen Zeile enden.")
                          << std::endl;
}
