// The report file's name, and the lines that tell the user when it cannot be written.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_

#include <ostream>

// The copy of the result lines, in the current directory, written afresh by every run.
constexpr const char* kReportFileName = "sphenischezahlen.txt";

// Returns the German cause of a common write failure, such as ": keine Schreibberechtigung",
// or "" for any other error number, so that the message goes on directly with its ".".
const char* failure_reason(int error_number);

// Tells errors that the report file cannot be opened for writing, and why.
void say_report_not_opened(std::ostream& errors, int error_number);

// Tells errors that the report file cannot be written any further, and why: the result
// lines from here on are missing in it.
void say_report_broken_off(std::ostream& errors, int error_number);

// Cuts the closed file file_name back to its last line break: a write that broke off inside a
// line may have left part of it. Leaves anything that is no regular file as it is.
void cut_off_broken_line(const char* file_name);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_
