// The lanes of the SSE kernels: four single-precision or two double-precision divisions per
// instruction, in SSE2's instructions. The SSE2 and SSE4.1 kernels each include it, after
// naming their instruction set, and get a copy of their own.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_SSE_LANES_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_SSE_LANES_H_

#include <emmintrin.h>

#include "arith/trial_division_lanes.h"

namespace {  // internal: a copy built for SSE4.1 must never stand in for another file's

// Four single-precision lanes.
struct Sse2Single {
  using Vector = __m128;
  using Dividend = Vector;
  static constexpr Number kWidth = 4;
  static Vector broadcast(Number n) { return _mm_set1_ps(static_cast<float>(n)); }
  static Dividend dividend(Number n) { return broadcast(n); }
  static Vector first_divisors() { return _mm_setr_ps(2.0f, 3.0f, 4.0f, 5.0f); }
  static Vector add(Vector a, Vector b) { return _mm_add_ps(a, b); }
  static Vector dividing(Dividend dividend, Vector divisors) {
    const Vector quotients = _mm_div_ps(dividend, divisors);
    // Quotients are below 2^24, so the conversion to 32-bit integers truncates them exactly.
    return _mm_cmpeq_ps(quotients, _mm_cvtepi32_ps(_mm_cvttps_epi32(quotients)));
  }
  static Vector below(Vector divisors, Vector ceiling) { return _mm_cmplt_ps(divisors, ceiling); }
  static Vector both(Vector a, Vector b) { return _mm_and_ps(a, b); }
  static Vector either(Vector a, Vector b) { return _mm_or_ps(a, b); }
  static bool any(Vector lanes) { return _mm_movemask_ps(lanes) != 0; }
};

// Two double-precision lanes.
struct Sse2Double {
  using Vector = __m128d;
  using Dividend = Vector;
  static constexpr Number kWidth = 2;
  static Vector broadcast(Number n) { return _mm_set1_pd(static_cast<double>(n)); }
  static Dividend dividend(Number n) { return broadcast(n); }
  static Vector first_divisors() { return _mm_setr_pd(2.0, 3.0); }
  static Vector add(Vector a, Vector b) { return _mm_add_pd(a, b); }
  static Vector dividing(Dividend dividend, Vector divisors) {
    const Vector quotients = _mm_div_pd(dividend, divisors);
    // Quotients are below 2^31, so the conversion to 32-bit integers truncates them exactly.
    return _mm_cmpeq_pd(quotients, _mm_cvtepi32_pd(_mm_cvttpd_epi32(quotients)));
  }
  static Vector below(Vector divisors, Vector ceiling) { return _mm_cmplt_pd(divisors, ceiling); }
  static Vector both(Vector a, Vector b) { return _mm_and_pd(a, b); }
  static Vector either(Vector a, Vector b) { return _mm_or_pd(a, b); }
  static bool any(Vector lanes) { return _mm_movemask_pd(lanes) != 0; }
};

}  // namespace

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_SSE_LANES_H_
