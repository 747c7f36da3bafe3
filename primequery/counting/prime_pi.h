// pi(x) for every x below 2^64 (internal, C++ only; the library's routine
// is _5_prmpi).
#pragma once

#include <cstdint>

#include "primetable/square_root.h"

namespace counting {

// The number of primes <= x in *count; false when memory was refused or
// the progress hook stopped the run.
bool primePi(uint64_t x, uint64_t* count);

// floor(sqrt(n)) (the sieves' own) and floor(cbrt(n)), exact for every n.
using sieve::squareRootFloor;
uint64_t cubeRoot(uint64_t n);

}  // namespace counting
