/* NumRecs from machine integers (module _a_). A record area of l words is
 * given with l = 0 meaning the lenl already in the area's header. Results are
 * 0, or -1 when the area is too small (l < 3, or l <= 4 for _a_numpowtor) or
 * l exceeds 268,435,455; the rescaling routines return the result of the
 * rescaling.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The record of v: header cleared (sign 0), M = v in one word (L = 1; L = 0
 * for v = 0), e = 0, lengths L and l. */
int64_t _a_numtor(uint64_t* area, uint64_t l, uint64_t v);
/* _a_numtor, then the sign: a sign byte (low 8 bits) other than "+" and the
 * NUL makes the record negative. */
int64_t _a_numstor(uint64_t* area, uint64_t l, uint64_t v, uint64_t sign);
/* _a_numstor, then rescaled to the library's default scale s (statget: -10
 * while no status was set): s < 0 by _a_adjnumsup(-s), s > 0 by
 * _a_adjnumsdown(s). The value stays (up) or is truncated (down). */
int64_t _a_numstorvt(uint64_t* area, uint64_t l, uint64_t v, uint64_t sign);
/* |v| with the sign of v, then rescaled by t as above (t < 0 up, t > 0 down). */
int64_t _a_numbintor(uint64_t* area, uint64_t l, int64_t v, int64_t t);
/* The integer base^exponent (e = 0; 0 to any power, 0^0 included, is 0): built
 * from the largest power that fits one word (_0_pow64), multiplied by base
 * one factor at a time; -1 when l <= 4 or when M has reached l - 2 words
 * while factors remain. The lengths are set with _9_len2st, so the area's
 * sign and reserved bits stay as they were. */
int64_t _a_numpowtor(uint64_t* area, uint64_t l, uint64_t base, uint64_t exponent);

#ifdef __cplusplus
}
#endif
