// The plain kernel of trial division, one integer remainder per divisor: the reference for
// the others and the only one where the processor has no kernel of its own.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_PLAIN_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_PLAIN_H_

#include "arith/number.h"
#include "arith/trial_division.h"

// True when some integer from 2 up to limit divides candidate; the divisors in ascending order.
bool any_divisor_plain(Number candidate, Number limit);

// The smallest prime above x, or 0 when none fits in a Number, by any_divisor_plain.
Number next_prime_plain(Number x);

// The plain kernel, named "plain".
extern const TrialDivision kPlainTrialDivision;

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_PLAIN_H_
