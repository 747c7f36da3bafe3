// The threaded part of a table pass: the segments after those the calling
// thread sieved while it took the sieving primes, cut into runs that all
// threads sieve at once, each from every sieving prime started afresh at its
// first multiple in the run. Each thread beyond the calling one gets buffers
// of its own, kept from pass to pass.
#pragma once

#include <cstdint>

#include "primetable/sieve_segments.h"

namespace sieve {

// Sieves words [first, end) of the pass's target on up to `threads` threads
// from the sieving primes numbers[0 .. count - 1] (ascending), the calling
// thread in `own`; answers how many threads sieved (fewer when memory or
// threads are refused). Not reentrant.
unsigned sieveOnThreads(Pass& pass, uint64_t first, const uint64_t* numbers, uint64_t count, unsigned threads,
                        Buffers own);

}  // namespace sieve
