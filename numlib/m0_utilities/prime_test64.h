// The one primality test for 64-bit words that every layer uses: the table
// file's spot checks, the prime queries and the factoring methods
// (internal, C++ only).
#pragma once

#include <cstdint>

namespace wordmath {

// The seven Miller–Rabin bases that leave no strong pseudoprime below 2^64.
inline constexpr uint64_t kBases64[] = {2, 325, 9375, 28178, 450775, 9780504, 1795265022};

// Exact for every n below 2^64; 0 and 1 are not prime.
bool isPrime64(uint64_t n);

}  // namespace wordmath
