// Tests of the result line: plain decimal digits, no sign, no grouping, one line break.
#include "report/result_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct ResultLineCase {
  Number n;
  FactorTriple factors;
  const char* expected;
};

class ResultLine : public ::testing::TestWithParam<ResultLineCase> {};

TEST_P(ResultLine, WritesTheNumberAndItsFactors) {
  std::ostringstream out;
  write_result_line(out, GetParam().n, GetParam().factors);
  EXPECT_EQ(out.str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResultLine,
                         ::testing::Values(ResultLineCase{30, {2, 3, 5}, "30=2*3*5\n"},
                                           ResultLineCase{994, {2, 7, 71}, "994=2*7*71\n"},
                                           // Above 2^31 a signed type would print a minus sign.
                                           ResultLineCase{4269897173,
                                                          {1619, 1621, 1627},
                                                          "4269897173=1619*1621*1627\n"}));

}  // namespace
