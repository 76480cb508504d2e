// The one shape of the kernels that test several divisors per instruction: a candidate's
// divisors in groups of lanes, in ascending order. Each kernel's file includes it once its
// instruction set is named, and gets a copy of its own, built for that instruction set.
//
// Why a lane is exact: a candidate y and a divisor 2 <= i <= 65537 are numbers of the lanes'
// precision exactly, in single precision (24 bits) for y < 2^24, in double precision (53
// bits) for every 32-bit y. If i divides y, y / i is an integer of at most 32 bits and the
// division is exact. If not, y / i lies at least 1/i away from every integer, while correct
// rounding moves it by at most half a unit in the last place, at most (y / i) * 2^-24 in
// single precision, which is less than 1/i because y < 2^24 (in double precision
// (y / i) * 2^-53, less than 1/i because y < 2^53): the rounded quotient is no integer. So
// "the quotient equals its truncation" says exactly "i divides y".
//
// Which lanes count: a lane whose divisor lies beyond the limit is masked off, except where a
// candidate is tried up to its own limit: there the first group counts every divisor below
// the candidate, and the limit is computed only when that group has not decided. A divisor
// below the candidate makes it composite, and a composite candidate has a prime factor p with
// p * p <= y, so p <= trial_limit(y) (rounding to single precision never moves a root below
// an integer that it reaches): the answer is the same.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_LANES_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_LANES_H_

#include "arith/number.h"
#include "arith/prime_candidates.h"

namespace {  // internal: a copy built for AVX2 must never stand in for another file's

// Candidates below this are divided in single precision, the rest in double precision.
constexpr Number kSinglePrecisionEnd = Number{1} << 24;

// The trial division of one candidate, Lanes::kWidth divisors per instruction. Lanes holds
// the vector of one precision and its operations: broadcast(n), first_divisors() (2, 3, ...,
// kWidth + 1), add, dividing(dividend, divisors, ceiling) (as all ones, the lanes whose
// divisor is below ceiling and divides dividend), either (or) and any. Each kernel's file
// spells these few operations in its own instructions; the loop stands here alone.
template <typename Lanes>
class LaneTrial {
 public:
  using Vector = typename Lanes::Vector;

  explicit LaneTrial(Number candidate) : dividend_(Lanes::broadcast(candidate)) {}

  // True when some integer from 2 up to limit divides the candidate.
  bool any_divisor(Number limit) const {
    return first_group_divides(Lanes::broadcast(limit + 1)) || later_group_divides(limit);
  }

  // The same up to limit_of(candidate), the candidate's own trial limit, which is computed
  // only when the first group has not decided; candidate is the one this trial is for.
  bool any_divisor_up_to_root(Number candidate, Number (*limit_of)(Number)) const {
    return first_group_divides(dividend_) || later_group_divides(limit_of(candidate));
  }

 private:
  // True when one of the divisors 2 to kWidth + 1 below ceiling divides the candidate.
  bool first_group_divides(Vector ceiling) const {
    return Lanes::any(Lanes::dividing(dividend_, Lanes::first_divisors(), ceiling));
  }

  // True when one of the divisors from kWidth + 2 up to limit divides the candidate; two
  // groups per step, so that the divider is never idle between two instructions.
  bool later_group_divides(Number limit) const {
    const Vector ceiling = Lanes::broadcast(limit + 1);
    const Vector step = Lanes::broadcast(Lanes::kWidth);
    Vector divisors = Lanes::first_divisors();
    for (Number first = Lanes::kWidth + 2; first <= limit; first += 2 * Lanes::kWidth) {
      divisors = Lanes::add(divisors, step);
      const Vector next_divisors = Lanes::add(divisors, step);
      if (Lanes::any(Lanes::either(Lanes::dividing(dividend_, divisors, ceiling),
                                   Lanes::dividing(dividend_, next_divisors, ceiling)))) {
        return true;
      }
      divisors = next_divisors;
    }
    return false;
  }

  const Vector dividend_;
};

// A whole kernel from the lanes of both precisions: single below 2^24, double above; the
// switch is one comparison per candidate.
template <typename SingleLanes, typename DoubleLanes>
struct LaneKernel {
  static bool any_divisor(Number candidate, Number limit) {
    return candidate < kSinglePrecisionEnd ? LaneTrial<SingleLanes>(candidate).any_divisor(limit)
                                           : LaneTrial<DoubleLanes>(candidate).any_divisor(limit);
  }

  static Number next_prime(Number x) {
    return next_prime_by(x, [](Number candidate) {
      return candidate < kSinglePrecisionEnd
                 ? LaneTrial<SingleLanes>(candidate).any_divisor_up_to_root(
                       candidate, single_precision_trial_limit)
                 : LaneTrial<DoubleLanes>(candidate).any_divisor_up_to_root(candidate, trial_limit);
    });
  }
};

}  // namespace

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_LANES_H_
