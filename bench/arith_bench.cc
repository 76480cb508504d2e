// Benchmarks of next_prime and sphenic_factors, of each kernel of trial division, and of a
// whole scan with each kernel against a plain C loop.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "arith/next_prime.h"
#include "arith/sphenic_factors.h"
#include "arith/trial_division.h"
#include "plain_c_scan.h"

namespace {

// One call of next_prime after x; the largest argument costs about 65 thousand divisions.
void BM_next_prime(benchmark::State& state) {
  const Number x = static_cast<Number>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(next_prime(x));
  }
}
BENCHMARK(BM_next_prime)->Arg(1000)->Arg(65521)->Arg(2147483629)->Arg(4294967279);

// One call of sphenic_factors: a quick yes, a no after a few steps, and a slow prime.
void BM_sphenic_factors(benchmark::State& state) {
  const Number n = static_cast<Number>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(sphenic_factors(n));
  }
}
BENCHMARK(BM_sphenic_factors)->Arg(30)->Arg(4269897173)->Arg(29989);

// One kernel on the largest prime candidate: all 65535 divisors up to 65536 tried.
void BM_kernel_top_prime(benchmark::State& state, const TrialDivision& kernel) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(kernel.any_divisor(4294967291, 65536));
  }
}

constexpr Number kScanEnd = 30000;

// The scan of 2 to 30000 with one kernel: about a thousand million trial divisions.
void BM_scan(benchmark::State& state, const TrialDivision& kernel) {
  for (auto _ : state) {
    unsigned count = 0;
    for (Number n = 2; n <= kScanEnd; ++n) {
      count += sphenic_factors(n, kernel).has_value() ? 1 : 0;
    }
    benchmark::DoNotOptimize(count);
  }
}

// The same scan as a plain C loop compiled with -O2: the yardstick.
void BM_scan_plain_c(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(plain_c_count_sphenic(2, kScanEnd));
  }
}
BENCHMARK(BM_scan_plain_c)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Each kernel this processor runs, alone and in the whole scan.
  const std::vector<TrialDivision> kernels = usable_trial_divisions();
  for (const TrialDivision& kernel : kernels) {
    benchmark::RegisterBenchmark(("BM_kernel_top_prime/" + std::string(kernel.name)).c_str(),
                                 BM_kernel_top_prime, kernel)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_scan/" + std::string(kernel.name)).c_str(), BM_scan, kernel)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
