// What the run says about its report file: the German messages, each one line on the errors
// stream, with the cause where it is a common one.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_MESSAGES_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_MESSAGES_H_

#include <ostream>

#include "report/report_file.h"
#include "report/report_handle.h"

// Returns the German cause of a common write failure, such as ": keine Schreibberechtigung",
// or "" for any other error number, so that a message goes on directly with its ".".
const char* failure_reason(int error_number);

// Says what opening the file came to, where there is something to say, and returns true
// when the run may go on: a locked or unlockable file (the latter warned of), or a FIFO.
bool say_opening(std::ostream& errors, ReportResult<ReportOpening> opening);

// Says that the file broke off at a line, and whether it keeps whole lines only, where the
// line failed; says nothing for a line written or refused after an earlier failure.
void say_broken_off(std::ostream& errors, ReportResult<LineOutcome> writing);

// Says what the end of the run found, where that was not said before, and returns true when
// every line is in the file under its name.
bool say_ending(std::ostream& errors, ReportResult<ReportEnding> ending);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_MESSAGES_H_
