// The AVX2 kernel of trial division: four double-precision divisions per instruction, and
// two instructions in flight. Only this file's kernel uses AVX instructions.
#include <immintrin.h>

#include "arith/trial_division_x86_64.h"

#if defined(__GNUC__) || defined(__clang__)
#define AVX2_KERNEL __attribute__((target("avx2")))
#else
#define AVX2_KERNEL  // MSVC compiles AVX intrinsics without a target of its own.
#endif

namespace {

// Returns, as all ones, the lanes whose divisor is at most last and divides dividend.
AVX2_KERNEL inline __m256d dividing_lanes(__m256d dividend, __m256d divisors, __m256d last) {
  const __m256d quotients = _mm256_div_pd(dividend, divisors);
  const __m256d truncated = _mm256_round_pd(quotients, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
  return _mm256_and_pd(_mm256_cmp_pd(quotients, truncated, _CMP_EQ_OQ),
                       _mm256_cmp_pd(divisors, last, _CMP_LE_OQ));
}

}  // namespace

AVX2_KERNEL bool any_divisor_avx2(Number candidate, Number limit) {
  const __m256d dividend = _mm256_set1_pd(static_cast<double>(candidate));
  const __m256d last = _mm256_set1_pd(static_cast<double>(limit));
  const __m256d step = _mm256_set1_pd(4.0);
  __m256d divisors = _mm256_setr_pd(2.0, 3.0, 4.0, 5.0);
  // The divisors 2 to 5 alone first: they reject most composite candidates, and a candidate
  // rejected there should not wait for the divisions of four more lanes.
  __m256d hits = dividing_lanes(dividend, divisors, last);
  // Then eight divisors at a time, the divider never idle between two instructions.
  for (Number first = 6; _mm256_testz_pd(hits, hits); first += 8) {
    if (first > limit) {
      return false;
    }
    divisors = _mm256_add_pd(divisors, step);
    const __m256d next_divisors = _mm256_add_pd(divisors, step);
    hits = _mm256_or_pd(dividing_lanes(dividend, divisors, last),
                        dividing_lanes(dividend, next_divisors, last));
    divisors = next_divisors;
  }
  return true;
}
