// The SSE2 kernel of trial division: two double-precision divisions per instruction.
#include <emmintrin.h>

#include "arith/trial_division_x86_64.h"

namespace {

// Returns, as all ones, the lanes whose divisor is at most last and divides dividend.
inline __m128d dividing_lanes(__m128d dividend, __m128d divisors, __m128d last) {
  const __m128d quotients = _mm_div_pd(dividend, divisors);
  // Quotients are below 2^31, so the conversion to 32-bit integers truncates them exactly.
  const __m128d truncated = _mm_cvtepi32_pd(_mm_cvttpd_epi32(quotients));
  return _mm_and_pd(_mm_cmpeq_pd(quotients, truncated), _mm_cmple_pd(divisors, last));
}

}  // namespace

bool any_divisor_sse2(Number candidate, Number limit) {
  const __m128d dividend = _mm_set1_pd(static_cast<double>(candidate));
  const __m128d last = _mm_set1_pd(static_cast<double>(limit));
  const __m128d step = _mm_set1_pd(2.0);
  __m128d divisors = _mm_setr_pd(2.0, 3.0);
  // The divisors 2 and 3 alone first: they reject most composite candidates.
  __m128d hits = dividing_lanes(dividend, divisors, last);
  // Then four divisors at a time, the divider never idle between two instructions.
  for (Number first = 4; _mm_movemask_pd(hits) == 0; first += 4) {
    if (first > limit) {
      return false;
    }
    divisors = _mm_add_pd(divisors, step);
    const __m128d next_divisors = _mm_add_pd(divisors, step);
    hits = _mm_or_pd(dividing_lanes(dividend, divisors, last),
                     dividing_lanes(dividend, next_divisors, last));
    divisors = next_divisors;
  }
  return true;
}
