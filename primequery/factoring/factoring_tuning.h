// Tuning of the factoring methods: how much of the elliptic curve method a
// composite gets before the quadratic sieve takes it, by its size. They
// change speed only, never a result.
#pragma once

#include <cstdint>

#include "primequery/factoring/ecm_multipliers.h"

namespace factoring {

// The first sigma of Suyama's curves tried on each composite.
inline constexpr uint64_t kFirstSigma = 6;

// For composites of up to maxBits bits: the curves of each level of
// kEcmB1 tried, lowest level first, before the quadratic sieve.
struct EcmPlan {
    int maxBits;
    uint8_t curves[kEcmLevels];
};

inline constexpr EcmPlan kEcmPlans[] = {
    {48, {2, 2, 0, 0, 0, 0, 0, 0, 0, 0}},  {64, {3, 3, 2, 0, 0, 0, 0, 0, 0, 0}},
    {80, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},  {96, {2, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
    {112, {3, 2, 1, 0, 0, 0, 0, 0, 0, 0}}, {128, {4, 4, 3, 1, 0, 0, 0, 0, 0, 0}},
};

// Below this size SQUFOF comes before the quadratic sieve, from it after.
inline constexpr int kSqufofFirstBits = 48;
// SQUFOF takes composites up to this size.
inline constexpr int kSqufofBits = 62;

// Curves per round of the last resort, should the quadratic sieve fail:
// the levels in turn from the lowest, again and again.
inline constexpr int kEcmCurvesPerRound = 16;

}  // namespace factoring
