// The choice of kernel on processors without a kernel of their own: the plain one.
#include "arith/trial_division.h"

std::vector<NamedTrialDivision> usable_trial_divisions() { return {{"plain", any_divisor_plain}}; }

TrialDivision fastest_trial_division() { return any_divisor_plain; }
