// Tests of next_prime, with every kernel: its edges, squares of primes, the 2^24, 2^25, 2^31 and
// 2^32 borders, and a sieve.
#include "arith/next_prime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "arith/trial_division.h"
#include "oracle.h"

namespace {

struct NextPrimeCase {
  Number x;
  Number expected;
};

class NextPrimeEdges : public ::testing::TestWithParam<NextPrimeCase> {};

TEST_P(NextPrimeEdges, ReturnsSmallestPrimeAbove) {
  EXPECT_EQ(next_prime(GetParam().x), GetParam().expected) << "x = " << GetParam().x;
  for (const TrialDivision& kernel : usable_trial_divisions()) {
    EXPECT_EQ(kernel.next_prime(GetParam().x), GetParam().expected)
        << "x = " << GetParam().x << ", kernel " << kernel.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NextPrimeEdges,
    ::testing::Values(
        NextPrimeCase{0, 2},  // 1 is no prime, whatever its square root says
        NextPrimeCase{1, 2}, NextPrimeCase{2, 3}, NextPrimeCase{3, 5}, NextPrimeCase{7, 11},
        NextPrimeCase{23, 29},
        // The candidate after x is the square of a prime: its root is exact and is tried.
        NextPrimeCase{8, 11}, NextPrimeCase{24, 29}, NextPrimeCase{48, 53}, NextPrimeCase{120, 127},
        NextPrimeCase{2147117568, 2147117617}, NextPrimeCase{4293001440, 4293001469},
        // Across the 16-bit border and the signed 32-bit border.
        NextPrimeCase{65521, 65537}, NextPrimeCase{2147483629, 2147483647},
        NextPrimeCase{2147483647, 2147483659}, NextPrimeCase{2148229800, 2148229817},
        // Across 2^24, where the kernels' lanes change precision, and squares of primes on
        // both sides (4093^2 = 16752649, 4099^2 = 16801801).
        NextPrimeCase{16777212, 16777213}, NextPrimeCase{16777213, 16777259},
        NextPrimeCase{16752648, 16752653}, NextPrimeCase{16801800, 16801819},
        // Across 2^25, where the single-precision lanes with a remainder start later.
        NextPrimeCase{33554392, 33554393}, NextPrimeCase{33554393, 33554467},
        // At the top, where roots round up to 65536 in single precision.
        NextPrimeCase{4294967279, 4294967291}, NextPrimeCase{4294967290, 4294967291},
        // No 32-bit prime lies above: the answer is 0, never a wrapped-around small prime.
        NextPrimeCase{4294967291, 0}, NextPrimeCase{4294967294, 0}, NextPrimeCase{4294967295, 0}));

TEST(NextPrime, StepsThroughExactlyThePrimesOfASieve) {
  const std::vector<std::uint16_t> factors = smallest_prime_factors(200001);
  Number prime = 2;
  for (Number candidate = 3; candidate < factors.size(); ++candidate) {
    if (factors[candidate] == 0) {
      ASSERT_EQ(next_prime(prime), candidate) << "after " << prime;
      prime = candidate;
    }
  }
}

}  // namespace
