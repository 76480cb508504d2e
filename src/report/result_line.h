// The one line that reports a sphenic number, on the console and in the report file alike.
#ifndef SPHENISCHEZAHLEN_REPORT_RESULT_LINE_H_
#define SPHENISCHEZAHLEN_REPORT_RESULT_LINE_H_

#include <string>

#include "arith/number.h"

// Returns "n=p*q*r" for n and its factors, in plain decimal digits, without a line end:
// each place that shows it adds its own.
std::string result_line(Number n, const FactorTriple& factors);

#endif  // SPHENISCHEZAHLEN_REPORT_RESULT_LINE_H_
