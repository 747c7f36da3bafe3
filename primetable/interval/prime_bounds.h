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

// ceil(n / q) for 11 <= q < 2^32. The quotient of the doubles is off by a
// few units at most (n rounded to 53 bits, q at least 11), which the integer
// remainder corrects. A start near 10^18 divides for each of its 50 million
// sieving primes; the doubles' division issues every few cycles, the 64-bit
// integer division does not.
// `nearN` is n as a double, which callers dividing one n by many q convert
// once (the conversion of an unsigned word takes a branch).
inline uint64_t quotientUp(uint64_t n, double nearN, uint64_t q) {
    // Below 2^61: the signed conversion, which needs no branch.
    auto c = static_cast<uint64_t>(static_cast<int64_t>(nearN / static_cast<double>(static_cast<uint32_t>(q))));
    auto r = static_cast<int64_t>(n - c * q);
    while (r < 0) {
        --c;
        r += static_cast<int64_t>(q);
    }
    while (static_cast<uint64_t>(r) >= q) {
        ++c;
        r -= static_cast<int64_t>(q);
    }
    return c + (r != 0);
}

}  // namespace interval
