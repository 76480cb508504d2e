// The kernel of trial division that the program uses: the fastest this processor runs.
#include "arith/trial_division.h"

const TrialDivision& fastest_trial_division() {
  static const TrialDivision fastest = usable_trial_divisions().back();
  return fastest;
}
