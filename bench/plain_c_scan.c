/* The sphenic scan as a plain C loop, the yardstick the library's speed is held against. */
#include "plain_c_scan.h"

#include <math.h>

static unsigned plain_next_prime(unsigned x) {
  for (unsigned y = x + 1;; ++y) {
    unsigned limit = (unsigned)(float)sqrt((double)y);
    unsigned i = 2;
    while (i <= limit && y % i != 0) {
      ++i;
    }
    if (i > limit) {
      return y;
    }
  }
}

unsigned plain_c_count_sphenic(unsigned first, unsigned last) {
  unsigned count = 0;
  for (unsigned n = first; n <= last; ++n) {
    unsigned factors[3];
    unsigned found = 0, d = 2, c = n;
    while (found < 3) {
      if (c % d == 0) {
        factors[found++] = d;
        c /= d;
      } else {
        d = plain_next_prime(d);
      }
      if (c <= 1) {
        break;
      }
    }
    if (found == 3 && c == 1 && factors[0] != factors[1] && factors[1] != factors[2]) {
      ++count;
    }
  }
  return count;
}
