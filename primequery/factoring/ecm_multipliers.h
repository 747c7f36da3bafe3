// The stage-1 multipliers of the elliptic curve method (internal, C++ only):
// for each bound B1 of the schedule, the product of the largest powers of
// all primes up to B1 that do not exceed B1, as bits from the top.
#pragma once

#include <cstdint>

namespace factoring {

inline constexpr int kEcmLevels = 10;
inline constexpr uint32_t kEcmB1[kEcmLevels] = {40, 100, 200, 400, 800, 1500, 2500, 4000, 7000, 11000};

struct EcmScalar {
    const uint64_t* words;  // little-endian words
    int bits;               // the top bit is bit bits - 1
    bool bit(int i) const { return (words[i / 64] >> (i % 64)) & 1; }
};

// The multiplier of level 0 .. kEcmLevels - 1.
EcmScalar ecmScalar(int level);

}  // namespace factoring
