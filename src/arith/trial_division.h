// Trial division of a prime candidate, the scan's whole cost: does any integer from 2 up to a
// limit divide it? Several kernels answer alike; the fastest this processor runs is used.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_H_

#include <vector>

#include "arith/number.h"
#include "arith/trial_division_plain.h"

// A kernel: true when some integer from 2 up to limit divides candidate, for any candidate
// and any limit up to 65536 (the largest trial limit of a Number). Every kernel gives the
// same answer as any_divisor_plain; they differ only in how many divisors one instruction
// tests.
using TrialDivision = bool (*)(Number candidate, Number limit);

// A kernel with the name that benchmarks and test failures show.
struct NamedTrialDivision {
  const char* name;
  TrialDivision any_divisor;
};

// The kernels this program holds and this processor runs, the plain one first and the
// fastest last.
std::vector<NamedTrialDivision> usable_trial_divisions();

// The fastest kernel this processor runs, asked of the processor once per process.
TrialDivision fastest_trial_division();

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_H_
