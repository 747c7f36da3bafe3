// The self-initialising quadratic sieve for odd composites of kSiqsMinBits
// to 128 bits (internal, C++ only).
//
// Deterministic: the multiplier, the factor base and the sequence of
// polynomials (a fixed-seed draw of a's primes) depend on n alone, so the
// same n always takes the same time. Work memory is static, about 1.7 MB
// (primequery/factoring/siqs_work.h); no heap. Not reentrant.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace factoring {

// The smallest n the parameter table serves. Below it a and the factor base
// get so small that some n run out of distinct polynomials (one of 640
// composites of 24 to 39 bits did); SQUFOF, rho and trial division are
// faster there anyway. From 40 bits on no run of the sweeps failed.
inline constexpr int kSiqsMinBits = 40;

// The caller divides out the primes below this bound, that is, passes an odd
// n. The sieve needs no more: a prime factor up to the factor base's largest
// prime is returned while the factor base is built, and larger ones do no
// harm. A perfect power p^k cannot be split this way (every pair of square
// roots of a square mod p^k is x, -x): the run gives up and returns 0.
inline constexpr uint32_t kSiqsTrialBound = 3;

// A factor f of n with 1 < f < n, for an odd composite n below 2^128 of at
// least kSiqsMinBits bits that is not a perfect power and has no prime
// factor below kSiqsTrialBound; 0 when the method fails (the caller then
// goes on with another method).
wordmath::u128 siqsFactor(wordmath::u128 n);

// Counters of the last run and of all runs, for tests and benchmarks.
struct SiqsStats {
    uint64_t multiplier;    // k of the last run
    uint32_t factorBase;    // primes in its factor base
    uint64_t polynomials;   // polynomials sieved in the last run
    uint64_t candidates;    // sieve values past the threshold, checked by trial division
    uint32_t relations;     // full and partial relations kept
    uint32_t fullRelations, partialPairs;
    uint64_t retries;       // matrix runs after a first that split nothing, all runs
    uint64_t notSquare;     // dependencies that were no square (a fault), all runs
};
SiqsStats siqsStats();

}  // namespace factoring
