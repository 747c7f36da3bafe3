// Trial division by the odd primes below 2^16 with precomputed inverses
// (internal, C++ only).
#pragma once

#include "primequery/factoring/odd_primes.h"
#include "primequery/factoring/prime_factors.h"

namespace factoring {

// Divides the odd primes p_from .. p_(to-1) of the table out of *n (odd,
// >= 1), appending each to `out` as often as it divides; stops early once
// p^2 exceeds what is left, which is then 1 or a prime (appended too, and
// *n becomes 1). Returns the index where it stopped: `to` when it went
// through all of them.
int divideOutOddPrimes(u128* n, int from, int to, PrimeFactors* out);

}  // namespace factoring
