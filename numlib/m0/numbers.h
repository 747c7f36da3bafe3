/* Small-number routines of module _0_: products and powers that stop before
 * they overflow, range tests and rounding, 128-bit pair arithmetic, and short
 * digit texts. Where a routine has two results they come back as a Q2Value
 * with the first result in lo and the second in hi.
 */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"

#ifdef __cplusplus
extern "C" {
#endif

/* With lo the smaller and hi the larger of a and b: {P, j} for the largest j
 * <= hi with P = lo * (lo + 1) * ... * j below 2^64 ({lo, lo} when lo = hi or
 * lo > 2^32 - 1; {0, hi} when lo = 0). */
Q2Value _0_numulnum(uint64_t a, uint64_t b);
/* {b^e, 0} when b^e fits in 64 bits, else {b^k, k} for the largest k with b^k
 * below 2^64. b = 0 gives {0, 0} (for e = 0 too); b = 1 or e = 0 gives {1, 0}. */
Q2Value _0_pow64(uint64_t b, uint64_t e);
/* x * 10^k mod 2^64. */
uint64_t _0_n10n(uint64_t x, uint64_t k);
/* x itself when x = -2^63; otherwise -1 below the smaller bound, 1 above the
 * larger one, 0 between them (bounds included). */
int64_t _0_range(int64_t x, int64_t a, int64_t b);
/* -x mod 2^64. */
uint64_t _0_neg(uint64_t x);
/* |x|; -2^63 stays -2^63. */
int64_t _0_abs(int64_t x);
/* The larger of the unsigned a and b. */
uint64_t _0_max(uint64_t a, uint64_t b);
/* x rounded up to a multiple of 8, mod 2^64. */
uint64_t _0_rup8(uint64_t x);
/* x rounded up to a multiple of m, mod 2^64; all ones when m is 0. */
uint64_t _0_rup(uint64_t x, uint64_t m);
/* v + x and v - x mod 2^128. */
Q2Value _0_addq2(Q2Value v, uint64_t x);
Q2Value _0_subq2(Q2Value v, uint64_t x);
/* v * 2^(s mod 64) mod 2^128. */
Q2Value _0_sftlq2(Q2Value v, uint64_t s);
/* x extended to 128 bits with its sign. */
Q2Value _0_cvtqtoq2(int64_t x);
/* The n digits (1 to 16) as the leading digits of a 16-digit number: their
 * value times 10^(16-n); all ones for another n. The digits are not checked. */
uint64_t _0_strltonum(const char* text, uint64_t n);
/* Skips leading "0" bytes and converts the digits that follow: 0 when there
 * are none; their value when it is below 2^64; -1 for more than 20 digits or a
 * value of 2^64 or more (2^64 - 1 reads the same as the failure). */
uint64_t _0_strdgt64num(const char* text);

#ifdef __cplusplus
}
#endif
