// The counting methods' thresholds (internal, C++ only). Measured on the
// development machine (2 cores, 48 KB L1 data and 1 MB L2 per core) with
// bench/prime_count_bench; the figures are in the comments.
#pragma once

#include <cmath>
#include <cstdint>

namespace counting {

// Below this x, pi(x) is counted by sieving [0, x] directly (a 140 KB
// bitmap, under a millisecond; the combinatorial count's tables cost more
// than that to set up at such x).
inline constexpr uint64_t kDirectLimit = uint64_t{1} << 22;

// Bytes of the sieve segment that counts primes (the pi table, the P2 term,
// the n-th prime's last gap): 30 numbers per byte; a sixteenth of the L2
// cache, so that the sieving primes' states stay cached beside it. P2 takes
// 0.92-0.98 s of the 6.0 s of pi(10^16) on one thread with it, 0.90 s with
// 256 KB (within the noise of the machine).
inline constexpr uint64_t kPrimeSegmentBytes = uint64_t{1} << 16;

// Bytes of the special leaves' sieve segment, and of the chunks it keeps a
// count of set bits for (2^kChunkShift bytes: a leaf reads at most 32 words
// beyond its chunk's count). The segment fits the L1 cache; 64 KB measured
// the same within the noise (pi(10^15): 2.4-3.0 s either way, with another
// build on the machine).
inline constexpr uint64_t kLeafSegmentBytes = uint64_t{1} << 15;
inline constexpr unsigned kChunkShift = 8;

// Primes below this are crossed off the special leaves' segment without
// counting, and the chunks' counts are then read again whole: such a prime
// clears more than 1000 bits of a 32 KB segment, where a recount of its
// 4096 words is cheaper than counting each. pi(3 10^13): 0.20-0.22 s
// against 0.23-0.24 s counting every prime's bits.
inline constexpr uint64_t kRecountBelow = 256;

// The sparse easy leaves look pi up tile by tile of this many numbers
// (16 bytes of the pi table per 240: 512 KB, half the L2 cache).
inline constexpr uint64_t kEasyTileNumbers = uint64_t{240} << 15;
// The first tiles are this small (the leaves crowd at small n).
inline constexpr uint64_t kEasyTileLeast = uint64_t{240} << 8;

// Easy leaves are taken in runs of equal pi (clustered) only for q above
// this factor times sqrt(x / p), where x / (p q) < q / 4 and the runs are
// long; below it, where runs of one or two q cost more than the look-ups they
// save, one by one. pi(10^16) on one thread, easy leaves: factor 1 3.5 s,
// 2 2.0 s, 4 1.8 s, 8 2.2 s (alpha 3.1, another build running).
inline constexpr uint64_t kClusterFactor = 2;

// y = alpha x^(1/3): alpha as a function of d = log10 x. A larger y moves
// work from the hard leaves and P2 to the easy leaves. Best alpha on one
// thread (another build running on the other core): 10^12 4 (0.022 s; 1:
// 0.036, 8: 0.028), 10^14 4 (0.356 s; 2: 0.452, 8: 0.477), 10^16 6 to 8
// (6.9 s; 3: 10.7, 4: 7.6, 11: 7.4, 15: 7.6).
inline double alphaFor(double x) {
    const double d = std::log10(x);
    if (d <= 14) return d - 8 < 1 ? 1 : d - 8 > 4 ? 4 : d - 8;
    return 4 + 1.25 * (d - 14);
}

}  // namespace counting
