// The one line that reports a sphenic number, on the console and in the report file alike.
#ifndef SPHENISCHEZAHLEN_REPORT_RESULT_LINE_H_
#define SPHENISCHEZAHLEN_REPORT_RESULT_LINE_H_

#include <ostream>

#include "arith/number.h"

// Writes "n=p*q*r" for n and its factors to out, then a line break and a flush.
void write_result_line(std::ostream& out, Number n, const FactorTriple& factors);

#endif  // SPHENISCHEZAHLEN_REPORT_RESULT_LINE_H_
