// pi(x) for every x below 2^64 (internal, C++ only; the library's routine
// is _5_prmpi).
#pragma once

#include <cstdint>

namespace counting {

// The number of primes <= x in *count; false when memory was refused or
// the progress hook stopped the run.
bool primePi(uint64_t x, uint64_t* count);

// floor(sqrt(n)) and floor(cbrt(n)), exact for every n.
uint64_t squareRoot(uint64_t n);
uint64_t cubeRoot(uint64_t n);

}  // namespace counting
