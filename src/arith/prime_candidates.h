// The loop over the prime candidates that every kernel of trial division compiles into its own
// file, so that a candidate costs no call: each file gets its copy, built for its processor.
#ifndef SPHENISCHEZAHLEN_ARITH_PRIME_CANDIDATES_H_
#define SPHENISCHEZAHLEN_ARITH_PRIME_CANDIDATES_H_

#include <cmath>
#include <limits>

#include "arith/number.h"

namespace {  // internal: a copy built for AVX2 must never stand in for another file's

// Returns the largest divisor that trial division of candidate must try: the square root of
// candidate in double precision, rounded to single precision, then truncated. For an integer
// divisor, "divisor <= this" says the same as "divisor <= the single-precision root".
inline Number trial_limit(Number candidate) {
  const auto root = static_cast<float>(std::sqrt(static_cast<double>(candidate)));
  return static_cast<Number>(root);
}

// Returns trial_limit(candidate) for a candidate below 2^24, computed in single precision
// alone, which is quicker. The candidate is a single-precision number exactly, and its root
// rounded once to single precision is its root in double precision rounded to single: rounding
// twice is harmless for a square root when the wider format has at least 2p + 2 bits, and
// 53 >= 2 * 24 + 2.
inline Number single_precision_trial_limit(Number candidate) {
  return static_cast<Number>(std::sqrt(static_cast<float>(candidate)));
}

// Returns the smallest prime above x, or 0 when none fits in a Number, trying the candidates
// x + 1, x + 2, ... in turn; has_divisor(candidate) must say whether some integer from 2 up to
// trial_limit(candidate) divides candidate.
template <typename HasDivisor>
inline Number next_prime_by(Number x, HasDivisor has_divisor) {
  for (Number candidate = x; candidate < std::numeric_limits<Number>::max();) {
    ++candidate;
    // 1 is no prime, whatever its root says; 2 and 3 have no divisor to try.
    if (candidate >= 2 && !has_divisor(candidate)) {
      return candidate;
    }
  }
  return 0;
}

}  // namespace

#endif  // SPHENISCHEZAHLEN_ARITH_PRIME_CANDIDATES_H_
