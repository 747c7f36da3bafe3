// Bounds the interval sieve sizes its lists by.
#pragma once

#include <cmath>
#include <cstdint>

namespace interval {

// At least the number of primes up to x (Rosser and Schoenfeld: pi(x) <
// 1.25506 x / ln x for x > 1), with a margin for rounding.
inline uint64_t primesUpTo(uint64_t x) {
    if (x < 100) return 26;
    double d = static_cast<double>(x);
    return static_cast<uint64_t>(1.25506 * d / std::log(d)) + 16;
}

// floor(sqrt(n)) for every n below 2^64.
inline uint64_t squareRootFloor(uint64_t n) {
    uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r > 0xFFFFFFFFu || r * r > n) --r;
    while (r < 0xFFFFFFFFu && (r + 1) * (r + 1) <= n) ++r;
    return r;
}

}  // namespace interval
