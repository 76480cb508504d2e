// The sphenic test: is a number the product of exactly three distinct primes, and which.
#ifndef SPHENISCHEZAHLEN_ARITH_SPHENIC_FACTORS_H_
#define SPHENISCHEZAHLEN_ARITH_SPHENIC_FACTORS_H_

#include <optional>

#include "arith/number.h"
#include "arith/trial_division.h"

// Returns the three distinct primes whose product is n, in ascending order, or nothing
// when n is not such a product. Keeps nothing between calls.
std::optional<FactorTriple> sphenic_factors(Number n);

// The same, with trial division by the kernel given instead of the fastest.
std::optional<FactorTriple> sphenic_factors(Number n, const TrialDivision& kernel);

#endif  // SPHENISCHEZAHLEN_ARITH_SPHENIC_FACTORS_H_
