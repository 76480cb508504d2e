// The one integer type of the sphenic arithmetic and the triple of prime factors it yields.
#ifndef SPHENISCHEZAHLEN_ARITH_NUMBER_H_
#define SPHENISCHEZAHLEN_ARITH_NUMBER_H_

#include <array>
#include <cstdint>

// Every quantity of the program: bounds, numbers under test, divisors, factors.
// Unsigned 32-bit, so all division is the fast unsigned 32-bit kind.
using Number = std::uint32_t;

// The three prime factors of a sphenic number, in the order they were found (ascending).
using FactorTriple = std::array<Number, 3>;

#endif  // SPHENISCHEZAHLEN_ARITH_NUMBER_H_
