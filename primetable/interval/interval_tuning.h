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
// 1.35 1.41; 2^21: 1.30 1.21 / 1.38 1.37 (beyond what the entries hold).
inline constexpr uint64_t kSegmentBytes = uint64_t{1} << 20;
// Segment of the sieve that generates the sieving primes up to sqrt(b): it
// crosses off only primes below 2^16 and fits the first-level cache.
inline constexpr uint64_t kGeneratorSegmentBytes = uint64_t{1} << 15;
// Primes above segment bytes / kBucketFloorDivisor go to the bucket lists (a
// prime q marks about 8 * segment / q multiples per segment, 32 at the
// floor). With 2^20-byte segments, the same runs as above: divisor 8 1.65
// 1.43 / 1.71 1.48 (a busier moment), 4 1.29 1.27 / 1.35 1.41; at 2^18 and
// 2^19, 4 was better than 1 and 8 by 5 to 10 %.
inline constexpr uint64_t kBucketFloorDivisor = 4;
// Entries per bucket page (8 bytes each).
inline constexpr uint64_t kPageEntries = 1024;

// Threads take the interval in chunks from a shared counter. Each chunk
// restarts every sieving prime (a division each and the generation of the
// primes up to sqrt(b)), so a chunk spans at least kChunkRootFactor * sqrt(b)
// numbers and kMinChunkNumbers; at most kChunksPerThread per thread.
inline constexpr uint64_t kMinChunkNumbers = uint64_t{1} << 28;
inline constexpr uint64_t kChunkRootFactor = 16;
inline constexpr uint64_t kChunksPerThread = 16;
// A listing on several threads keeps each chunk's bitmap until the primes
// before it are delivered: chunks of at most this many numbers (a bitmap
// of 2^32 * 48 / 210 bits, 117 MiB).
inline constexpr uint64_t kMaxListChunkNumbers = uint64_t{1} << 32;

}  // namespace interval::tuning
