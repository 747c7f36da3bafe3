// Pre-sieving: the multiples of the smallest sieving primes form patterns that
// repeat every 6 * p bytes of the bitmap stream (48 p positions, 210 p
// numbers); products of a few primes are combined into one pattern, which is
// ORed into each segment instead of crossing the primes off one by one.
#pragma once

#include <cstdint>

namespace sieve {

// Whether the patterns cross off the small prime p in a block whose limit is
// `limit` (a pattern is used only when all its primes have p^2 < limit, as
// the small-prime pass would take them all).
bool patternCovers(uint64_t p, uint64_t limit);

// ORs the patterns that apply at `limit` into seg[0 .. bytes - 1], which holds
// the bitmap stream from byte `streamByte` on (stream byte 0 = position 0 =
// the number 211); bytes is a multiple of 8. The first call computes the
// patterns, unless preparePatterns did.
void applyPatterns(uint8_t* seg, uint64_t streamByte, uint64_t bytes, uint64_t limit);

// The same for a bitmap counted from the number 0 (byte 0 holds the numbers
// 1 .. 209 prime to 210, 6 bytes before the table's stream byte 0), with
// every pattern applied. In bytes 0 .. 5 the patterns also mark the primes
// 11 .. 137 themselves: the caller writes those bytes itself.
void applyPatternsFromZero(uint8_t* seg, uint64_t byteFromZero, uint64_t bytes);

// Computes the patterns now, so that threads started later may apply them
// at once.
void preparePatterns();

}  // namespace sieve
