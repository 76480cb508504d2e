// The SSE4.1 kernel of trial division: four single-precision divisions per instruction for
// every candidate, two in double precision for the smallest divisors from 2^24 up. SSE4.1
// brings the 32-bit multiply of four lanes that an exact integer remainder needs.
#include <smmintrin.h>

// Standard headers before the target is set: their functions must stay built for any x86-64.
#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "arith/trial_division_x86_64.h"

// Everything from here on is built for SSE4.1, the shared shape of the lanes included (see
// trial_division_avx2.cc for why it must be named first).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("sse4.1"))), apply_to = function)
#elif defined(__GNUC__)
#pragma GCC push_options
#pragma GCC target("sse4.1")
#endif

#include "arith/trial_division_sse_lanes.h"

namespace {

// Four single-precision lanes that take the remainder in 32-bit integers, from the quotient
// rounded to the nearest integer: for candidates from 2^24 up, and only the divisors above
// 3 * 2^(e-24) (see trial_division_lanes.h).
struct Sse41SingleRemainder : Sse2Single {
  // The candidate rounded to single precision, to divide, and exact, to multiply back to.
  struct Dividend {
    __m128 rounded;
    __m128i exact;
  };
  static Dividend dividend(Number n) { return {broadcast(n), _mm_set1_epi32(static_cast<int>(n))}; }
  static Vector dividing(const Dividend& dividend, Vector divisors) {
    // Rounded to the nearest in the processor's rounding mode, which the program never
    // changes from its default, to the nearest.
    const __m128i nearest = _mm_cvtps_epi32(_mm_div_ps(dividend.rounded, divisors));
    const __m128i multiple = _mm_mullo_epi32(nearest, _mm_cvttps_epi32(divisors));
    return _mm_castsi128_ps(_mm_cmpeq_epi32(multiple, dividend.exact));
  }
};

using Sse41Kernel = LaneKernel<Sse2Single, Sse2Double, Sse41SingleRemainder>;

}  // namespace

const TrialDivision kSse41TrialDivision{"sse41", Sse41Kernel::any_divisor, Sse41Kernel::next_prime};

#if defined(__clang__)
#pragma clang attribute pop
#elif defined(__GNUC__)
#pragma GCC pop_options
#endif
