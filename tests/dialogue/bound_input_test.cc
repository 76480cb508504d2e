// Tests of read_bound: what the stream extraction accepts, and what must be turned away.
#include "dialogue/bound_input.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct BoundCase {
  const char* typed;
  std::optional<Number> expected;
};

class ReadBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(ReadBound, TakesNumbersOfTheRangeOnly) {
  std::istringstream in(GetParam().typed);
  EXPECT_EQ(read_bound(in), GetParam().expected) << "typed: \"" << GetParam().typed << '"';
}

INSTANTIATE_TEST_SUITE_P(Accepted, ReadBound,
                         ::testing::Values(BoundCase{"0", 0}, BoundCase{"30\n", 30},
                                           BoundCase{"  \n\t 42\n", 42}, BoundCase{"+7", 7},
                                           BoundCase{"007", 7}, BoundCase{"2147483648", 2147483648},
                                           BoundCase{"4294967295", 4294967295},
                                           BoundCase{"12\t", 12}, BoundCase{"12\r\n", 12}));

INSTANTIATE_TEST_SUITE_P(
    Refused, ReadBound,
    ::testing::Values(BoundCase{"", std::nullopt}, BoundCase{" \n ", std::nullopt},
                      BoundCase{"abc", std::nullopt}, BoundCase{"4294967296", std::nullopt},
                      BoundCase{"99999999999999999999", std::nullopt},
                      // Plain unsigned extraction would wrap these around to huge bounds.
                      BoundCase{"-1", std::nullopt}, BoundCase{" \n-5", std::nullopt},
                      BoundCase{"-0", std::nullopt}, BoundCase{"+-3", std::nullopt},
                      // Digits with something glued on are not the number the user meant.
                      BoundCase{"10.000", std::nullopt}, BoundCase{"1,5", std::nullopt},
                      BoundCase{"1e4", std::nullopt}, BoundCase{"0x10", std::nullopt},
                      BoundCase{"100abc", std::nullopt}));

TEST(ReadBound, TakesBothBoundsFromOneLine) {
  std::istringstream in("30 40\n");
  EXPECT_EQ(read_bound(in), 30u);
  EXPECT_EQ(read_bound(in), 40u);
  EXPECT_EQ(read_bound(in), std::nullopt);
}

}  // namespace
