// Tuning of the factoring methods: which method a composite without prime
// factors below 2^16 meets first, and how much of the elliptic curve method
// it gets before the quadratic sieve takes it, by its size. They change
// speed only, never a result.
//
// Measured 2026-12-08 on the AMD EPYC (Zen 3, 2 cores under KVM, other
// builds running), CPU time, g++ 12 -O2. Each method alone on 200 products
// of two primes of 17 bits and more (random split), mean per number:
//   bits   rho      ECM levels 0-3   SQUFOF    quadratic sieve
//    34     7.0 us   14.7 us            7.3 us   118 us
//    40    11.0       9.2              16.8       80
//    46    20.9      16.2              54.8      123
//    52    38.1      30.2             149        159
//    58    82.2      45.4             390        202
//    64   193        78.3 (5 failed)     -        216
// The plans before the sieve, by the mean time of the whole factorisation
// of 80 random numbers and 80 products of two primes of half the size:
//   plan at 80/96/112/128 bits          80 bits      96         112        128
//   {}/{1}/{2,1}/{3,2,1}            0.17/0.51  0.39/1.36  1.31/3.93  2.72/12.5 ms
//   {1}/{2,1}/{3,2,1}/{4,4,3,1}     0.15/0.57  0.34/1.48  1.18/3.97  2.38/12.6
//   {2,1}/{3,2}/{4,3,2}/{6,5,4,2}   0.14/0.66  0.25/1.57  1.31/4.44  2.40/12.1
// (random/semiprime); the middle row is kept: the differences are near the
// noise of the machine.
#pragma once

#include <cstdint>

#include "primequery/factoring/ecm_multipliers.h"

namespace factoring {

// The first sigma of Suyama's curves tried on each composite.
inline constexpr uint64_t kFirstSigma = 6;

// Below kRhoBits Pollard-Brent comes first, with kRhoSteps steps (its
// factors there have 17 to 20 bits: some 2^10 steps find one).
inline constexpr int kRhoBits = 40;
inline constexpr uint64_t kRhoSteps = uint64_t{1} << 16;

// For composites of up to maxBits bits: the curves of each level of
// kEcmB1 tried, lowest level first, before the quadratic sieve.
struct EcmPlan {
    int maxBits;
    uint8_t curves[kEcmLevels];
};

inline constexpr EcmPlan kEcmPlans[] = {
    {64, {4, 4, 4, 4, 0, 0, 0, 0, 0, 0}},  {80, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {96, {2, 1, 0, 0, 0, 0, 0, 0, 0, 0}},  {112, {3, 2, 1, 0, 0, 0, 0, 0, 0, 0}},
    {128, {4, 4, 3, 1, 0, 0, 0, 0, 0, 0}},
};

// Below this size SQUFOF comes before the quadratic sieve, from it after.
inline constexpr int kSqufofFirstBits = 40;
// SQUFOF takes composites up to this size.
inline constexpr int kSqufofBits = 62;

// Curves per round of the last resort, should the quadratic sieve fail:
// the levels in turn from the lowest, again and again.
inline constexpr int kEcmCurvesPerRound = 16;

}  // namespace factoring
