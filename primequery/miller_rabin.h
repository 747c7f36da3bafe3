// Miller–Rabin strong probable-prime tests for 128-bit numbers with a base
// set that makes the answer exact below a known bound (internal, C++ only).
//
// A "composite" verdict is always final. Below 2^64 the answer is
// wordmath::isPrime64's; below psi_13 = 3,317,044,064,679,887,385,961,981 the
// thirteen prime bases 2 .. 41 leave no strong pseudoprime (Sorenson and
// Webster). Above psi_13 a number that passes is only a probable prime and
// the caller must confirm it.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/prime_test64.h"
#include "numlib/m0_utilities/u128.h"

namespace primequery {

using namespace wordmath;

enum class Primality { kComposite, kPrime, kProbablePrime };

// The thirteen prime bases 2 .. 41.
inline constexpr uint64_t kBases128[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41};

// psi_13, the first number for which the thirteen prime bases can fail.
inline constexpr u128 kPsi13 = (static_cast<u128>(179817) << 64) | 5885577656943027709ull;

// Exact below psi_13 (kPrime or kComposite); at or above it kComposite or
// kProbablePrime.
Primality testPrimality(u128 n);

}  // namespace primequery
