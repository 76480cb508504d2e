// The scan of a range with the sphenic test, one number after another.
#include "arith/scan_range.h"

#include <algorithm>
#include <optional>

#include "arith/sphenic_factors.h"

void scan_range(Number lower, Number upper,
                const std::function<void(Number n, const FactorTriple& factors)>& found) {
  // 0 and 1 are passed over without a test: no number below 2 can be sphenic.
  if (lower > upper || upper < 2) {
    return;
  }
  // The test sits at the end of the loop, so that n never steps past upper and wraps.
  for (Number n = std::max(lower, Number{2});; ++n) {
    if (const std::optional<FactorTriple> factors = sphenic_factors(n)) {
      found(n, *factors);
    }
    if (n == upper) {
      return;
    }
  }
}
