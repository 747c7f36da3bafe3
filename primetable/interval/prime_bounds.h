// Bounds the interval sieve sizes its lists by.
#pragma once

#include <cmath>
#include <cstdint>

#include "primetable/square_root.h"

namespace interval {

// At least the number of primes up to x (Rosser and Schoenfeld: pi(x) <
// 1.25506 x / ln x for x > 1), with a margin for rounding.
inline uint64_t primesUpTo(uint64_t x) {
    if (x < 100) return 26;
    double d = static_cast<double>(x);
    return static_cast<uint64_t>(1.25506 * d / std::log(d)) + 16;
}

using sieve::squareRootFloor;

}  // namespace interval
