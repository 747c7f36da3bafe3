// The sieve's tuning sizes and the measurements that chose them.
#pragma once

#include <cstdint>

namespace sieve::tuning {

// Sizes first measured on a 2.6 GHz Xeon (L1 48 KiB, L2 2 MiB per core). The
// segment stays in L2 with the room behind it. Primes below kChunkPrimeBound
// cross off one L1-sized chunk at a time; larger ones the whole segment. On a
// 128 MB table a bound anywhere from 8192 to 32768 gave the same time, 4096
// about 8 % more. Measured again on the 2-core EPYC build machine (L1 32 KiB,
// L2 512 KiB per core), where segment and room no longer fit L2 beside the
// patterns: a 512 MB build on one thread still took 4.21-4.43 s with 256 KB
// segments against 4.43-4.82 s with 128 KB (three runs each, alternating), the
// primes whose turn exceeds the segment costing a visit per segment each;
// with the 8-byte sieving primes, 4.04 s against 4.13 s (means of three).
inline constexpr uint64_t kSegmentBytes = uint64_t{1} << 18;
inline constexpr uint64_t kChunkBytes = uint64_t{1} << 15;
inline constexpr uint64_t kChunkPrimeBound = 12000;

// Threaded passes hand out the segments in this many runs per thread, taken
// from a shared counter, so that a thread slowed by other load on the machine
// takes fewer runs, and the threads finish a block close together. Each run
// restarts every sieving prime at its start: on a 1280 MB build on 2 threads
// with 4 runs per thread that took 0.3 % of the time, and a thread sieved
// alone for 20-60 ms at the end of each 128 MB block; with 16 per thread,
// 0.9 % of the time, and 7-18 ms alone per block (two runs each, profiled).
inline constexpr uint64_t kRunsPerThread = 16;

}  // namespace sieve::tuning
