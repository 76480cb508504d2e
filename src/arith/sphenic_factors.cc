// The sphenic test by trial division with a divisor that steps from prime to prime.
#include "arith/sphenic_factors.h"

#include <cstddef>

std::optional<FactorTriple> sphenic_factors(Number n) {
  return sphenic_factors(n, fastest_trial_division());
}

std::optional<FactorTriple> sphenic_factors(Number n, const TrialDivision& kernel) {
  FactorTriple factors{};
  std::size_t found = 0;
  Number divisor = 2;
  Number cofactor = n;
  // The divisor stays put after a hit, so a prime that divides n twice is found twice.
  // It only steps while it is below the cofactor's smallest prime factor, so next_prime
  // never runs out of 32-bit primes here.
  while (found < factors.size()) {
    if (cofactor % divisor == 0) {
      factors[found] = divisor;
      ++found;
      cofactor /= divisor;
    } else {
      divisor = kernel.next_prime(divisor);
    }
    if (cofactor <= 1) {
      break;
    }
  }
  // Factors come out non-decreasing, so a repeated prime would stand next to its twin.
  const bool three_distinct =
      found == factors.size() && factors[0] != factors[1] && factors[1] != factors[2];
  if (three_distinct && cofactor == 1) {
    return factors;
  }
  return std::nullopt;
}
