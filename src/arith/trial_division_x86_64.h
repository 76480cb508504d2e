// The kernels of trial division that test several divisors per instruction; x86-64 only.
// Each divides in single precision below 2^24; above, SSE2 in double precision, SSE4.1 and
// AVX2 in single precision with an integer remainder but for the smallest divisors.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_

#include "arith/trial_division.h"

// Four divisors per instruction (two above 2^24) with SSE2, which every x86-64 processor
// has; named "sse2".
extern const TrialDivision kSse2TrialDivision;

// Four divisors per instruction; only where the processor has SSE4.1; named "sse41".
extern const TrialDivision kSse41TrialDivision;

// Eight divisors per instruction; only where the processor has AVX2 and the system saves its
// registers; named "avx2".
extern const TrialDivision kAvx2TrialDivision;

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_X86_64_H_
