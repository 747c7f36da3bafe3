// Miller–Rabin strong probable-prime tests with base sets that make the
// answer exact below known bounds (internal, C++ only).
//
// A "composite" verdict is always final. Below 2^64 the seven bases
// {2, 325, 9375, 28178, 450775, 9780504, 1795265022} leave no strong
// pseudoprime; below psi_13 = 3,317,044,064,679,887,385,961,981 the thirteen
// prime bases 2 .. 41 leave none (Sorenson and Webster). Above psi_13 a number
// that passes is only a probable prime and the caller must confirm it.
#pragma once

#include <cstdint>

#include "primequery/u128.h"

namespace primequery {

enum class Primality { kComposite, kPrime, kProbablePrime };

// The bases: seven for n below 2^64 (the smallest set known to be exact
// there), the thirteen primes 2 .. 41 above.
inline constexpr uint64_t kBases64[] = {2, 325, 9375, 28178, 450775, 9780504, 1795265022};
inline constexpr uint64_t kBases128[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41};

// psi_13, the first number for which the thirteen prime bases can fail.
inline constexpr u128 kPsi13 = (static_cast<u128>(179817) << 64) | 5885577656943027709ull;

// Exact for every n below 2^64; 0 and 1 are not prime.
bool isPrime64(uint64_t n);

// Exact below psi_13 (kPrime or kComposite); at or above it kComposite or
// kProbablePrime.
Primality testPrimality(u128 n);

}  // namespace primequery
