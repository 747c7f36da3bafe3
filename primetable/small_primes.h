// The sieving primes 11 .. 199, read from SmallPrimeBytes.
#pragma once

#include <cstdint>

#include "primetable/wheel.h"

namespace sieve {

// Calls f(p) for 11, 13, ..., 199 in ascending order (the bytes of
// SmallPrimeBytes with the first four, 2 3 5 7, skipped; a zero byte ends a
// word, 0xFF the list) until f answers false.
template <typename F>
void forSmallPrimes(F f) {
    uint64_t skip = 4;
    for (uint64_t word : SmallPrimeBytes) {
        for (int shift = 56; shift >= 0; shift -= 8) {
            uint64_t p = (word >> shift) & 0xFF;
            if (p == 0xFF) return;
            if (p == 0) break;
            if (skip > 0) {
                --skip;
                continue;
            }
            if (!f(p)) return;
        }
    }
}

// The prime the small-prime pass ends on in a block of this limit: the first
// whose square reaches the limit, or 199.
inline uint64_t lastSmallPrimeTried(uint64_t limit) {
    uint64_t last = 0;
    forSmallPrimes([&](uint64_t p) {
        last = p;
        return p * p < limit;
    });
    return last;
}

}  // namespace sieve
