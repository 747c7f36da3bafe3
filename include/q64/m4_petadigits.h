/* Decimal digits of word arrays in groups of sixteen (module _4_): a peta
 * digit is a digit in base 10^16, sixteen decimal digits, so a word array is
 * turned into text by repeated division by 10^16 and text into a word array by
 * repeated multiplication by 10^16. Word arrays hold unsigned 64-bit words,
 * most significant first; texts are ASCII digits without a NUL unless stated.
 * _4_numtostr and _4_numtozstr keep their state in a static record: they are
 * not reentrant.
 *
 * Long numbers go by halves (numlib/m4_petadigits/digits_dc.h): split at the powers
 * 10^(16 * 2^k), each part converted the same way, the power ladder and the
 * parts in the working stack; writing from tuning::kToTextDC words of the
 * number, reading from runs of digits that make tuning::kFromTextDC words.
 * Texts, lengths and the words left in the array after reading are those of
 * the sixteen-digit steps (an array that was written out is left with other
 * words). With the default area empty (bench/stack_limits: peak use 31,116
 * words writing 220,000 digits, 26,863 reading 120,000), writing runs by
 * halves throughout to at least 220,000 digits and reading to about 120,000;
 * beyond, reading forms its products by pieces (from about 130,000 digits)
 * and reads a split that finds no room by the steps (from about 180,000).
 * When the power ladder itself does not fit, the steps do everything.
 */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writing. */
/* Writes the decimal digits of a[0..n-1] at out (no leading zeros when a[0] is
 * not 0; n = 0 writes "0") and returns their number. Destroys the array (it is
 * divided down). The digits are written in place, so out needs room for
 * them only: at most 20 * n bytes. */
Q64_API uint64_t _4_numtostr(char* out, uint64_t* a, uint64_t n);
/* Writes a[0..n-1] as whole groups of sixteen digits, leading zeros included,
 * at least one group; returns 16 times the number of groups. Destroys the
 * array. */
Q64_API uint64_t _4_numtozstr(char* out, uint64_t* a, uint64_t n);
/* -1, 0 or 1 as a[0..n-1] is below, equal to or above 10^16; an array of two
 * or more words counts as above, an empty one as below. */
Q64_API int64_t _4_cmpeta(const uint64_t* a, uint64_t n);
/* The leading zero words of the record's mantissa (over its L words) and, as
 * second result, L minus that number: {L, 0} for a zero mantissa, {0, 0} for
 * L = 0. */
Q64_API Q2Value _4_pzsize(const uint64_t* rec);

/* Reading. */
/* a[0..L-1] = A * 10^16 + v (A = 0 when L = 0); returns the new L (0 when A
 * and v are 0). The first word stays non-zero; a[L] is written on the way, so
 * the array needs room for L + 1 words. */
Q64_API uint64_t _4_mpetadd(uint64_t* a, uint64_t lenv, uint64_t v);
/* Appends count digits as an integer: the first (count mod 16) digits form one
 * peta digit, each following group of sixteen another (_4_mpetadd each);
 * returns the new L. The digits are not checked. */
Q64_API uint64_t _4_strntonumr(uint64_t* a, uint64_t lenv, const char* digits, uint64_t count);
/* Appends count fraction digits: whole groups of sixteen from the left, then
 * the last count mod 16 digits as one peta digit padded with zeros on the
 * right; returns the new L. The digits are not checked. */
Q64_API uint64_t _4_strlntonumr(uint64_t* a, uint64_t lenv, const char* digits, uint64_t count);
/* Mantissa words to reserve for reading the text of len bytes: with m the
 * length of its mantissa part (up to the first "e" or "E") less one for a
 * leading sign, _3_petaqwl(max(m - 2, 0) div 16 + 2) + 1. The one word beyond
 * the mantissa is the room that scaling by a decimal exponent needs. */
Q64_API uint64_t _4_ndsize(const char* text, uint64_t len);

#ifdef __cplusplus
}
#endif
