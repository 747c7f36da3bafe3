// The interval sieve's tuning sizes and the measurements that chose them.
#pragma once

#include <cstdint>

namespace interval::tuning {

// Segment of the interval's bitmap (a power of two, so that the bucket lists
// find a multiple's segment by a shift): the table sieve's size, for the same
// reason (segment and spill room beside the patterns in the 512 KiB L2).
inline constexpr uint64_t kSegmentBytes = uint64_t{1} << 18;
// Segment of the sieve that generates the sieving primes up to sqrt(b): it
// crosses off only primes below 2^16 and fits the first-level cache.
inline constexpr uint64_t kGeneratorSegmentBytes = uint64_t{1} << 15;
// Primes above this many segment bytes go to the bucket lists (a prime q
// marks about 8 * segment / q multiples per segment).
inline constexpr uint64_t kBucketFloorSegments = 1;
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
