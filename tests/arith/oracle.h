// Answers for the arithmetic's tests that owe nothing to the code under test: a sieve, the
// smallest prime factor of any Number, and a fixed sequence of Numbers spread over the range.
#ifndef SPHENISCHEZAHLEN_TESTS_ARITH_ORACLE_H_
#define SPHENISCHEZAHLEN_TESTS_ARITH_ORACLE_H_

#include <cstdint>
#include <vector>

#include "arith/number.h"

// Returns the smallest prime factor of every number below end (at most 2^32), 0 for 0, 1
// and the primes, by the sieve of Eratosthenes.
inline std::vector<std::uint16_t> smallest_prime_factors(std::uint64_t end) {
  std::vector<std::uint16_t> sieve(end, 0);
  for (std::uint64_t i = 2; i * i < end; ++i) {
    for (std::uint64_t multiple = i * i; sieve[i] == 0 && multiple < end; multiple += i) {
      if (sieve[multiple] == 0) {
        sieve[multiple] = static_cast<std::uint16_t>(i);
      }
    }
  }
  return sieve;
}

// Returns the smallest prime factor of n, or n itself when n is below 2 or has no prime
// factor up to 65536 (so n is a prime), by the primes of a sieve alone.
inline Number smallest_prime_factor(Number n) {
  static const std::vector<Number> primes = [] {
    std::vector<Number> found;
    const std::vector<std::uint16_t> factors = smallest_prime_factors(65537);
    for (Number i = 2; i < factors.size(); ++i) {
      if (factors[i] == 0) {
        found.push_back(i);
      }
    }
    return found;
  }();
  for (const Number prime : primes) {
    if (n % prime == 0) {
      return prime;
    }
  }
  return n;
}

// A fixed linear congruential sequence: the high 32 bits of each state, spread over all of 0
// to 2^32 - 1, the same on every run and machine.
class NumberSequence {
 public:
  explicit NumberSequence(std::uint64_t start) : state_(start) {}
  Number next() {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<Number>(state_ >> 32);
  }

 private:
  std::uint64_t state_;
};

#endif  // SPHENISCHEZAHLEN_TESTS_ARITH_ORACLE_H_
