// The plain kernel of trial division, one integer remainder per divisor: the reference for
// the others and the only one where the processor has no kernel of its own. Inline, so that
// the loop over the candidates holds it without a call.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_PLAIN_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_PLAIN_H_

#include "arith/number.h"

// True when some integer from 2 up to limit divides candidate; the divisors in ascending order.
inline bool any_divisor_plain(Number candidate, Number limit) {
  for (Number divisor = 2; divisor <= limit; ++divisor) {
    if (candidate % divisor == 0) {
      return true;
    }
  }
  return false;
}

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_PLAIN_H_
