// The AVX2 kernel of trial division: eight single-precision or four double-precision
// divisions per instruction. Only this file's functions use AVX instructions.
#include <immintrin.h>

// Standard headers before the target is set: their functions must stay built for any x86-64.
#include <cmath>
#include <limits>

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
  static constexpr Number kWidth = 8;
  static Vector broadcast(Number n) { return _mm256_set1_ps(static_cast<float>(n)); }
  static Vector first_divisors() {
    return _mm256_setr_ps(2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f);
  }
  static Vector add(Vector a, Vector b) { return _mm256_add_ps(a, b); }
  static Vector dividing(Vector dividend, Vector divisors, Vector ceiling) {
    const Vector quotients = _mm256_div_ps(dividend, divisors);
    const Vector truncated = _mm256_round_ps(quotients, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    return _mm256_and_ps(_mm256_cmp_ps(quotients, truncated, _CMP_EQ_OQ),
                         _mm256_cmp_ps(divisors, ceiling, _CMP_LT_OQ));
  }
  static Vector either(Vector a, Vector b) { return _mm256_or_ps(a, b); }
  static bool any(Vector lanes) { return !_mm256_testz_ps(lanes, lanes); }
};

// Four double-precision lanes.
struct Avx2Double {
  using Vector = __m256d;
  static constexpr Number kWidth = 4;
  static Vector broadcast(Number n) { return _mm256_set1_pd(static_cast<double>(n)); }
  static Vector first_divisors() { return _mm256_setr_pd(2.0, 3.0, 4.0, 5.0); }
  static Vector add(Vector a, Vector b) { return _mm256_add_pd(a, b); }
  static Vector dividing(Vector dividend, Vector divisors, Vector ceiling) {
    const Vector quotients = _mm256_div_pd(dividend, divisors);
    const Vector truncated = _mm256_round_pd(quotients, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    return _mm256_and_pd(_mm256_cmp_pd(quotients, truncated, _CMP_EQ_OQ),
                         _mm256_cmp_pd(divisors, ceiling, _CMP_LT_OQ));
  }
  static Vector either(Vector a, Vector b) { return _mm256_or_pd(a, b); }
  static bool any(Vector lanes) { return !_mm256_testz_pd(lanes, lanes); }
};

using Avx2Kernel = LaneKernel<Avx2Single, Avx2Double>;

}  // namespace

bool any_divisor_avx2(Number candidate, Number limit) {
  return Avx2Kernel::any_divisor(candidate, limit);
}

Number next_prime_avx2(Number x) { return Avx2Kernel::next_prime(x); }

#if defined(__clang__)
#pragma clang attribute pop
#elif defined(__GNUC__)
#pragma GCC pop_options
#endif
