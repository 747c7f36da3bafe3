/* Bit shifts of word arrays, their bit length, and their comparison with 10^16
 * (module _0_). Word arrays hold unsigned 64-bit words, MOST significant first;
 * n is the word count. A shift count s is 0..63; a larger one is refused with
 * -1 and nothing changed, as is n = 0.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A = A * 2^s mod 2^(64n) in place. Returns 1 when set bits left word 0, else 0. */
int64_t _0_bitshtl(uint64_t* a, uint64_t n, uint64_t s);
/* A = A div 2^s in place. Returns 1 when set bits left word n-1, else 0. */
int64_t _0_bitshtr(uint64_t* a, uint64_t n, uint64_t s);
/* A * 2^s exactly: in the n words (result 0) when nothing leaves word 0,
 * otherwise in n + 1 words, the array growing by word n (result 1). The caller
 * keeps room for word n. */
int64_t _0_bitshtlex(uint64_t* a, uint64_t n, uint64_t s);
/* A shifted right by s without losing bits: when set bits would leave word n-1
 * they are kept, in the top s bits of a new word n, and the result is 1 (the
 * n + 1 words then hold A * 2^(64-s)); otherwise a plain right shift, result 0.
 * The caller keeps room for word n. */
int64_t _0_bitshtrex(uint64_t* a, uint64_t n, uint64_t s);
/* Significant bits of A: 0 when A is zero or n is 0. */
uint64_t _0_bitlen(const uint64_t* a, uint64_t n);
/* Compares A with 10^16: -1 smaller (an all-zero or empty array too), 0 equal,
 * 1 larger. Leading zero words are skipped. */
int64_t _0_cmpeta(const uint64_t* a, uint64_t n);

#ifdef __cplusplus
}
#endif
