// Tests of sphenic_factors: the typical yes and no cases, large numbers, and a brute-force
// comparison with an independent factorisation.
#include "arith/sphenic_factors.h"

#include <gtest/gtest.h>

#include <vector>

#include "oracle.h"

namespace {

struct SphenicCase {
  Number n;
  std::optional<FactorTriple> expected;
};

class SphenicFactorsCases : public ::testing::TestWithParam<SphenicCase> {};

TEST_P(SphenicFactorsCases, AnswersWithTheFactors) {
  EXPECT_EQ(sphenic_factors(GetParam().n), GetParam().expected) << "n = " << GetParam().n;
}

INSTANTIATE_TEST_SUITE_P(
    Sphenic, SphenicFactorsCases,
    ::testing::Values(SphenicCase{30, FactorTriple{2, 3, 5}},
                      SphenicCase{42, FactorTriple{2, 3, 7}},
                      SphenicCase{105, FactorTriple{3, 5, 7}},
                      SphenicCase{994, FactorTriple{2, 7, 71}},
                      // Above 2^31 and near the top: only unsigned arithmetic gets these right.
                      SphenicCase{2198678291, FactorTriple{1297, 1301, 1303}},
                      SphenicCase{4269897173, FactorTriple{1619, 1621, 1627}}));

INSTANTIATE_TEST_SUITE_P(
    NotSphenic, SphenicFactorsCases,
    ::testing::Values(SphenicCase{0, std::nullopt}, SphenicCase{1, std::nullopt},
                      SphenicCase{2, std::nullopt}, SphenicCase{97, std::nullopt},  // primes
                      SphenicCase{6, std::nullopt}, SphenicCase{91, std::nullopt},  // two primes
                      SphenicCase{8, std::nullopt}, SphenicCase{12, std::nullopt},  // repeated
                      SphenicCase{18, std::nullopt}, SphenicCase{60, std::nullopt},
                      SphenicCase{210, std::nullopt},           // a fourth prime is left over
                      SphenicCase{2147483648, std::nullopt},    // 2^31
                      SphenicCase{4294967295, std::nullopt}));  // 3*5*17*257*65537

// Returns the prime factors of n, with multiplicity, in ascending order, by the oracle's
// smallest prime factor.
std::vector<Number> prime_factors(Number n) {
  std::vector<Number> factors;
  for (; n > 1; n /= factors.back()) {
    factors.push_back(smallest_prime_factor(n));
  }
  return factors;
}

TEST(SphenicFactors, AgreesWithPlainFactorisationUpTo20000) {
  int sphenic_count = 0;
  for (Number n = 2; n <= 20000; ++n) {
    const std::vector<Number> factors = prime_factors(n);
    const bool sphenic =
        factors.size() == 3 && factors[0] != factors[1] && factors[1] != factors[2];
    const std::optional<FactorTriple> answer = sphenic_factors(n);
    if (sphenic) {
      ++sphenic_count;
      ASSERT_EQ(answer, (FactorTriple{factors[0], factors[1], factors[2]})) << "n = " << n;
    } else {
      ASSERT_EQ(answer, std::nullopt) << "n = " << n;
    }
  }
  // Guards the oracle itself: a wrong one could agree with a wrong test.
  EXPECT_GT(sphenic_count, 135);
}

TEST(SphenicFactors, CountsOfKnownRanges) {
  struct Range {
    Number last;
    int count;
  };
  for (const Range range : {Range{100, 5}, Range{999, 135}}) {
    int count = 0;
    for (Number n = 2; n <= range.last; ++n) {
      count += sphenic_factors(n).has_value() ? 1 : 0;
    }
    EXPECT_EQ(count, range.count) << "2 to " << range.last;
  }
}

}  // namespace
