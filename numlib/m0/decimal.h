/* Decimal text of unsigned 64- and 128-bit values (module _0_).
 *
 * Digits are ASCII, without sign or grouping, most significant first, without
 * leading zeros (0 is the single digit "0"). _0_numtostr and _0_numq2tostr
 * write no NUL: the caller puts it at the returned length. 40 bytes hold any
 * Q2Value with its NUL.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the 1..39 digits of (hi, lo); returns their number. At most three
 * 128-by-64-bit divisions by 10^16, then 64-bit arithmetic only. */
uint64_t _0_numq2tostr(char* buf, uint64_t lo, uint64_t hi);
/* Writes the 1..20 digits of v; returns their number. */
uint64_t _0_numtostr(char* buf, uint64_t v);
/* Writes v (below 10^16) as exactly 16 digits with leading zeros; returns 16. */
uint64_t _0_numtostr16(char* buf, uint64_t v);
/* Reverses area[0..n-1] (n >= 1) in place; returns 0. */
int64_t _0_strxchch(char* area, uint64_t n);
/* Moves area[0..n-1] (n >= 1) k places up, last byte first, so the ranges may
 * overlap; the k bytes left in front keep their content. Returns k. */
uint64_t _0_strshr(char* area, uint64_t n, uint64_t k);
/* Decimal digits of v: 0 for 0, else 1..20. */
uint64_t _0_numqdecsz(uint64_t v);
/* Decimal digits of (hi, lo): 0 for 0, else 1..39. */
uint64_t _0_numq2decsz(uint64_t lo, uint64_t hi);
/* Writes (hi, lo) right-aligned in w bytes (blanks in front) and a NUL behind;
 * w = 0 means the value's own width. Returns 0, or -1 with the buffer
 * untouched when the value has more than w (> 0) digits. */
int64_t _0_numq2tostrn(char* buf, uint64_t w, uint64_t lo, uint64_t hi);

#ifdef __cplusplus
}
#endif
