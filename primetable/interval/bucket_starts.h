// Where the sieving primes of a block start in a span: for each prime q, its
// first multiple at or above lo and q^2 whose cofactor is prime to 210, as
// the bucket lists keep it. Starting the primes up to 10^9 for a count at
// 10^18 is one pass over 50 million of them; where the processor has
// 512-bit vectors, eight primes go at once.
#pragma once

#include <cstdint>

#include "primetable/interval/interval_span.h"

namespace interval {

inline constexpr uint64_t kStartBlock = 64;

struct Starts {
    uint64_t bits[kStartBlock];    // the multiple's bit in the span; endBit or more past hi (the rest then unset)
    uint32_t primes[kStartBlock];  // q div 210
    uint32_t keys[kStartBlock];    // 48 * (index of q mod 210) + index of the cofactor mod 210
};

// The starts of primes[0 .. n - 1] (n <= kStartBlock, ascending, each from 11
// to below 2^32) in the span, into out[0 .. n - 1].
void computeStarts(const uint32_t* primes, uint64_t n, const Span& span, Starts& out);

namespace testing {
// Off: the plain computation only (the vector one must give the same).
void allowVectorStarts(bool allowed);
}  // namespace testing

}  // namespace interval
