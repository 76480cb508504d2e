// Benchmarks of next_prime and sphenic_factors, and of a whole scan against a plain C loop.
#include <benchmark/benchmark.h>

#include "arith/next_prime.h"
#include "arith/sphenic_factors.h"
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

constexpr Number kScanEnd = 30000;

// The scan of 2 to 30000 with the library: about 1.2 thousand million trial divisions.
void BM_scan_library(benchmark::State& state) {
  for (auto _ : state) {
    unsigned count = 0;
    for (Number n = 2; n <= kScanEnd; ++n) {
      count += sphenic_factors(n).has_value() ? 1 : 0;
    }
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_scan_library)->Unit(benchmark::kMillisecond);

// The same scan as a plain C loop compiled with -O2: the yardstick.
void BM_scan_plain_c(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(plain_c_count_sphenic(2, kScanEnd));
  }
}
BENCHMARK(BM_scan_plain_c)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
