/* Division of NumRecs in place (module _b_).
 *
 * x receives the quotient (or the remainder, or the fractional part); y, the
 * divisor, is only read and may be x itself; q receives an integer quotient or
 * integer part and must be neither x nor y. Mantissa division is integer long
 * division: every digit a result cannot hold is dropped, so quotients are
 * truncated toward zero, never rounded. A division that needs a zero word in
 * front of x's significant words takes the leading zero word in front of them
 * when there is one, else inserts one at the front of the mantissa, which
 * needs one free word. Temporaries come from the working stack and are given
 * back before a routine returns; so is the work memory of the mantissa
 * division (_1_divmn) for long divisors, which runs by the long division
 * when there is none.
 *
 * In-place layouts. _b_divrmd leaves the integer quotient in the first r
 * mantissa words (with leading zero words) and the remainder in the last ny
 * words; _b_divintpt leaves the integer part in the first r words and the
 * fractional part M mod 10^(16s) in the last _3_petaqwl(s) words. L does not
 * change in either (but for the one inserted front word).
 *
 * One-word integers (_b_reminder, _b_integer): Q itself when Q < 2^63, else
 * bit 63 set, bit 62 clear and bits 0-61 the low 62 bits of Q (negative, never
 * -1, which stays the failure).
 *
 * Every -1 leaves x unchanged unless its line says that x is lost.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Quotients of two records. */
/* x = trunc(Mx / My) with exponent ex - ey, sign the exclusive or. 0 (a zero x
 * stays as it is; nx < ny makes x zero); -1 for a zero y, no front word, or an
 * exponent difference that overflows. */
int64_t _b_div(uint64_t* x, uint64_t* y);
/* x = x / y truncated at exponent e when e is below ex - ey (x scaled up by
 * ex - ey - e peta digits first, in place when x has room, else through
 * _b_divalc); otherwise _b_div. 0; -1 for a zero y, an overflowing exponent,
 * no temporary or a quotient that does not fit x. */
int64_t _b_divrnd(uint64_t* x, uint64_t* y, int64_t e);
/* The temporary path of _b_divrnd: x copied into a temporary of s words,
 * scaled up by d peta digits and divided by y; x takes its mantissa, exponent
 * and sign. 0; -1 when no temporary, the scaling or division fails, or x
 * cannot hold the quotient. */
int64_t _b_divalc(uint64_t* x, uint64_t* y, uint64_t s, uint64_t d);
/* x = x / y with as many peta digits as x can hold (truncated). 0; -1 for a
 * zero y, no temporary or an exponent that overflows. */
int64_t _b_divrndsz(uint64_t* x, uint64_t* y);
/* x = 1 / x truncated at x's own exponent (through _b_divrnd), or with as
 * many digits as x holds (_b_divrndsz). 0; -1 for a zero x, no copy, or the
 * division's -1 (x then keeps its value). */
int64_t _b_inverse(uint64_t* x);
int64_t _b_inversez(uint64_t* x);

/* One-word divisors and powers. */
/* x = x / d (remainder dropped, exponent kept; a first word that becomes zero
 * stays as a leading zero word). 0; -1 for d = 0. */
int64_t _b_divnum(uint64_t* x, uint64_t d);
/* x = x / k for a signed k: a negative k inverts x's sign first. 0; -1 for k = 0. */
int64_t _b_divsnum(uint64_t* x, int64_t k);
/* x = x / 10^(16k): the exponent shrinks by k. 0; -1 on overflow. */
int64_t _b_div16n(uint64_t* x, uint64_t k);
/* x = x / 10^k without losing a digit: for k mod 16 = r != 0 the mantissa is
 * multiplied by 10^(16-r) and the exponent lowered one more. 0; -1 when the
 * exponent overflows or the product does not fit x. */
int64_t _b_div10n(uint64_t* x, uint64_t k);
/* x = x / 2^k: the last k div 64 words are dropped, then the significant
 * words shift right by k mod 64; bits shifted out are lost; the exponent
 * stays. 0. */
int64_t _b_div2n(uint64_t* x, uint64_t k);
/* x = x / 2^k truncated at exponent e. 0; -1 when no temporary, the result
 * does not fit x, or an exponent overflows. */
int64_t _b_div2np(uint64_t* x, uint64_t k, int64_t e);
/* x = x / 2^k with as many peta digits as x can hold. 0; -1 when no
 * temporary or the exponent overflows. */
int64_t _b_div2nsz(uint64_t* x, uint64_t k);

/* Remainders (equal exponents). */
/* Divides Mx by My in place: the quotient in the first r words, the remainder
 * in the last ny. r (the number of words in front of the remainder); 0 when
 * the quotient is zero (x unchanged); -1 when the exponents differ, y is zero
 * or no front word can be had. */
int64_t _b_divrmd(uint64_t* x, uint64_t* y);
/* The steps of _b_divrmd (same contract; x nonzero, ny <= nx): when x's
 * leading ny words are not below My (0), or are below it (1). */
int64_t _b_divrmd0(uint64_t* x, uint64_t* y);
int64_t _b_divrmd1(uint64_t* x, uint64_t* y);
/* x = x mod y (the remainder keeps x's sign); returns |x| div |y| in one word
 * (encoding above); 0 when it is zero; -1 as _b_divrmd. */
int64_t _b_reminder(uint64_t* x, uint64_t* y);
/* x = x mod y; q = |x| div |y|, a non-negative record of exponent 0 whose
 * header is rewritten with x's record length (q needs that many words). 0;
 * -1 as _b_divrmd (q then untouched). */
int64_t _b_divreminder(uint64_t* x, uint64_t* q, uint64_t* y);

/* Integer and fractional parts, x = M * 10^(16e). */
/* For e < 0 divides M by 10^(16s), s = -e, with the stored power (its
 * trailing zero words left out): the integer part in the first r words, the
 * fractional part in the last _3_petaqwl(s). r; 0 when the integer part is
 * zero or x is zero (x unchanged); L when e = 0; -1 when e > 0, no front word
 * can be had or the power is unavailable. */
int64_t _b_divintpt(uint64_t* x);
/* The steps of _b_divintpt for a nonzero x with e < 0 and an integer part of
 * at least 1 word: (1) finds or inserts the zero word in front of x's
 * significant words (-1 when the mantissa is full), then runs (0) with it;
 * (0) divides the n + front words that end the mantissa (front 1: the zero
 * word in front of the significant words is the first of them). */
int64_t _b_divintpt1(uint64_t* x);
int64_t _b_divintpt0(uint64_t* x, uint64_t front);
/* x = its fractional part; returns the integer part in one word (encoding
 * above); 0 when it is zero; -1 as _b_divintpt. */
int64_t _b_integer(uint64_t* x);
/* x = its fractional part; q = its integer part, a non-negative record of
 * exponent 0 with x's record length (zero when the part is zero). 0; -1 as
 * _b_divintpt (q then untouched). */
int64_t _b_divinteger(uint64_t* x, uint64_t* q);

#ifdef __cplusplus
}
#endif
