// One run of the program: greeting, the two bounds, the scan of the range, the key wait.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_

#include <ostream>

#include "arith/number.h"
#include "report/report_file.h"

// Runs the whole dialogue on the standard streams, copying every result line into the
// report file, and returns the process's exit status: 0 after a scan whose every line is in
// the file under its name, 1 when a bound could not be read or the report file could not be
// opened (then nothing but the closing prompt is shown), written to the end or found again
// under its name.
int run_dialogue();

// Writes the result line of every sphenic number from lower to upper, both included, in
// ascending order, to report and then to console. Nothing when lower is above upper; an
// upper bound of 4294967295 ends the scan after that number. After the first line that
// report fails to take, report takes no more (and says so); console gets them all.
void scan_range(Number lower, Number upper, std::ostream& console, ReportFile& report);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_
