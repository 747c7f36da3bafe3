/* Decimal text of NumRecs (module _a_). Texts end with a NUL unless stated.
 *
 * Plain form (_a_numtostr): a zero record is "0"; otherwise the sign "+" or
 * "-", the digits of the mantissa M, then 16e zeros for e > 0, or for e < 0 a
 * point with exactly 16|e| digits behind it ("0." and zeros in front when M
 * has no more digits than that; trailing zeros stay).
 * Exponent form (_a_numtoestr): the sign, the first digit of M, ".", the other
 * k - 1 digits, "e", the sign of X and |X|, X = 16e + k - 1 (k the digits of
 * M); a zero mantissa gives the sign and "0.0". A one-digit M gives "+1.e-16".
 * d-digit form (_a_numtoestrn): the exponent form of M truncated to d
 * significant digits (never rounded), padded with zeros to exactly d - 1
 * digits behind the point; d = 0 drops the point as well. A zero record gives
 * the sign, "0.", d - 1 zeros and "e0" for d >= 2, the sign and "0" for d <= 1.
 *
 * The writers of the three forms destroy the record's mantissa (they work on
 * it in place) and keep their state in one static conversion record: they are
 * not reentrant. _a_prtnum and _a_prtenum work on a scratch copy instead.
 * Long mantissas are written by halves (_4_numtostr, peta_digits.h), with
 * work memory from the working stack above what the routine itself takes.
 */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Printing into the scratch area. */
/* The plain form of rec in the scratch area, or null: for a null record, when
 * the scratch area cannot take the copy or the text, or when the text would be
 * longer than 16,384 characters. rec is not changed. The text lies in released
 * scratch space: it stays readable until the next scratch allocation. */
char* _a_prtnum(uint64_t* rec);
/* The same for the d-digit form; a zero record gives "0.0e0". */
char* _a_prtenum(uint64_t* rec, uint64_t d);
/* Characters, the NUL included, that the plain form of rec may need: 16 for a
 * zero record; otherwise, with p the digits of the largest number of as many
 * significant words rounded up to whole peta digits, p + 16e + 2 (e > 0),
 * p + 2 (e = 0), and for e < 0 with f = 16|e|: p + 3 when f < p, else f + 4.
 * All ones when the size does not fit 64 bits. */
uint64_t _a_prdsize(const uint64_t* rec);

/* The three forms, written into the caller's buffer. */
/* Writes the plain form (buffer of _a_prdsize characters) and returns buf.
 * Destroys M. */
char* _a_numtostr(char* buf, uint64_t* rec);
/* Writes the exponent form; returns {buf, text length}, length 0 for a zero
 * mantissa. Destroys M. The buffer needs k + 26 characters. */
Q2Value _a_numtoestr(char* buf, uint64_t* rec);
/* Writes the d-digit form and returns buf. Before writing, M is divided by
 * 10^16 until it fits _a_pbtsize(d) bits and e is raised by the number of
 * divisions (when e cannot be raised the text is still right but the record
 * keeps its old e). The buffer needs max(16 * (ceil(d/16) + 1) + 27, d + 26)
 * characters. */
char* _a_numtoestrn(char* buf, uint64_t d, uint64_t* rec);

/* Pieces of the forms. */
/* Cuts or pads the digits behind the point of the exponent-form text of len
 * characters at buf so that exactly d - 1 remain (d = 0: the point goes too),
 * moving the exponent part; terminates the text and returns buf. */
char* _a_strnumn(char* buf, uint64_t len, uint64_t d);
/* Rewrites the zero text "+0.0" or "-0.0" at buf into the zero text of the
 * d-digit form; returns buf. */
char* _a_strzeron(char* buf, uint64_t d);
/* Divides a[0..n-1] (a[0] not 0) in place by 10^16 at least once and until it
 * fits in b bits (_a_bit2num); returns the number of divisions. Words that
 * become zero at the front are stepped over (they stay in the array). */
uint64_t _a_divpetan(uint64_t* a, uint64_t n, uint64_t b);
/* 1 when a[0..n-1] (a[0] not 0) does not fit in b bits, else 0 (also for
 * n = 0). When b is a multiple of 64 a number of exactly b bits already counts
 * as too long. */
uint64_t _a_bit2num(const uint64_t* a, uint64_t n, uint64_t b);
/* The bit budget of the d-digit form: _3_petabitl(ceil(d/16) + 1). */
uint64_t _a_pbtsize(uint64_t d);
/* Writes the first digit of a[0..L-1], ".", the other digits (no NUL) at out;
 * returns k, the number of digits. An all-zero array gives "0.0" with a NUL
 * and 0. Destroys the array. */
uint64_t _a_bintostr1(uint64_t* a, uint64_t lenv, char* out);
/* Writes "e", the sign and the digits of X = 16e + km1 (computed in 128 bits;
 * no NUL) at out; returns the number of characters. */
uint64_t _a_expntostr(char* out, int64_t e, uint64_t km1);
/* For the signed 128-bit X = (hi, lo): writes "+" at out and returns X when
 * X >= 0, else writes "-" and returns -X. */
Q2Value _a_expsign(char* out, uint64_t lo, uint64_t hi);
/* "-" when the sign bit (bit 63) of the header word is set, else "+". */
uint64_t _a_asign(uint64_t header);
/* The same, read from the record. */
uint64_t _a_gsign(const uint64_t* rec);

#ifdef __cplusplus
}
#endif
