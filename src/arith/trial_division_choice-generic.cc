// The choice of kernel on processors without a kernel of their own: the plain one.
#include "arith/trial_division.h"
#include "arith/trial_division_plain.h"

std::vector<TrialDivision> usable_trial_divisions() { return {kPlainTrialDivision}; }
