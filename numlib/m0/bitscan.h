// Bit scans over words whose bits are numbered from the most significant bit
// (index 0) down, as in the prime table's bitmap (module _0_).
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Position of the first clear bit at or after `start` in words[0..count-1],
// counted from bit 0 of words[0] (64 positions per word, most significant bit
// first); -1 when there is none or when start >= 64 * count. Reads only the
// words from start / 64 on.
int64_t _0_bitscan0(const uint64_t* words, uint64_t start, uint64_t count);

// Index (0 = most significant bit) of the n-th clear bit of `word`, counted
// from the top, n >= 1; -1 when the word has fewer than n clear bits (n = 0
// also gives -1).
int64_t _0_bitscan0n(uint64_t word, uint64_t n);

#ifdef __cplusplus
}
#endif
