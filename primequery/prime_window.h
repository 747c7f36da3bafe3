// The next and the previous prime of any number below 2^128, without a
// table (internal, C++ only): windows of odd numbers sieved by small primes,
// the survivors tested with the proven primality test.
#pragma once

#include "numlib/m0_utilities/u128.h"

namespace primequery {

using wordmath::u128;

// The largest prime below 2^128.
inline constexpr u128 kLargestPrime128 = ~u128{0} - 158;

// The smallest prime above n; 0 when there is none below 2^128
// (n >= kLargestPrime128).
u128 nextPrimeAbove(u128 n);

// The largest prime below n; 0 for n <= 2.
u128 previousPrimeBelow(u128 n);

}  // namespace primequery
