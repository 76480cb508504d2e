// Prime stepping by trial division through every integer up to the candidate's square root,
// with the fastest kernel of trial division this processor runs.
#include "arith/next_prime.h"

#include "arith/trial_division.h"

Number next_prime(Number x) { return fastest_trial_division().next_prime(x); }
