// The messages about the report file, with the cause in German where it is a common one.
#include "dialogue/report_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

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

void cut_off_broken_line(const char* file_name) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file_name, error);
  if (error || size == 0) {
    return;
  }
  // A result line is at most 45 bytes long, so the last line break lies within the tail.
  const std::uintmax_t tail_size = std::min<std::uintmax_t>(size, 64);
  std::string tail(tail_size, '\0');
  std::ifstream file(file_name, std::ios::binary);
  if (!file.seekg(static_cast<std::streamoff>(size - tail_size)).read(&tail[0], tail.size())) {
    return;
  }
  const std::size_t last_break = tail.rfind('\n');
  if (last_break != std::string::npos) {
    std::filesystem::resize_file(file_name, size - tail_size + last_break + 1, error);
  } else if (tail_size == size) {
    std::filesystem::resize_file(file_name, 0, error);
  }
}
