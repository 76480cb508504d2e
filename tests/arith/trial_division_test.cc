// Tests of every kernel of trial division this processor runs: the edges of the lanes and
// of the 32-bit range, and a comparison with an independent answer over the whole range.
#include "arith/trial_division.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "arith/trial_division_plain.h"
#include "oracle.h"

// Shows a kernel by its name in the test's messages.
void PrintTo(const TrialDivision& kernel, std::ostream* out) { *out << kernel.name; }

namespace {

class TrialDivisionKernel : public ::testing::TestWithParam<TrialDivision> {};

TEST_P(TrialDivisionKernel, AnswersTheEdges) {
  struct Case {
    Number candidate;
    Number limit;
    bool any_divisor;
  };
  const std::vector<Case> cases = {
      {0, 0, false},
      {1, 1, false},
      {3, 1, false},
      {4, 2, true},  // no divisor or one
      // A divisor equal to the limit is tried; one above it never counts, though it lies in
      // the same group of lanes as the divisors tried.
      {9, 3, true},
      {25, 5, true},
      {49, 7, true},
      {121, 11, true},
      {4293001441, 65521, true},
      {4293001441, 65520, false},  // 65521^2
      {221, 12, false},
      {221, 13, true},  // 13 * 17
      {77, 6, false},
      {77, 7, true},
      {899, 28, false},
      {899, 29, true},  // 29 * 31
      // Limits that are no multiple of the lanes, around the 2^31 and 2^32 borders.
      {2147483647, 46340, false},
      {2147483648, 46340, true},
      {4294967291, 65536, false},
      {4294967295, 65536, true},
      {4294049777, 65529, true},
      {4294049777, 65521, true},
      {4294049777, 65520, false},  // 65521 * 65537
      // Around 2^24, where single precision gives way to double precision: the largest prime
      // below, 2^24 - 1, 2^24, 2^24 + 1 = 97 * 257 * 673, the next prime, and a divisor equal
      // to the limit below and above 2^24 (4093^2, 4093 * 4099, 4099^2).
      {16777213, 4095, false},
      {16777215, 4095, true},
      {16777216, 4096, true},
      {16777217, 4096, true},
      {16777217, 96, false},
      {16777259, 4096, false},
      {16752649, 4093, true},
      {16752649, 4092, false},
      {16777207, 4095, true},
      {16777207, 4092, false},
      {16801801, 4099, true},
      {16801801, 4098, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetParam().any_divisor(c.candidate, c.limit), c.any_divisor)
        << c.candidate << " up to " << c.limit;
  }
}

// Returns count numbers from first on, upward or downward, that have no factor below p.
std::vector<Number> cofactors_without_a_factor_below(Number p, Number first, bool upward,
                                                     std::size_t count) {
  std::vector<Number> cofactors;
  for (Number q = first; cofactors.size() < count; q = upward ? q + 1 : q - 1) {
    if (!any_divisor_plain(q, p - 1)) {
      cofactors.push_back(q);
    }
  }
  return cofactors;
}

// Lanes that take an integer remainder take over from double precision, for 2^(e-1) <=
// candidate < 2^e, at the divisor 3 * 2^(e-24) + 1. For each e from 25 to 32 and each prime p
// from half to twice that divisor, the products p * q whose q has no factor below p, eight
// from the bottom of that range, where the quotient's rounding adds most to the candidate's,
// and eight from its top, must be found divisible at p and not below.
TEST_P(TrialDivisionKernel, FindsTheSmallestFactorAtEitherEndOfEachPowerOfTwo) {
  for (Number bits = 25; bits <= 32; ++bits) {
    const std::uint64_t bottom = std::uint64_t{1} << (bits - 1);
    const Number takeover = Number{3} << (bits - 24);
    for (Number p = takeover / 2; p <= 2 * takeover; ++p) {
      if (any_divisor_plain(p, p - 1)) {
        continue;
      }
      std::vector<Number> cofactors =
          cofactors_without_a_factor_below(p, static_cast<Number>((bottom + p - 1) / p), true, 8);
      for (const Number q : cofactors_without_a_factor_below(
               p, static_cast<Number>((2 * bottom - 1) / p), false, 8)) {
        cofactors.push_back(q);
      }
      for (const Number q : cofactors) {
        EXPECT_TRUE(GetParam().any_divisor(p * q, p)) << p << " * " << q;
        EXPECT_FALSE(GetParam().any_divisor(p * q, p - 1)) << p << " * " << q;
      }
    }
  }
}

TEST_P(TrialDivisionKernel, AgreesWithTheSmallestPrimeFactorOverTheWholeRange) {
  // Candidates and limits spread over all of 0 to 2^32 - 1 and 0 to 65536.
  NumberSequence sequence(12345);
  int answers_yes = 0;
  for (int i = 0; i < 200000; ++i) {
    const Number candidate = sequence.next();
    const Number limit = sequence.next() % 65537;
    const Number factor = smallest_prime_factor(candidate);
    const bool expected = factor >= 2 && factor <= limit;
    answers_yes += expected ? 1 : 0;
    ASSERT_EQ(GetParam().any_divisor(candidate, limit), expected)
        << candidate << " up to " << limit;
  }
  // Guards the sequence: both answers must be common.
  EXPECT_GT(answers_yes, 50000);
  EXPECT_LT(answers_yes, 190000);
}

INSTANTIATE_TEST_SUITE_P(Usable, TrialDivisionKernel, ::testing::ValuesIn(usable_trial_divisions()),
                         [](const ::testing::TestParamInfo<TrialDivision>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
