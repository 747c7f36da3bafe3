// The one primality test for 64-bit words that every layer uses: the table
// file's spot checks, the prime queries and the factoring methods
// (internal, C++ only).
#pragma once

#include <cstdint>

namespace wordmath {

// Exact for every n below 2^64 (Baillie–PSW, which no composite below 2^64
// passes); 0 and 1 are not prime.
bool isPrime64(uint64_t n);

}  // namespace wordmath
