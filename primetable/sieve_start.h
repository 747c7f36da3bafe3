// Where a sieving prime starts: its first multiple with a bit at or above a
// given cofactor, as a SievingPrime.
#pragma once

#include <array>
#include <cstdint>

#include "primetable/sieve_cross.h"
#include "primetable/wheel.h"

namespace sieve {

// The index of the first residue of 210 at or above r (r < 210; 209 is a
// residue, so there is one).
constexpr std::array<uint8_t, wheel::kModulus> makeResidueAtOrAbove() {
    std::array<uint8_t, wheel::kModulus> next{};
    for (uint64_t r = 0; r < wheel::kModulus; ++r) {
        uint64_t j = 0;
        while (WheelResidues[j] < r) ++j;
        next[r] = static_cast<uint8_t>(j);
    }
    return next;
}
inline constexpr std::array<uint8_t, wheel::kModulus> kResidueAtOrAbove = makeResidueAtOrAbove();
static_assert(WheelResidues[wheel::kSpokes - 1] == wheel::kModulus - 1);

// The smallest m >= c that is prime to 210.
inline uint64_t firstCofactor(uint64_t c) {
    const uint64_t period = c / wheel::kModulus;
    return period * wheel::kModulus + WheelResidues[kResidueAtOrAbove[c - period * wheel::kModulus]];
}

// The stream byte of the multiple q * m (m prime to 210, q * m >= 211 and
// below 2^64), counted from position `origin`, a multiple of 8 not above the
// multiple's position.
inline uint64_t multipleByte(uint64_t q, uint64_t m, uint64_t origin) {
    uint64_t n = q * m;
    uint64_t position = (n / wheel::kModulus - 1) * wheel::kSpokes + (WheelIndex[n % wheel::kModulus] >> 32);
    return (position - origin) / 8;
}

// The prime q (11 to kMaxSievingPrime) at its multiple q * m, whose byte in
// the buffer being sieved is `next` (at most kMaxNextByte).
inline SievingPrime startAt(uint64_t q, uint64_t m, uint64_t next) {
    SievingPrime sp;
    sp.next = static_cast<uint32_t>(next);
    sp.q6 = static_cast<uint16_t>(6 * (q / wheel::kModulus));
    sp.ri = static_cast<uint8_t>(WheelIndex[q % wheel::kModulus] >> 32);
    sp.j = static_cast<uint8_t>(WheelIndex[m % wheel::kModulus] >> 32);
    return sp;
}

}  // namespace sieve
