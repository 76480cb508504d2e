// The messages about the report file, with the cause in German where it is a common one, and
// the cut back to whole lines after a failure.
#include "dialogue/report_file.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

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

void say_report_not_opened(std::ostream& errors, int error_number) {
  errors << "Fehler: Die Datei " << kReportFileName << " kann nicht zum Schreiben geoeffnet werden"
         << failure_reason(error_number) << '.' << std::endl;
}

void say_report_broken_off(std::ostream& errors, int error_number) {
  errors << "Fehler: Die Datei " << kReportFileName << " kann nicht weiter geschrieben werden"
         << failure_reason(error_number) << ". Ab hier fehlen die Zeilen in der Datei."
         << std::endl;
}

void say_report_in_use(std::ostream& errors) {
  errors << "Fehler: Die Datei " << kReportFileName
         << " wird gerade von einem anderen Lauf geschrieben. Starten Sie diesen Lauf in einem"
            " anderen Verzeichnis."
         << std::endl;
}

void cut_back_to_whole_lines(const char* file_name, std::streamoff whole_lines_size) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file_name, error);
  if (error || whole_lines_size < 0 || size <= static_cast<std::uintmax_t>(whole_lines_size)) {
    return;
  }
  std::filesystem::resize_file(file_name, static_cast<std::uintmax_t>(whole_lines_size), error);
}
