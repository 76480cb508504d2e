// The AVX2 kernel of trial division: eight single-precision divisions per instruction, four
// in double precision for the smallest divisors from 2^24 up. Only this file's functions use
// AVX instructions.
#include <immintrin.h>

// Standard headers before the target is set: their functions must stay built for any x86-64.
#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "arith/trial_division_x86_64.h"

// Everything from here on is built for AVX2, the shared shape of the lanes included: GCC and
// Clang build a function for AVX2 only when told so, and it must be told before the shape's
// templates are read, since an instance takes the target of the place its template stands.
// MSVC compiles AVX intrinsics anywhere.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#elif defined(__GNUC__)
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "arith/trial_division_lanes.h"

namespace {

// Eight single-precision lanes.
struct Avx2Single {
  using Vector = __m256;
  using Dividend = Vector;
  static constexpr Number kWidth = 8;
  static Vector broadcast(Number n) { return _mm256_set1_ps(static_cast<float>(n)); }
  static Dividend dividend(Number n) { return broadcast(n); }
  static Vector first_divisors() {
    return _mm256_setr_ps(2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f);
  }
  static Vector add(Vector a, Vector b) { return _mm256_add_ps(a, b); }
  static Vector dividing(Dividend dividend, Vector divisors) {
    const Vector quotients = _mm256_div_ps(dividend, divisors);
    return _mm256_cmp_ps(
        quotients, _mm256_round_ps(quotients, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC), _CMP_EQ_OQ);
  }
  static Vector below(Vector divisors, Vector ceiling) {
    return _mm256_cmp_ps(divisors, ceiling, _CMP_LT_OQ);
  }
  static Vector both(Vector a, Vector b) { return _mm256_and_ps(a, b); }
  static Vector either(Vector a, Vector b) { return _mm256_or_ps(a, b); }
  static bool any(Vector lanes) { return _mm256_testz_ps(lanes, lanes) == 0; }
};

// Four double-precision lanes.
struct Avx2Double {
  using Vector = __m256d;
  using Dividend = Vector;
  static constexpr Number kWidth = 4;
  static Vector broadcast(Number n) { return _mm256_set1_pd(static_cast<double>(n)); }
  static Dividend dividend(Number n) { return broadcast(n); }
  static Vector first_divisors() { return _mm256_setr_pd(2.0, 3.0, 4.0, 5.0); }
  static Vector add(Vector a, Vector b) { return _mm256_add_pd(a, b); }
  static Vector dividing(Dividend dividend, Vector divisors) {
    const Vector quotients = _mm256_div_pd(dividend, divisors);
    return _mm256_cmp_pd(
        quotients, _mm256_round_pd(quotients, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC), _CMP_EQ_OQ);
  }
  static Vector below(Vector divisors, Vector ceiling) {
    return _mm256_cmp_pd(divisors, ceiling, _CMP_LT_OQ);
  }
  static Vector both(Vector a, Vector b) { return _mm256_and_pd(a, b); }
  static Vector either(Vector a, Vector b) { return _mm256_or_pd(a, b); }
  static bool any(Vector lanes) { return _mm256_testz_pd(lanes, lanes) == 0; }
};

// Eight single-precision lanes that take the remainder in 32-bit integers, from the quotient
// rounded to the nearest integer: for candidates from 2^24 up, and only the divisors above
// 3 * 2^(e-24) (see trial_division_lanes.h).
struct Avx2SingleRemainder : Avx2Single {
  // The candidate rounded to single precision, to divide, and exact, to multiply back to.
  struct Dividend {
    __m256 rounded;
    __m256i exact;
  };
  static Dividend dividend(Number n) {
    return {broadcast(n), _mm256_set1_epi32(static_cast<int>(n))};
  }
  static Vector dividing(const Dividend& dividend, Vector divisors) {
    // Rounded to the nearest in the processor's rounding mode, which the program never
    // changes from its default, to the nearest.
    const __m256i nearest = _mm256_cvtps_epi32(_mm256_div_ps(dividend.rounded, divisors));
    const __m256i multiple = _mm256_mullo_epi32(nearest, _mm256_cvttps_epi32(divisors));
    return _mm256_castsi256_ps(_mm256_cmpeq_epi32(multiple, dividend.exact));
  }
};

using Avx2Kernel = LaneKernel<Avx2Single, Avx2Double, Avx2SingleRemainder>;

}  // namespace

const TrialDivision kAvx2TrialDivision{"avx2", Avx2Kernel::any_divisor, Avx2Kernel::next_prime};

#if defined(__clang__)
#pragma clang attribute pop
#elif defined(__GNUC__)
#pragma GCC pop_options
#endif
