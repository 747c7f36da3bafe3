// The sieve's tuning sizes and the measurements that chose them.
#pragma once

#include <cstdint>

namespace sieve::tuning {

// Sizes measured on the 2.6 GHz Xeon of the development machines (L1 48 KiB,
// L2 2 MiB per core). The segment stays in L2 with the room behind it. Primes
// below kChunkPrimeBound cross off one L1-sized chunk at a time; larger ones
// the whole segment. On a 128 MB table a bound anywhere from 8192 to 32768
// gave the same time, 4096 about 8 % more.
inline constexpr uint64_t kSegmentBytes = uint64_t{1} << 18;
inline constexpr uint64_t kChunkBytes = uint64_t{1} << 15;
inline constexpr uint64_t kChunkPrimeBound = 12000;

// Threaded passes hand out the segments in this many runs per thread, taken
// from a shared counter, so that a thread slowed by other load on the machine
// takes fewer. Each run restarts every sieving prime (about 1 ms for the
// 20000 primes of a 1280 MB table), against some 40 ms of sieving in a run
// of a 128 MB block split 8 ways; 4 runs per thread balanced a 2-core
// machine shared with other builds better than 1 or 2 did.
inline constexpr uint64_t kRunsPerThread = 4;

}  // namespace sieve::tuning
