// Prime stepping: the next trial divisor of the sphenic test, found by trial division.
#ifndef SPHENISCHEZAHLEN_ARITH_NEXT_PRIME_H_
#define SPHENISCHEZAHLEN_ARITH_NEXT_PRIME_H_

#include "arith/number.h"

// Returns the smallest prime above x, or 0 when no prime above x fits in a Number
// (x of 4294967291 or more). Keeps nothing between calls.
Number next_prime(Number x);

#endif  // SPHENISCHEZAHLEN_ARITH_NEXT_PRIME_H_
