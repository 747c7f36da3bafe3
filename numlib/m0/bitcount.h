// Population counts of words and word arrays (module _0_).
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Number of set bits of the word, 0 to 64.
uint64_t _0_bitoncnt(uint64_t word);
// Number of clear bits of the word, 0 to 64.
uint64_t _0_bitoffcnt(uint64_t word);
// Number of clear bits in words[0..n-1], n >= 1 (n = 0 gives 0). The count
// is exact for any n.
uint64_t _0_bitcnt0(const uint64_t* words, uint64_t n);

#ifdef __cplusplus
}
#endif
