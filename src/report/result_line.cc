// The result line: plain decimal numbers joined by "=" and "*", flushed at once.
#include "report/result_line.h"

void write_result_line(std::ostream& out, Number n, const FactorTriple& factors) {
  out << n << '=' << factors[0] << '*' << factors[1] << '*' << factors[2] << std::endl;
}
