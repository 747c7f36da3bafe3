/* NumRec, the number record of the library, and its field accessors (module _9_).
 *
 * A record is l contiguous 64-bit words (2 <= l <= 268,435,455):
 *   word 0   bits 0-27  lenv      L, mantissa words in use (0 <= L <= l-2)
 *            bits 28-55 lenl      l, record length, both header words included
 *            bits 56-62 reserved  zero in new records, carried along by copies
 *            bit  63    sign      1 for a negative number
 *   word 1              exp       signed count of peta digits (base 10^16);
 *                                 -2^63 marks an invalid number
 *   words 2 .. l-1                mantissa area: the first L words hold M, most
 *                                 significant word first; the rest is free
 * Value: (-1)^sign * M * 10^(16*exp). Leading zero words are allowed; a record
 * is zero when all its L words are (or L = 0), whatever its sign and exponent.
 *
 * Derived from the L words: p, the location of the first non-zero word; n, the
 * significant length from p to the end of the L words; the bit length
 * 64*(n-1) + (top set bit of *p) + 1. All three are 0 for a zero record.
 *
 * Accessors with two results return a Q2Value {lo: first, hi: second}; a
 * location comes back as its address in a word. None of them allocates.
 */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

#define NUMREC_LENV_MASK UINT64_C(0x000000000FFFFFFF)
#define NUMREC_LENL_SHIFT 28
#define NUMREC_LENL_MASK UINT64_C(0x00FFFFFFF0000000)
#define NUMREC_LENGTHS_MASK UINT64_C(0x00FFFFFFFFFFFFFF)
#define NUMREC_RESERVED_MASK UINT64_C(0x7F00000000000000)
#define NUMREC_SIGN_BIT UINT64_C(0x8000000000000000)
/* The largest record length, the largest 28-bit value. */
#define NUMREC_LENL_MAX UINT64_C(268435455)
/* The exponent that marks an invalid number. */
#define NUMREC_EXP_INVALID INT64_MIN
/* Header of a fresh record of l words: L = 0, sign 0, reserved bits 0. */
#define NUMREC_HEADER(l) ((uint64_t)(l) << NUMREC_LENL_SHIFT)

/* Lengths. */
Q64_API uint64_t _9_lenv(const uint64_t* rec);    /* L */
Q64_API uint64_t _9_lenl(const uint64_t* rec);    /* l */
Q64_API Q2Value _9_lenlen(const uint64_t* rec);   /* L; l */
Q64_API uint64_t _9_lenmxv(const uint64_t* rec);  /* l-2, the capacity in words */
Q64_API uint64_t _9_lenlft(const uint64_t* rec);  /* l-2-L, the free words */
/* l-2-n; the value of the first significant word (l-2; 0 for a zero record). */
Q64_API Q2Value _9_lenmlft(const uint64_t* rec);
/* p; n (both 0 for a zero record). */
Q64_API Q2Value _9_lenadr(uint64_t* rec);
Q64_API uint64_t _9_len(const uint64_t* rec);     /* n */
/* p; the bit length (both 0 for a zero record). */
Q64_API Q2Value _9_blenadr(uint64_t* rec);
Q64_API uint64_t _9_blen(const uint64_t* rec);    /* the bit length */
/* 64*(l-2) minus the bit length: how many bits M can still grow. (p and n
 * come from _9_lenadr.) */
Q64_API uint64_t _9_bitleft(const uint64_t* rec);

/* Length fields. Values are taken modulo 2^28. */
/* Sets L and l, keeping sign and reserved bits; -1 (nothing changed) when
 * l > 268,435,455 or l < L+2. Returns l. */
Q64_API int64_t _9_len2st(uint64_t* rec, uint64_t lenv, uint64_t lenl);
Q64_API uint64_t _9_len1st(uint64_t* rec, uint64_t lenv); /* L = lenv, unchecked; returns it */
Q64_API uint64_t _9_len1ad(uint64_t* rec);                /* L += 1, unchecked (L < 2^28-1) */
Q64_API uint64_t _9_len1sb(uint64_t* rec);                /* L -= 1, unchecked (L >= 1) */
Q64_API uint64_t _9_lennad(uint64_t* rec, uint64_t k);    /* L += k, unchecked */
Q64_API int64_t _9_lennadum(uint64_t* rec, uint64_t k);   /* L += k if L+k <= l-2, else -1 */
Q64_API uint64_t _9_lennsb(uint64_t* rec, uint64_t k);    /* L -= k, unchecked (k <= L) */
Q64_API int64_t _9_lencnsb(uint64_t* rec, uint64_t k);    /* L -= k if k <= L, else -1 */

/* Mantissa moves; the value does not change unless stated. */
/* One zero word in front, L += 1, when L < l-2; the new L, else -1. */
Q64_API int64_t _9_expdslen1(uint64_t* rec);
/* k zero words in front, L += k, when l-2-L >= k; the new L, else -1. */
Q64_API int64_t _9_expdslenm(uint64_t* rec, uint64_t k);
/* Moves the significant words to the front and sets L = n; returns the new L
 * (L unchanged when L = 0 or the first word is already non-zero). */
Q64_API uint64_t _9_cmprslen(uint64_t* rec);
/* Words that M * 10^(16k) may need: n + _3_petaqwl(k); second result -1 (all
 * ones) when that exceeds l-2, else 0. A zero record gives 0; 0. */
Q64_API Q2Value _9_expundsize(const uint64_t* rec, uint64_t k);
/* Frees the first mantissa word by dropping one or two peta digits (M div 10^16,
 * twice when the first word is still non-zero; truncation), adds their number
 * to the exponent and removes the leading zero words. 0, or -1 when the
 * exponent overflows: the mantissa is then divided but the exponent unchanged,
 * and the record is lost. A record with L = 0 is left as it is. */
Q64_API int64_t _9_divpeta1(uint64_t* rec);

/* Exponent and sign. */
Q64_API int64_t _9_exp(const uint64_t* rec);
Q64_API uint64_t _9_absexp(const uint64_t* rec);        /* |e|; 2^63 for -2^63 */
/* e += k or e -= k; the new e, or -2^63 with e unchanged on signed overflow.
 * A result of exactly -2^63 is stored (the record then reads as invalid). */
Q64_API int64_t _9_expadd(uint64_t* rec, int64_t k);
Q64_API int64_t _9_expsub(uint64_t* rec, int64_t k);
Q64_API uint64_t _9_signst(uint64_t* rec, uint64_t s);  /* sign = s & 1; returns s */
Q64_API uint64_t _9_signeg(uint64_t* rec);              /* inverts; the new sign */
/* sign(rec) ^= sign(other), the sign of a product; the new sign. */
Q64_API uint64_t _9_opsign(uint64_t* rec, const uint64_t* other);

#ifdef __cplusplus
}
#endif
