// The SSE2 kernel of trial division: four single-precision or two double-precision divisions
// per instruction.
#include "arith/trial_division_sse_lanes.h"
#include "arith/trial_division_x86_64.h"

namespace {

using Sse2Kernel = LaneKernel<Sse2Single, Sse2Double>;

}  // namespace

const TrialDivision kSse2TrialDivision{"sse2", Sse2Kernel::any_divisor, Sse2Kernel::next_prime};
