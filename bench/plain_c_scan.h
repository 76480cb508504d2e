/* A yardstick for the benchmarks: the sphenic scan written as one plain C loop. */
#ifndef SPHENISCHEZAHLEN_BENCH_PLAIN_C_SCAN_H_
#define SPHENISCHEZAHLEN_BENCH_PLAIN_C_SCAN_H_

#ifdef __cplusplus
extern "C" {
#endif

/* Returns how many numbers from first to last (first >= 2, last < 4294967295) are sphenic,
   with the same trial divisions as sphenic_factors and next_prime. */
unsigned plain_c_count_sphenic(unsigned first, unsigned last);

#ifdef __cplusplus
}
#endif

#endif /* SPHENISCHEZAHLEN_BENCH_PLAIN_C_SCAN_H_ */
