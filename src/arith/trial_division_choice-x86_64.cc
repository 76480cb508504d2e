// The choice of kernel on x86-64: SSE2 always, SSE4.1 and AVX2 where the processor has them.
#include "arith/trial_division.h"
#include "arith/trial_division_plain.h"
#include "arith/trial_division_x86_64.h"

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

namespace {

// True when the processor has SSE4.1.
bool processor_runs_sse41() {
#if defined(_MSC_VER) && !defined(__clang__)
  int registers[4];
  __cpuid(registers, 1);
  return (registers[2] & (1 << 19)) != 0;
#else
  __builtin_cpu_init();
  return static_cast<bool>(__builtin_cpu_supports("sse4.1"));
#endif
}

// True when the processor has AVX2 and the system saves the AVX registers on a task switch.
bool processor_runs_avx2() {
#if defined(_MSC_VER) && !defined(__clang__)
  int registers[4];
  __cpuid(registers, 0);
  if (registers[0] < 7) {
    return false;
  }
  __cpuid(registers, 1);
  const bool system_saves_registers = (registers[2] & (1 << 27)) != 0;  // OSXSAVE
  const bool has_avx = (registers[2] & (1 << 28)) != 0;
  if (!system_saves_registers || !has_avx || (_xgetbv(0) & 0x6) != 0x6) {
    return false;
  }
  __cpuidex(registers, 7, 0);
  return (registers[1] & (1 << 5)) != 0;
#else
  // GCC's and Clang's runtime count AVX2 only where the system saves the AVX registers.
  __builtin_cpu_init();
  return static_cast<bool>(__builtin_cpu_supports("avx2"));
#endif
}

}  // namespace

std::vector<TrialDivision> usable_trial_divisions() {
  std::vector<TrialDivision> kernels{kPlainTrialDivision, kSse2TrialDivision};
  if (processor_runs_sse41()) {
    kernels.push_back(kSse41TrialDivision);
  }
  if (processor_runs_avx2()) {
    kernels.push_back(kAvx2TrialDivision);
  }
  return kernels;
}
