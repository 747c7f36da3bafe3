// Where the numbers of an interval [lo, hi] lie in its bitmap: the numbers
// prime to 210 from the period of lo on, 48 bits per 210 numbers, read as a
// stream of bytes most significant bit first (as the table's bitmap, whose
// kernels cross it off), a set bit for a composite.
#pragma once

#include <cstdint>

#include "primetable/sieve_steps.h"
#include "primetable/wheel.h"

namespace interval {

struct Span {
    uint64_t lo = 0;
    uint64_t hi = 0;
    uint64_t period = 0;    // lo / 210: bit 0 is the number 210 * period + 1
    uint64_t firstBit = 0;  // bit of the first number >= lo prime to 210
    uint64_t endBit = 0;    // one past the bit of the last number <= hi prime to 210
};

// Residues of 210 below r (r < 210).
inline uint64_t residuesBelow(uint64_t r) {
    uint64_t entry = WheelIndex[r];
    uint64_t upTo = entry & 0xFFFFFFFFu;
    return static_cast<int64_t>(entry) < 0 ? upTo : upTo - 1;
}

// lo <= hi; no overflow up to hi = 2^64 - 1.
inline Span spanOf(uint64_t lo, uint64_t hi) {
    Span s;
    s.lo = lo;
    s.hi = hi;
    s.period = lo / wheel::kModulus;
    s.firstBit = residuesBelow(lo % wheel::kModulus);
    s.endBit = (hi / wheel::kModulus - s.period) * wheel::kSpokes + (WheelIndex[hi % wheel::kModulus] & 0xFFFFFFFFu);
    return s;
}

// The bitmap's bytes (a partial last byte counted).
inline uint64_t spanBytes(const Span& s) { return (s.endBit + 7) / 8; }

inline uint64_t numberOfBit(const Span& s, uint64_t bit) {
    return (s.period + bit / wheel::kSpokes) * wheel::kModulus + WheelResidues[bit % wheel::kSpokes];
}

// The bit of n (prime to 210, lo's period or later).
inline uint64_t bitOfNumber(const Span& s, uint64_t n) {
    return sieve::positionFromZero(n) - wheel::kSpokes * s.period;
}

}  // namespace interval
