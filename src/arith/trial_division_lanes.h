// The one shape of the kernels that test several divisors per instruction: a candidate's
// divisors in groups of lanes, in ascending order. Each kernel's file includes it once its
// instruction set is named, and gets a copy of its own, built for that instruction set.
//
// Why a lane that compares a quotient with its truncation is exact: a candidate y and a
// divisor 2 <= i <= 65537 are numbers of the lanes' precision exactly, in single precision (24
// bits) for y < 2^24, in double precision (53 bits) for every 32-bit y. If i divides y, y / i
// is an integer of at most 32 bits and the division is exact. If not, y / i lies at least 1/i
// away from every integer, while correct rounding moves it by at most half a unit in the last
// place, at most (y / i) * 2^-24 in single precision, which is less than 1/i because y < 2^24
// (in double precision (y / i) * 2^-53, less than 1/i because y < 2^53): the rounded quotient
// is no integer. So "the quotient equals its truncation" says exactly "i divides y".
//
// Why a lane that takes an integer remainder is exact for a larger y, once i is large enough:
// let 2^(e-1) <= y < 2^e, e <= 32. Rounded to single precision, y moves by at most 2^(e-25),
// and the quotient of that by i, rounded once more, by at most 2^(e-24) / i beyond: the
// single-precision quotient q lies within 1.5 * 2^(e-24) / i of y / i, less than 1/2 when
// i > 3 * 2^(e-24). Let t be q rounded to the nearest integer. If i divides y, y / i is the
// integer nearest q, so t = y / i and y - t * i = 0. If not, t lies within 1 of y / i and is
// not y / i, so 0 < |y - t * i| < i: the remainder is no multiple of 2^32 either, and
// computed in wrapping 32-bit integers it is not 0. So "y - t * i == 0" says exactly "i
// divides y" for such i; the divisors up to 3 * 2^(e-24) go to double-precision lanes.
//
// Which lanes count: a lane whose divisor lies beyond the limit is masked off, except where a
// candidate is tried up to its own limit: there the first group counts every divisor below
// the candidate, and the limit is computed only when that group has not decided. A divisor
// below the candidate makes it composite, and a composite candidate has a prime factor p with
// p * p <= y, so p <= trial_limit(y) (rounding to single precision never moves a root below
// an integer that it reaches): the answer is the same.
#ifndef SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_LANES_H_
#define SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_LANES_H_

#include <algorithm>
#include <type_traits>

#include "arith/number.h"
#include "arith/prime_candidates.h"

namespace {  // internal: a copy built for AVX2 must never stand in for another file's

// Candidates below this are divided in single precision alone.
constexpr Number kSinglePrecisionEnd = Number{1} << 24;

// Returns the largest divisor that single-precision lanes with an integer remainder cannot
// take for candidate, a Number from 2^24 up: 3 * 2^(e-24) for 2^(e-1) <= candidate < 2^e.
inline Number last_divisor_too_small_for_remainder_lanes(Number candidate) {
  Number bits = 25;
  while (bits < 32 && (candidate >> bits) != 0) {
    ++bits;
  }
  return Number{3} << (bits - 24);
}

// The trial division of one candidate, Lanes::kWidth divisors per instruction. Lanes holds
// the vectors of one kind of lanes and their operations: dividend(n) (the candidate in the
// form dividing takes), broadcast(n), first_divisors() (2, 3, ..., kWidth + 1), add,
// dividing(dividend, divisors) (as all ones, the lanes whose divisor divides the dividend),
// below(divisors, ceiling) (the lanes whose divisor is below ceiling), both (and), either
// (or) and any. Each kernel's file spells these few operations in its own instructions; the
// loop stands here alone.
template <typename Lanes>
class LaneTrial {
 public:
  using Vector = typename Lanes::Vector;

  explicit LaneTrial(Number candidate) : dividend_(Lanes::dividend(candidate)) {}

