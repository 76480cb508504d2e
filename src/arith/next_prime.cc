// Prime stepping by trial division through every integer up to the candidate's square root,
// with the kernel of trial division that the caller names or the fastest one.
#include "arith/next_prime.h"

#include <cmath>
#include <limits>

namespace {

// Returns the largest divisor that trial division of candidate must try: the square root
// of candidate, rounded to single precision, then truncated. For an integer divisor,
// "divisor <= this" says the same as "divisor <= the single-precision root".
Number trial_limit(Number candidate) {
  const float root = static_cast<float>(std::sqrt(static_cast<double>(candidate)));
  return static_cast<Number>(root);
}

// Returns the smallest prime above x, or 0 when none fits in a Number, testing each
// candidate with any_divisor (a kernel, or a callable that answers alike).
template <typename AnyDivisor>
Number next_prime_by(Number x, AnyDivisor any_divisor) {
  for (Number candidate = x; candidate < std::numeric_limits<Number>::max();) {
    ++candidate;
    // 1 is no prime, whatever its root says; 2 and 3 have no divisor to try.
    if (candidate >= 2 && !any_divisor(candidate, trial_limit(candidate))) {
      return candidate;
    }
  }
  return 0;
}

}  // namespace

Number next_prime(Number x) { return next_prime(x, fastest_trial_division()); }

Number next_prime(Number x, TrialDivision any_divisor) {
  // The plain kernel is compiled into the loop: a call for every candidate would cost it
  // a tenth of its time.
  if (any_divisor == any_divisor_plain) {
    return next_prime_by(
        x, [](Number candidate, Number limit) { return any_divisor_plain(candidate, limit); });
  }
  return next_prime_by(x, any_divisor);
}
