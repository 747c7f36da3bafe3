// The sieving primes 11 .. 199, read from SmallPrimeBytes.
#pragma once

#include <cstdint>

#include "primetable/wheel.h"

namespace sieve {

// Calls f(p) for 11, 13, ..., 199 in ascending order (the primes below 211
// without 2, 3, 5 and 7) until f answers false.
template <typename F>
void forSmallPrimes(F f) {
    for (uint64_t i = 4; i < wheel::kSmallPrimeCount; ++i)
        if (!f(wheel::smallPrime(i))) return;
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