  // True when one of the divisors 2 to kWidth + 1 below ceiling divides the candidate.
  bool first_group_divides(Number ceiling) const {
    return Lanes::any(dividing_below(Lanes::first_divisors(), Lanes::broadcast(ceiling)));
  }

  // True when one of the divisors from first up to limit divides the candidate; two groups
  // per step, so that the divider is never idle between two instructions, and only the last
  // step masks the divisors beyond the limit.
  bool groups_divide(Number first, Number limit) const {
    constexpr Number kStep = 2 * Lanes::kWidth;
    const Vector step = Lanes::broadcast(Lanes::kWidth);
    Vector divisors = Lanes::add(Lanes::first_divisors(), Lanes::broadcast(first - 2));
    Number group = first;
    for (; group + kStep - 1 <= limit; group += kStep) {
      const Vector next_divisors = Lanes::add(divisors, step);
      if (Lanes::any(Lanes::either(Lanes::dividing(dividend_, divisors),
                                   Lanes::dividing(dividend_, next_divisors)))) {
        return true;
      }
      divisors = Lanes::add(next_divisors, step);
    }
    if (group > limit) {
      return false;
    }
    const Vector ceiling = Lanes::broadcast(limit + 1);
    return Lanes::any(Lanes::either(dividing_below(divisors, ceiling),
                                    dividing_below(Lanes::add(divisors, step), ceiling)));
  }

 private:
  // The lanes whose divisor is below ceiling and divides the candidate.
  Vector dividing_below(Vector divisors, Vector ceiling) const {
    return Lanes::both(Lanes::dividing(dividend_, divisors), Lanes::below(divisors, ceiling));
  }

  const typename Lanes::Dividend dividend_;
};

// A whole kernel from its kinds of lanes: single precision below 2^24; from 2^24 up, double
// precision, or, where the kernel has them, single-precision lanes with an integer remainder
// for every divisor they take exactly (RemainderLanes; double precision by default). The
// switch is one comparison per candidate.
template <typename SingleLanes, typename DoubleLanes, typename RemainderLanes = DoubleLanes>
struct LaneKernel {
  static bool any_divisor(Number candidate, Number limit) {
    return divides(candidate, limit + 1, [limit](Number) { return limit; });
  }

  static Number next_prime(Number x) {
    return next_prime_by(x, [](Number candidate) {
      return candidate < kSinglePrecisionEnd
                 ? divides(candidate, candidate, single_precision_trial_limit)
                 : divides(candidate, candidate, trial_limit);
    });
  }

 private:
  // True when some integer from 2 up to limit_of(candidate) divides candidate; the first
  // group counts the divisors below first_ceiling, and limit_of is called only when that
  // group has not decided.
  template <typename LimitOf>
  static bool divides(Number candidate, Number first_ceiling, LimitOf limit_of) {
    if (candidate < kSinglePrecisionEnd) {
      const LaneTrial<SingleLanes> single(candidate);
      return single.first_group_divides(first_ceiling) ||
             single.groups_divide(SingleLanes::kWidth + 2, limit_of(candidate));
    }
    const LaneTrial<DoubleLanes> exact(candidate);
    if (exact.first_group_divides(first_ceiling)) {
      return true;
    }
    const Number limit = limit_of(candidate);
    const Number first = DoubleLanes::kWidth + 2;
    if constexpr (std::is_same_v<RemainderLanes, DoubleLanes>) {
      return exact.groups_divide(first, limit);
    } else {
      const Number remainder_first =
          std::max(first, last_divisor_too_small_for_remainder_lanes(candidate) + 1);
      return exact.groups_divide(first, std::min(limit, remainder_first - 1)) ||
             LaneTrial<RemainderLanes>(candidate).groups_divide(remainder_first, limit);
    }
  }
};

}  // namespace

#endif  // SPHENISCHEZAHLEN_ARITH_TRIAL_DIVISION_LANES_H_
