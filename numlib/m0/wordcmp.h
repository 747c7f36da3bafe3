// Word-array comparisons of module _0_ that the long division of module _1_
// rests on. Word arrays hold unsigned 64-bit words, MOST significant first.
// Comparisons answer -1 if the first value is smaller, 0 if equal, 1 if
// larger. None of them writes memory.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Number of leading zero words of a[0..n-1] (index of the first non-zero
// word); n when all are zero.
int64_t _0_cntzero(const uint64_t* a, uint64_t n);
// Compares the n-word values A and B (n = 0 compares equal).
int64_t _0_cmp(const uint64_t* a, const uint64_t* b, uint64_t n);
// Compares A (n + 1 words) with B * 2^s (B: n words, shifted into n + 1
// words), 1 <= s <= 63.
int64_t _0_cmp2n1(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t s);
// Compares A (n words) with B * 2^s (B: n words), 1 <= s <= 63. When the shift
// carries set bits out of the n words, A is the smaller (-1).
int64_t _0_cmp2n0(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t s);
// Largest s in 0..63 with B * 2^s <= A, where A has n + 1 words with a[0] != 0,
// B has n words with b[0] != 0 and t is the index of the top set bit of b[0].
// -1 when B * 2^64 <= A. (A < B cannot occur: A has a non-zero extra word.)
int64_t _0_n1mxn2n1(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t t);
// Largest s in 0..63 with B * 2^s <= A, where A and B have n words each,
// a[0] != 0, b[0] != 0 and t is the index of the top set bit of b[0].
// -1 when A < B.
int64_t _0_n1mxn2n(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t t);

#ifdef __cplusplus
}
#endif
