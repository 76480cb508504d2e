// The scan of a range: every sphenic number from a lower to an upper bound, in turn.
#ifndef SPHENISCHEZAHLEN_ARITH_SCAN_RANGE_H_
#define SPHENISCHEZAHLEN_ARITH_SCAN_RANGE_H_

#include <functional>

#include "arith/number.h"

// Hands every sphenic number from lower to upper, both included, with its factors to found,
// in ascending order, the moment it is found. Nothing when lower is above upper; an upper
// bound of 4294967295 ends the scan after that number.
void scan_range(Number lower, Number upper,
                const std::function<void(Number n, const FactorTriple& factors)>& found);

#endif  // SPHENISCHEZAHLEN_ARITH_SCAN_RANGE_H_
