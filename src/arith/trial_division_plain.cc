// The plain kernel of trial division: the integer remainder of one divisor after another.
#include "arith/trial_division_plain.h"

#include "arith/prime_candidates.h"

namespace {

// The loop of any_divisor_plain, inline so that the candidate loop holds it without a call.
inline bool any_divisor_up_to(Number candidate, Number limit) {
  for (Number divisor = 2; divisor <= limit; ++divisor) {
    if (candidate % divisor == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool any_divisor_plain(Number candidate, Number limit) {
  return any_divisor_up_to(candidate, limit);
}

Number next_prime_plain(Number x) {
  return next_prime_by(
      x, [](Number candidate) { return any_divisor_up_to(candidate, trial_limit(candidate)); });
}

const TrialDivision kPlainTrialDivision{"plain", any_divisor_plain, next_prime_plain};
