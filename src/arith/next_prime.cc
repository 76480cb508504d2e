// Prime stepping by trial division through every integer up to the candidate's square root.
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

// True when candidate is at least 2 and no integer from 2 up to its trial limit divides it.
bool passes_trial_division(Number candidate) {
  if (candidate < 2) {
    return false;
  }
  const Number limit = trial_limit(candidate);
  for (Number divisor = 2; divisor <= limit; ++divisor) {
    if (candidate % divisor == 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

Number next_prime(Number x) {
  for (Number candidate = x; candidate < std::numeric_limits<Number>::max();) {
    ++candidate;
    if (passes_trial_division(candidate)) {
      return candidate;
    }
  }
  return 0;
}
