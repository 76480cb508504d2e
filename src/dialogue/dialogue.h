// One run of the program: greeting, the two bounds, the scan of the range, the key wait.
#ifndef SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_
#define SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_

#include <ios>
#include <ostream>

#include "arith/number.h"

// Runs the whole dialogue on the standard streams, copying every result line into the
// report file, and returns the process's exit status: 0 after a scan whose every line is in
// the file, 1 when a bound could not be read or the report file could not be opened (then
// nothing but the closing prompt is shown) or written to the end.
int run_dialogue();

// Writes the result line of every sphenic number from lower to upper, both included, in
// ascending order, to report and then to console. Nothing when lower is above upper; an
// upper bound of 4294967295 ends the scan after that number. At the first line that report
// fails to take, says so on errors and writes nothing more to report; console gets them all.
// Returns report's position behind the last line it took whole, or -1 where report cannot
// tell its position (a pipe).
std::streampos scan_range(Number lower, Number upper, std::ostream& console, std::ostream& report,
                          std::ostream& errors);

#endif  // SPHENISCHEZAHLEN_DIALOGUE_DIALOGUE_H_
