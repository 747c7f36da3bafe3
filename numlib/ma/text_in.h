/* Reading NumRecs from decimal text (module _a_).
 *
 * Input form: an optional sign ("+" or "-"), digits, optionally "." and more
 * digits, optionally "e" or "E", an optional sign and the digits of a decimal
 * exponent. The mantissa part ends at the first "e" or "E" and needs at least
 * one character besides its sign ("5", ".5", "5." and "." are accepted; "e5",
 * "-" and "1.2.3" are not); "1e" and "1e+" leave the value as it is. The
 * result is exact: the integer and fraction digits go into M sixteen at a
 * time, each fraction group lowering e by one, and the decimal exponent X
 * becomes X div 16 peta digits of e and a factor 10^(X mod 16) of M.
 * Long digit runs are read by halves (_4_strntonumr, peta_digits.h), with
 * work memory from the working stack.
 * Results are 0, or -1 for a text that is not in the input form, an area too
 * small, or an exponent beyond the signed 64-bit exponent field (the value
 * -2^63, which marks an invalid number, included); after -1 the area may be
 * partly written.
 */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Reads the NUL-ended text into the record area of l words (l = 0: the lenl
 * of the area); -1 when the text may need more than l - 2 mantissa words
 * (_4_ndsize), else _a_strtor. */
int64_t _a_struztor(uint64_t* area, uint64_t l, const char* text);
/* Makes the area of l words (2 to 268,435,455) the record of the len bytes of
 * text: header l << 28, e = 0, then the value. The area must have room for
 * _4_ndsize(text, len) mantissa words; _a_struztor checks that. */
int64_t _a_strtor(uint64_t* area, uint64_t l, const char* text, uint64_t len);

/* Pieces of the reading. */
/* The mantissa part (len bytes, up to the "e"): an optional sign, which sets
 * the record's sign bit, then _a_strdig. */
int64_t _a_strdigtor(uint64_t* rec, const char* text, uint64_t len);
/* Integer digits, an optional "." and fraction digits (len bytes, no sign)
 * into M (from L = 0) and e; sets L. */
int64_t _a_strdig(uint64_t* rec, const char* text, uint64_t len);
/* The exponent part (len bytes from the "e"; empty or the letter alone leave
 * the record complete): an optional sign and digits, then _a_mul10n or
 * _a_div10n. An exponent of more than 21 significant digits is 2^68 or more:
 * refused. */
int64_t _a_strdigtoexp(uint64_t* rec, const char* text, uint64_t len);
/* Multiplies the value by 10^X, X = (hi, lo): e += X div 16, and for
 * r = X mod 16 not 0, M *= 10^r, which makes M one word longer (its first word
 * possibly zero). -1, nothing changed, when X >= 2^68, when X div 16 is 2^63 or
 * more, when e would overflow, or when M needs that word and has no free one. */
int64_t _a_mul10n(uint64_t* rec, uint64_t lo, uint64_t hi);
/* Multiplies the value by 10^-X: e -= ceil(X/16), and for r = X mod 16 not 0,
 * M *= 10^(16 - r) (one word longer). X = 0 changes nothing. -1, nothing
 * changed, when X >= 2^68, when e would leave the range -2^63 + 1 .. 2^63 - 1,
 * or when M needs a word and has no free one. */
int64_t _a_div10n(uint64_t* rec, uint64_t lo, uint64_t hi);
/* The sign of the text: {1, 1} for a leading "-", {0, 1} for "+", else {0, 0}
 * (sign bit; characters taken). */
Q2Value _a_sign(const char* text, uint64_t len);

#ifdef __cplusplus
}
#endif
