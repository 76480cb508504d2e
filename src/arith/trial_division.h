// Trial division of prime candidates, the scan's whole cost: does any integer from 2 up to a
// limit divide a candidate? Several kernels answer alike; the fastest this processor runs is used.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_H_

#include <vector>

#include "arith/number.h"

// A kernel of trial division. Every kernel gives the same answers as the plain one; they
// differ only in how many divisors one instruction tests.
struct TrialDivision {
  // The name that benchmarks and test failures show.
  const char* name;
  // True when some integer from 2 up to limit divides candidate, for any candidate and any
  // limit up to 65536 (the largest trial limit of a Number).
  bool (*any_divisor)(Number candidate, Number limit);
  // The smallest prime above x, or 0 when none fits in a Number: the candidates in turn, each
  // tried with every integer from 2 up to its single-precision square root, in this kernel's
  // own loop, so that a candidate costs no call.
  Number (*next_prime)(Number x);
};

// The kernels this program holds and this processor runs, the plain one first and the
// fastest last.
std::vector<TrialDivision> usable_trial_divisions();

// The fastest kernel this processor runs, asked of the processor once per process.
const TrialDivision& fastest_trial_division();

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_H_
