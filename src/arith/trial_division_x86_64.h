// The kernels of trial division that divide in double precision, several divisors per
// instruction; x86-64 only.
//
// Why they are exact: a candidate y < 2^32 and a divisor 2 <= i <= 65536 are doubles exactly.
// If i divides y, y / i is an integer below 2^31 and the division is exact. If not, y / i
// lies at least 1/i >= 2^-16 away from every integer, while rounding moves a quotient below
// 2^31 by at most half a unit in the last place, 2^-23: the rounded quotient is no integer.
// So "the quotient equals its truncation" says exactly "i divides y". A lane whose divisor
// lies beyond the limit is masked off and never counts.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_

#include "arith/number.h"

// Two divisors per instruction with SSE2, which every x86-64 processor has.
bool any_divisor_sse2(Number candidate, Number limit);

// Four divisors per instruction, several instructions in flight; only where the processor
// has AVX2 and the system saves its registers.
bool any_divisor_avx2(Number candidate, Number limit);

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_
