// Tests of scan_range: which numbers of a range are found, in which order, and that it ends.
#include "arith/scan_range.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ScanCase {
  Number lower;
  Number upper;
  const char* expected;
};

class ScanRange : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanRange, FindsEverySphenicNumberInAscendingOrder) {
  std::string found;
  scan_range(GetParam().lower, GetParam().upper, [&found](Number n, const FactorTriple& factors) {
    found += std::to_string(n) + '=' + std::to_string(factors[0]) + '*' +
             std::to_string(factors[1]) + '*' + std::to_string(factors[2]) + '\n';
  });
  EXPECT_EQ(found, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanRange,
    ::testing::Values(
        ScanCase{1, 100, "30=2*3*5\n42=2*3*7\n66=2*3*11\n70=2*5*7\n78=2*3*13\n"},
        ScanCase{30, 30, "30=2*3*5\n"}, ScanCase{78, 78, "78=2*3*13\n"}, ScanCase{31, 41, ""},
        ScanCase{0, 1, ""}, ScanCase{100, 1, ""}, ScanCase{4294967295, 0, ""},
        // Above 2^31 and near 2^32, where the trial divisors reach far up.
        ScanCase{2147494622, 2147494641,
                 "2147494627=19*317*356549\n2147494631=29*541*136879\n2147494634=2*1583*678299\n"
                 "2147494637=691*1051*2957\n2147494641=3*457*1566371\n"},
        ScanCase{4294957660, 4294957678,
                 "4294957661=53*1087*74551\n4294957669=37*431*269327\n4294957673=17*3137*80537\n"
                 "4294957677=3*12073*118583\n"},
        // The scan must stop after the largest Number instead of wrapping around to 0.
        ScanCase{4294967295, 4294967295, ""}));

}  // namespace
