// The interval sieve's tuning sizes and the measurements that chose them.
#pragma once

#include <cstdint>

namespace interval::tuning {

// Segment of the interval's bitmap: a power of two, so that the bucket lists
// find a multiple's segment by a shift, and at most 2^20 (their entries hold
// 20 bits of byte). Measured on the 2-core EPYC build machine (L1 48 KiB, L2
// 1 MiB per core), user seconds of a count on one thread of [10^12, 10^12 +
// 10^10] and [10^18, 10^18 + 10^9], two runs each, bucket floor S / 4:
// 2^18: 1.90 1.84 / 1.38 1.35; 2^19: 1.45 1.42 / 1.35 1.39; 2^20: 1.29 1.27 /
// 1.35 1.41; 2^21: 1.30 1.21 / 1.38 1.37 (beyond what the entries hold). With
// the bucket lists split as below, 2^19 against 2^20 still took 0.84 against
// 0.72 and 1.71 against 1.69.
inline constexpr uint64_t kSegmentBytes = uint64_t{1} << 20;
// Segment of the sieve that generates the sieving primes up to sqrt(b): it
// crosses off only primes below 2^16, the smallest of them by first-level
// cache chunks. Generating the primes up to 10^9 (a count at 10^18), cycles
// of the generator, medians of five runs: 2^15 0.37 billion (with bucket
// lists for its primes above 2^14), 2^16 0.33 (none), 2^17 0.33.
inline constexpr uint64_t kGeneratorSegmentBytes = uint64_t{1} << 16;
// Primes above segment bytes / kBucketFloorDivisor go to the bucket lists (a
// prime q marks about 8 * segment / q multiples per segment, 16 at the
// floor). With 2^20-byte segments and one loop-free list for the primes of at
// most one multiple per segment, minimum user seconds of five alternating
// runs, [10^12, 10^12 + 5 * 10^9] and [10^18, 10^18 + 2 * 10^9]: divisor 2
// 0.66 0.67 / 1.73, 4 0.71 0.72 / 1.69 1.73, 8 0.76 / 1.76 (before that
// split: 8 1.65 1.43 / 1.71 1.48, 4 1.29 1.27 / 1.35 1.41 at 10^10 and 10^9).
inline constexpr uint64_t kBucketFloorDivisor = 2;
// Bucket primes from segment bytes * kOneHitFloorFactor on (a prime q marks
// about 8 * segment bytes / q multiples per segment, here at most 4 on
// average) mark one multiple per visit of their list, and return to the
// segment's list while their next multiple lies in it: a loop of one to a
// few rounds ends where the processor cannot predict it. Cycles of the
// bucket lists' cross-off, medians of five runs on one thread, [10^18,
// 10^18 + 4 * 10^9]: one-hit lists only for the primes whose every step
// exceeds a segment (q >= 1.8 * 10^7) 3.53 to 3.69 billion; from 2^23 3.51,
// 2^22 3.27, 2^21 3.16 to 3.23, 2^20 3.17. At [10^14, 10^14 + 4 * 10^9],
// 1.63 against 1.22 billion with 2^21.
inline constexpr uint64_t kOneHitFloorFactor = 2;
// Entries per bucket page (8 bytes each): at [10^18, 10^18 + 2 * 10^9],
// 256 took 1.89 s, 1024 1.68 s, 4096 1.66 s (minimum of five runs). Later,
// at [10^18, 10^18 + 4 * 10^9] on one thread with two builds run side by
// side: 2048 took 0.92 to 0.97 of 1024's user time (medians of three sets of
// six to ten pairs), 4096 1.00.
inline constexpr uint64_t kPageEntries = 2048;

// Threads take the interval in chunks from a shared counter. Each chunk
// restarts every sieving prime (a division each and the generation of the
// primes up to sqrt(b)), so a chunk spans at least kChunkRootFactor * sqrt(b)
// numbers and kMinChunkNumbers; at most kChunksPerThread per thread.
inline constexpr uint64_t kMinChunkNumbers = uint64_t{1} << 28;
inline constexpr uint64_t kChunkRootFactor = 16;
inline constexpr uint64_t kChunksPerThread = 16;
// A count that makes fewer chunks than threads shares out the sieving primes
// instead (interval_runs.cpp). Two threads, chunks against shares, wall
// seconds, medians of three to five runs: [10^16, 10^16 + 10^9] 0.39 / 0.34,
// [10^18, 10^18 + 4 * 10^9] 2.45 / 2.08, [2^64 - 10^10, 2^64 - 1] 9.21 / 6.54.
// A listing on several threads keeps each chunk's bitmap until the primes
// before it are delivered: chunks of at most this many numbers (a bitmap
// of 2^32 * 48 / 210 bits, 117 MiB).
inline constexpr uint64_t kMaxListChunkNumbers = uint64_t{1} << 32;

// An interval shorter than sqrt(b) / kTestsRootDivisor is answered by testing
// its numbers one by one (short_interval.h). Whole processes, one thread:
// just below 2^64 the tests took 0.25 s for 4 * 10^6 numbers (63 ns each)
// where the sieve took 1.7 s for any interval of a few million; at 10^16 the
// sieve took 0.04 s for 4 * 10^5 numbers. The tests win up to about
// sqrt(b) / 150 at both; 256 keeps a margin.
inline constexpr uint64_t kTestsRootDivisor = 256;

}  // namespace interval::tuning
