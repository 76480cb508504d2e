// The kernels of trial division that test several divisors per instruction; x86-64 only.
// Each divides in single precision below 2^24; above, SSE2 in double precision, SSE4.1 and
// AVX2 in single precision with an integer remainder but for the smallest divisors.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_

#include "arith/number.h"

// Four divisors per instruction (two above 2^24) with SSE2, which every x86-64 processor has.
bool any_divisor_sse2(Number candidate, Number limit);
Number next_prime_sse2(Number x);

// Four divisors per instruction; only where the processor has SSE4.1.
bool any_divisor_sse41(Number candidate, Number limit);
Number next_prime_sse41(Number x);

// Eight divisors per instruction; only where the processor has AVX2 and the system saves its
// registers.
bool any_divisor_avx2(Number candidate, Number limit);
Number next_prime_avx2(Number x);

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_
