// The messages about the report file, in German; message.cc gives them their shape.
#include "dialogue/report_messages.h"

#include <cerrno>
#include <string>
#include <string_view>

#include "dialogue/message.h"

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

bool say_opening(std::ostream& errors, ReportResult<ReportOpening> opening) {
  switch (opening.outcome) {
    case ReportOpening::kInUse:
      // A second run in this directory would empty the file under the first: it touches
      // nothing.
      say_error(errors, about_the_file(" wird gerade von einem anderen Lauf geschrieben. Starten"
                                       " Sie diesen Lauf in einem anderen Verzeichnis."));
      return false;
    case ReportOpening::kFailed:
      say_error(errors, about_the_file(" kann nicht zum Schreiben geoeffnet werden") +
                            failure_reason(opening.error) + '.');
      return false;
    case ReportOpening::kUnlockable:
      say_warning(errors, about_the_file(" laesst sich hier nicht sperren. Ein zweiter Lauf in"
                                         " diesem Verzeichnis wuerde nicht abgewiesen."));
      return true;
    case ReportOpening::kLocked:
    case ReportOpening::kNotRegular:
      break;
  }
  return true;
}

void say_broken_off(std::ostream& errors, ReportResult<LineOutcome> writing) {
  if (writing.outcome != LineOutcome::kCutBack && writing.outcome != LineOutcome::kPartLeft) {
    return;
  }
  say_error(errors, about_the_file(" kann nicht weiter geschrieben werden") +
                        failure_reason(writing.error) + ". Ab hier fehlen die Zeilen in der Datei" +
                        (writing.outcome == LineOutcome::kCutBack
                             ? "."
                             : "; sie kann mit einer unvollstaendigen Zeile enden."));
}

bool say_ending(std::ostream& errors, ReportResult<ReportEnding> ending) {
  switch (ending.outcome) {
    case ReportEnding::kComplete:
      return true;
    case ReportEnding::kNameLost:
      say_error(errors, about_the_file(" wurde waehrend des Laufs entfernt oder ersetzt. Die"
                                       " Zeilen dieses Laufs stehen nicht darin."));
      break;
    case ReportEnding::kLinesLost:
      say_error(errors, about_the_file(" wurde waehrend des Laufs von einem anderen Programm"
                                       " gekuerzt oder ueberschrieben. Zeilen dieses Laufs fehlen"
                                       " darin, und eine Zeile darin kann abgeschnitten sein."));
      break;
    case ReportEnding::kBrokenOff:
      break;  // said when the writing broke off
    case ReportEnding::kNotClosed:
      say_error(errors, about_the_file(" kann nicht fertig geschrieben werden") +
                            failure_reason(ending.error) +
                            ". Moeglicherweise fehlen Zeilen in der Datei.");
      break;
  }
  return false;
}
