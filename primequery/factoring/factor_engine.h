// The complete factorisation of every number below 2^128 (internal, C++
// only): trial division, perfect powers, then each composite piece split by
// the method its size calls for, every prime factor proven prime.
#pragma once

#include "primequery/factoring/prime_factors.h"

namespace factoring {

// The prime factors of n >= 1, with multiplicity, in ascending order (none
// for n = 1).
void factorise(u128 n, PrimeFactors* out);

// A factor f of n with 1 < f < n, for an odd composite n that is no perfect
// power and has no prime factor below 5.
u128 splitComposite(u128 n);

}  // namespace factoring
