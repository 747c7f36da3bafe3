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
// takes fewer runs. Each run restarts every sieving prime at its start, a
// cost per run independent of the run's length; a 128 MB block split into 8
// runs of 64 segments keeps that small. Not tuned by measurement yet: the
// development machine was too loaded for wall-clock comparisons between
// values (total CPU time of a threaded 128 MB build measured 1-4 % above the
// single-threaded one with this value).
inline constexpr uint64_t kRunsPerThread = 4;

}  // namespace sieve::tuning
