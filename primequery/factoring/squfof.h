// Shanks' square forms factorisation (internal, C++ only).
#pragma once

#include <cstdint>

namespace factoring {

// A factor f of the odd composite n < 2^62 (not a perfect square, no prime
// factor below 5), 1 < f < n, or 0 when none of the multipliers finds one
// within its bound. The multipliers k = 1, 3, 5, 7, 11 and their products
// (k n < 2^64) are tried in turn, each for about 3 (2 (k n)^(1/2))^(1/2)
// steps of the continued fraction of (k n)^(1/2).
uint64_t squfofFactor(uint64_t n);

}  // namespace factoring
