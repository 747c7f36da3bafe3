/* Byte moves and edits of module _0_: copies and shifts of byte areas,
 * insertions, blank trimming, element reversal, rotation, and stores of the
 * low or high bytes of a word. A byte given as a 64-bit argument is its low 8
 * bits. Moves inside one area go in the order that makes the overlap safe.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Copies n bytes, the last byte first. Returns n. */
uint64_t _0_strcpy(char* dst, const char* src, uint64_t n);
/* Moves area[0..m-1] k places up, last byte first; returns area + k. */
char* _0_strsftr(char* area, uint64_t m, uint64_t k);
/* Moves area[0..m-1] k places down, first byte first; returns area - k. */
char* _0_strsftl(char* area, uint64_t m, uint64_t k);
/* Moves m bytes one place up and writes b at area[0]; returns m + 1. */
uint64_t _0_strsftr1ch(char* area, uint64_t m, uint64_t b);
/* Inserts b at position p of the n-byte text (text[p..n-1] move up by one);
 * returns n - p + 1, or -1 (nothing changed) when p is above n. */
int64_t _0_isrtch(char* text, uint64_t n, uint64_t p, uint64_t b);
/* Inserts k copies of b in front of the n bytes; returns n + k, or -1
 * (nothing changed) when k is below 1. */
int64_t _0_isrtchars(char* text, uint64_t n, uint64_t b, int64_t k);
/* Moves the bytes from the first non-blank up to and including the first t
 * after it to the start of the text; returns their number. The text must
 * contain t. */
uint64_t _0_cprstr(char* text, uint64_t t);

/* Reverses the order of the len / e elements of e bytes (e = 1, 2, 4, 8 or 16)
 * in place and returns 0; -1 (nothing changed) for another e, or when e >= 2
 * does not divide len. */
int64_t _0_xchgar(char* area, uint64_t len, uint64_t e);
/* Reverse the order of the whole elements of 1, 2, 4, 8 or 16 bytes in the
 * len bytes (bytes beyond the last whole element stay). Return 0. */
int64_t _0_xchgar1(char* area, uint64_t len);
int64_t _0_xchgar2(char* area, uint64_t len);
int64_t _0_xchgar4(char* area, uint64_t len);
int64_t _0_xchgar8(char* area, uint64_t len);
int64_t _0_xchgar16(char* area, uint64_t len);

/* Rotates the n bytes right by k bytes (the last k come to the front); k from
 * 0 to 16 and below n. Returns 0, or -1 with nothing changed. */
int64_t _0_rolr(char* area, uint64_t n, uint64_t k);
/* The rotation for k from 0 to 8, and for k from 0 to 16; both need k <= n.
 * Return 0, or -1 with nothing changed. */
int64_t _0_rolr8(char* area, uint64_t n, uint64_t k);
int64_t _0_rolr16(char* area, uint64_t n, uint64_t k);

/* Writes the m low bytes of v, lowest first (m from 1 to 8). Returns 0, or -1
 * (nothing written) for another m. */
int64_t _0_stolreg(char* at, uint64_t v, uint64_t m);
/* Writes the m high bytes of v (bytes 8-m to 7 of the word, as the lowest
 * first), m from 1 to 8. Returns 0, or -1 (nothing written) for another m. */
int64_t _0_storeg(char* at, uint64_t v, uint64_t m);

#ifdef __cplusplus
}
#endif
