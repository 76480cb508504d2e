// The report file's name, the lines that tell the user when it cannot be written, and its
// repair after a failed write.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_

#include <ios>
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

// Tells errors that another run writes the report file in this directory just now.
void say_report_in_use(std::ostream& errors);

// Cuts the closed file file_name back to whole_lines_size bytes, where its last whole line
// ends: a failed write may have left part of a line, and closing the stream may have written
// that line out after all. Leaves a file no larger than that, anything that is no regular
// file, and an unknown size (-1) alone.
void cut_back_to_whole_lines(const char* file_name, std::streamoff whole_lines_size);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_REPORT_FILE_H_
