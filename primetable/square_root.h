// The integer square root the sieves size their lists by.
#pragma once

#include <cmath>
#include <cstdint>

namespace sieve {

// floor(sqrt(n)) for every n below 2^64.
inline uint64_t squareRootFloor(uint64_t n) {
    uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r > 0xFFFFFFFFu || r * r > n) --r;
    while (r < 0xFFFFFFFFu && (r + 1) * (r + 1) <= n) ++r;
    return r;
}

}  // namespace sieve
