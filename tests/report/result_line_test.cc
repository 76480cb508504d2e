// Tests of the result line: plain decimal digits, no sign, no grouping, no line end.
#include "report/result_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ResultLineCase {
  Number n;
  FactorTriple factors;
  const char* expected;
};

class ResultLine : public ::testing::TestWithParam<ResultLineCase> {};

TEST_P(ResultLine, WritesTheNumberAndItsFactors) {
  EXPECT_EQ(result_line(GetParam().n, GetParam().factors), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultLine,
    ::testing::Values(ResultLineCase{30, {2, 3, 5}, "30=2*3*5"},
                      ResultLineCase{994, {2, 7, 71}, "994=2*7*71"},
                      // Above 2^31 a signed type would print a minus sign.
                      ResultLineCase{4269897173, {1619, 1621, 1627}, "4269897173=1619*1621*1627"}));

}  // namespace
