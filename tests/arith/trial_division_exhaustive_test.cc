// Every candidate below 2^24, the range of the single-precision lanes, against a sieve: through
// each kernel's prime stepping, and with its own trial limit and the limits one below and at
// its smallest prime factor; and a million candidates above. Seconds natively, far longer under an
// emulator or the sanitizers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "arith/prime_candidates.h"
#include "arith/trial_division.h"
#include "arith/trial_division_plain.h"
#include "oracle.h"

namespace {

// The first candidate divided in double precision.
constexpr Number kSingleEnd = Number{1} << 24;
// The sieve reaches the first prime above 2^24, 16777259.
constexpr Number kSieveEnd = kSingleEnd + 64;

// Returns the smallest prime factor of every number below kSieveEnd, 0 for 0, 1 and primes.
const std::vector<std::uint16_t>& factors_of_the_sieve() {
  static const std::vector<std::uint16_t> factors = smallest_prime_factors(kSieveEnd);
  return factors;
}

// The kernels with lanes this processor runs: all but the plain one.
std::vector<TrialDivision> lane_kernels() {
  std::vector<TrialDivision> kernels;
  for (const TrialDivision& kernel : usable_trial_divisions()) {
    if (kernel.any_divisor != kPlainTrialDivision.any_divisor) {
      kernels.push_back(kernel);
    }
  }
  return kernels;
}

TEST(TrialLimit, IsTheSameInSinglePrecisionBelow2To24) {
  for (Number candidate = 0; candidate < kSingleEnd; ++candidate) {
    ASSERT_EQ(single_precision_trial_limit(candidate), trial_limit(candidate)) << candidate;
  }
}

class LanesBelow2To24 : public ::testing::TestWithParam<TrialDivision> {};

TEST_P(LanesBelow2To24, StepsThroughEveryPrime) {
  const std::vector<std::uint16_t>& factors = factors_of_the_sieve();
  Number prime = 1;
  for (Number candidate = 2; candidate < kSieveEnd; ++candidate) {
    if (factors[candidate] == 0) {
      ASSERT_EQ(GetParam().next_prime(prime), candidate) << "after " << prime;
      prime = candidate;
    }
  }
  EXPECT_EQ(prime, 16777259u);  // guards the sieve: the first prime above 2^24
}

TEST_P(LanesBelow2To24, AnswersEveryCandidateAtItsLimits) {
  const std::vector<std::uint16_t>& factors = factors_of_the_sieve();
  for (Number candidate = 2; candidate < kSingleEnd; ++candidate) {
    const Number own_limit = trial_limit(candidate);
    const Number factor = factors[candidate];
    ASSERT_EQ(GetParam().any_divisor(candidate, own_limit), factor != 0) << candidate;
    if (factor != 0) {
      ASSERT_FALSE(GetParam().any_divisor(candidate, factor - 1)) << candidate;
      ASSERT_TRUE(GetParam().any_divisor(candidate, factor)) << candidate;
    }
  }
}

// A million candidates from 2^24 up, from a fixed sequence, each at its own trial limit and
// at a limit from the same sequence, against the smallest prime factor.
class LanesAbove2To24 : public ::testing::TestWithParam<TrialDivision> {};

TEST_P(LanesAbove2To24, AnswerAMillionCandidatesAtTheirOwnLimitAndAtAnother) {
  NumberSequence sequence(2024);
  for (int i = 0; i < 1000000; ++i) {
    const Number candidate = kSingleEnd + sequence.next() % (0u - kSingleEnd);
    const Number limit = sequence.next() % 65537;
    const Number factor = smallest_prime_factor(candidate);
    ASSERT_EQ(GetParam().any_divisor(candidate, trial_limit(candidate)),
              factor <= trial_limit(candidate))
        << candidate;
    ASSERT_EQ(GetParam().any_divisor(candidate, limit), factor <= limit)
        << candidate << " up to " << limit;
  }
}

INSTANTIATE_TEST_SUITE_P(Usable, LanesBelow2To24, ::testing::ValuesIn(lane_kernels()),
                         [](const ::testing::TestParamInfo<TrialDivision>& info) {
                           return std::string(info.param.name);
                         });
INSTANTIATE_TEST_SUITE_P(Usable, LanesAbove2To24, ::testing::ValuesIn(lane_kernels()),
                         [](const ::testing::TestParamInfo<TrialDivision>& info) {
                           return std::string(info.param.name);
                         });
// A processor without lanes of its own (arm64) has nothing to try here.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(LanesBelow2To24);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(LanesAbove2To24);

}  // namespace
