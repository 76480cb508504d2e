// The result line: plain decimal numbers joined by "=" and "*".
#include "report/result_line.h"

std::string result_line(Number n, const FactorTriple& factors) {
  return std::to_string(n) + '=' + std::to_string(factors[0]) + '*' + std::to_string(factors[1]) +
         '*' + std::to_string(factors[2]);
}
