/* Exponent alignment of NumRecs (module _a_): the mantissa is multiplied or
 * divided by powers of 10^16 while the exponent moves the other way, so the
 * value stays the same, except that dividing down truncates toward zero (the
 * remainders are dropped, never rounded).
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* M *= (10^16)^k, e -= k. 0, or -1 when the exponent would overflow (nothing
 * changed) or the mantissa runs out of room; after the latter the record is
 * lost (its mantissa partly multiplied while L and the exponent were not
 * updated). Removes the leading zero words first; a zero record stays as it
 * is, exponent included. */
int64_t _a_adjnumsup(uint64_t* rec, uint64_t k);
/* M = M div 10^16, k times (truncation), e += k. 0, or -1 (nothing changed)
 * when the exponent would overflow. L is kept: the mantissa may be left with
 * leading zero words; a mantissa that reaches zero gets L = 0 and the exponent
 * still grows by k. A zero record stays as it is, exponent included. */
int64_t _a_adjnumsdown(uint64_t* rec, uint64_t k);
/* Moves the record to the exponent e with one of the two above; 0 when e is
 * already its exponent. */
int64_t _a_adjnums(uint64_t* rec, int64_t e);
/* Drops peta digits until the significant length is at most s words, as few
 * as that takes; returns how many it dropped, or -1 when the exponent would
 * overflow (the digits dropped before stay dropped: the record is lost). */
int64_t _a_adjnumszdown(uint64_t* rec, uint64_t s);
/* Multiplies the L-word mantissa by 10^16, k times, in place; it may grow to
 * capacity words. Returns the new L (the leading zero word of each step
 * dropped), or -1 when a step finds L at the capacity (the mantissa is then
 * partly multiplied). L = 0 stays 0. */
int64_t _a_mulpetac(uint64_t* mantissa, uint64_t lenv, uint64_t k, uint64_t capacity);

#ifdef __cplusplus
}
#endif
