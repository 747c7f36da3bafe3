/* Module _b_: arithmetic of number records: addition and subtraction,
 * multiplication, division, remainders and inverses. */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Addition and subtraction of NumRecs in place (module _b_).
 *
 * x receives the result; y is only read. _b_add and _b_sub need equal
 * exponents (align first with _a_adjnums): within a record the last mantissa
 * word has the weight 10^(16e), so the magnitudes are added aligned at their
 * last words. The magnitude work happens in a window of x's mantissa that ends
 * at its last word: x's significant words when they are at least as many as
 * y's, else x's whole mantissa, else the mantissa widened in front with zero
 * words up to y's significant length (refused when x's capacity is smaller).
 * y may be x itself.
 *
 * A record is lost (it holds a wrong value) after one failure only: a carry
 * out of a full mantissa, where x keeps the sum without its top carry word.
 * Every other -1 leaves x unchanged.
 */
/* x = x + y (x = x - y). 0; -1 when the exponents differ or x has no room. A
 * zero result keeps x's sign. */
Q64_API int64_t _b_add(uint64_t* x, uint64_t* y);
Q64_API int64_t _b_sub(uint64_t* x, uint64_t* y);
/* |x| = |x| + |y|; signs and exponents untouched. 0, or -1 when x has no room
 * (for the window: x unchanged; for the carry: x lost). */
Q64_API int64_t _b_addnp(uint64_t* x, uint64_t* y);
/* |x| = ||x| - |y||; signs and exponents untouched. 0 when |x| >= |y|, 1 when
 * |x| < |y| (the caller inverts x's sign), -1 when x has no room (unchanged).
 * Leading zero words left by the subtraction stay; L does not shrink. */
Q64_API int64_t _b_subnp(uint64_t* x, uint64_t* y);
/* x = x + k (x = x - k) for an unsigned word k, exact while e <= 0 (through a
 * scratch record of k at x's exponent). With e = 1 only k div 10^16 reaches the
 * last word (the rest is dropped); with e >= 2 nothing does and x stays. k = 0
 * leaves x as it is. 0; -1 when no scratch record could be built, or the -1
 * of _b_add (_b_sub). */
Q64_API int64_t _b_addnum(uint64_t* x, uint64_t k);
Q64_API int64_t _b_subnum(uint64_t* x, uint64_t k);
/* x = x + k for a signed k: _b_addnum(x, k) for k > 0, _b_subnum(x, -k) for
 * k < 0, 0 at once for k = 0. */
Q64_API int64_t _b_addsnum(uint64_t* x, int64_t k);
/* Clear (0), set (1) or invert (the new sign) x's sign. */
Q64_API int64_t _b_toposnum(uint64_t* x);
Q64_API int64_t _b_tonegnum(uint64_t* x);
Q64_API int64_t _b_torevnum(uint64_t* x);

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
/* Quotients of two records. */
/* x = trunc(Mx / My) with exponent ex - ey, sign the exclusive or. 0 (a zero x
 * stays as it is; nx < ny makes x zero); -1 for a zero y, no front word, or an
 * exponent difference that overflows. */
Q64_API int64_t _b_div(uint64_t* x, uint64_t* y);
/* x = x / y truncated at exponent e when e is below ex - ey (x scaled up by
 * ex - ey - e peta digits first, in place when x has room, else through
 * _b_divalc); otherwise _b_div. 0; -1 for a zero y, an overflowing exponent,
 * no temporary or a quotient that does not fit x. */
Q64_API int64_t _b_divrnd(uint64_t* x, uint64_t* y, int64_t e);
/* The temporary path of _b_divrnd: x copied into a temporary of s words,
 * scaled up by d peta digits and divided by y; x takes its mantissa, exponent
 * and sign. 0; -1 when no temporary, the scaling or division fails, or x
 * cannot hold the quotient. */
Q64_API int64_t _b_divalc(uint64_t* x, uint64_t* y, uint64_t s, uint64_t d);
/* x = x / y with as many peta digits as x can hold (truncated). 0; -1 for a
 * zero y, no temporary or an exponent that overflows. */
Q64_API int64_t _b_divrndsz(uint64_t* x, uint64_t* y);
/* x = 1 / x truncated at x's own exponent (through _b_divrnd), or with as
 * many digits as x holds (_b_divrndsz). 0; -1 for a zero x, no copy, or the
 * division's -1 (x then keeps its value). */
Q64_API int64_t _b_inverse(uint64_t* x);
Q64_API int64_t _b_inversez(uint64_t* x);

/* One-word divisors and powers. */
/* x = x / d (remainder dropped, exponent kept; a first word that becomes zero
 * stays as a leading zero word). 0; -1 for d = 0. */
Q64_API int64_t _b_divnum(uint64_t* x, uint64_t d);
/* x = x / k for a signed k: a negative k inverts x's sign first. 0; -1 for k = 0. */
Q64_API int64_t _b_divsnum(uint64_t* x, int64_t k);
/* x = x / 10^(16k): the exponent shrinks by k. 0; -1 on overflow. */
Q64_API int64_t _b_div16n(uint64_t* x, uint64_t k);
/* x = x / 10^k without losing a digit: for k mod 16 = r != 0 the mantissa is
 * multiplied by 10^(16-r) and the exponent lowered one more. 0; -1 when the
 * exponent overflows or the product does not fit x. */
Q64_API int64_t _b_div10n(uint64_t* x, uint64_t k);
/* x = x / 2^k: the last k div 64 words are dropped, then the significant
 * words shift right by k mod 64; bits shifted out are lost; the exponent
 * stays. 0. */
Q64_API int64_t _b_div2n(uint64_t* x, uint64_t k);
/* x = x / 2^k truncated at exponent e. 0; -1 when no temporary, the result
 * does not fit x, or an exponent overflows. */
Q64_API int64_t _b_div2np(uint64_t* x, uint64_t k, int64_t e);
/* x = x / 2^k with as many peta digits as x can hold. 0; -1 when no
 * temporary or the exponent overflows. */
Q64_API int64_t _b_div2nsz(uint64_t* x, uint64_t k);

/* Remainders (equal exponents). */
/* Divides Mx by My in place: the quotient in the first r words, the remainder
 * in the last ny. r (the number of words in front of the remainder); 0 when
 * the quotient is zero (x unchanged); -1 when the exponents differ, y is zero
 * or no front word can be had. */
Q64_API int64_t _b_divrmd(uint64_t* x, uint64_t* y);
/* The steps of _b_divrmd (same contract; x nonzero, ny <= nx): when x's
 * leading ny words are not below My (0), or are below it (1). */
Q64_API int64_t _b_divrmd0(uint64_t* x, uint64_t* y);
Q64_API int64_t _b_divrmd1(uint64_t* x, uint64_t* y);
/* x = x mod y (the remainder keeps x's sign); returns |x| div |y| in one word
 * (encoding above); 0 when it is zero; -1 as _b_divrmd. */
Q64_API int64_t _b_reminder(uint64_t* x, uint64_t* y);
/* x = x mod y; q = |x| div |y|, a non-negative record of exponent 0 whose
 * header is rewritten with x's record length (q needs that many words). 0;
 * -1 as _b_divrmd (q then untouched). */
Q64_API int64_t _b_divreminder(uint64_t* x, uint64_t* q, uint64_t* y);

/* Integer and fractional parts, x = M * 10^(16e). */
/* For e < 0 divides M by 10^(16s), s = -e, with the stored power (its
 * trailing zero words left out): the integer part in the first r words, the
 * fractional part in the last _3_petaqwl(s). r; 0 when the integer part is
 * zero or x is zero (x unchanged); L when e = 0; -1 when e > 0, no front word
 * can be had or the power is unavailable. */
Q64_API int64_t _b_divintpt(uint64_t* x);
/* The steps of _b_divintpt for a nonzero x with e < 0 and an integer part of
 * at least 1 word: (1) finds or inserts the zero word in front of x's
 * significant words (-1 when the mantissa is full), then runs (0) with it;
 * (0) divides the n + front words that end the mantissa (front 1: the zero
 * word in front of the significant words is the first of them). */
Q64_API int64_t _b_divintpt1(uint64_t* x);
Q64_API int64_t _b_divintpt0(uint64_t* x, uint64_t front);
/* x = its fractional part; returns the integer part in one word (encoding
 * above); 0 when it is zero; -1 as _b_divintpt. */
Q64_API int64_t _b_integer(uint64_t* x);
/* x = its fractional part; q = its integer part, a non-negative record of
 * exponent 0 with x's record length (zero when the part is zero). 0; -1 as
 * _b_divintpt (q then untouched). */
Q64_API int64_t _b_divinteger(uint64_t* x, uint64_t* q);

/* Multiplication of NumRecs in place (module _b_).
 *
 * x receives the result; y is only read. Wherever a result has to lose digits
 * (to fit x, or to reach a higher exponent) whole peta digits are dropped:
 * the mantissa is divided by 10^16 and the exponent raised by one, the
 * remainder discarded, so magnitudes are truncated toward zero, never rounded.
 * Products that do not fit x are formed in one temporary record of the
 * working stack, which is given back before the routine returns. The
 * mantissa product itself (_1_mul) takes work memory there for long
 * operands and gives it back, or runs in place when there is none.
 *
 * "Lost" below means that x holds a wrong value after the failure; every
 * other -1 leaves x unchanged.
 */
/* x = x * y exactly: exponents add, signs combine. 0; -1 (x unchanged) when x
 * has no room for the nx + ny product words or the exponent sum overflows. A
 * zero x stays as it is; a zero y makes x zero (L = 0). y may be x (its words
 * are then read from a scratch copy; -1 when none). */
Q64_API int64_t _b_mul(uint64_t* x, uint64_t* y);
/* x = x * y brought to exponent e. In place when x's capacity exceeds nx + ny:
 * the product is then moved to e (digits below e dropped; scaled up when e is
 * lower, -1 and x lost when it lacks room); result 0 or -1. Otherwise through
 * _b_mulalc(x, y, e, nx + ny + 3). Zero operands make x zero. */
Q64_API int64_t _b_mulrnd(uint64_t* x, uint64_t* y, int64_t e);
/* The product in a temporary of s words, brought down to e when e is above its
 * exponent (never up), then shortened to x's capacity and copied back. 0; 1
 * when digits had to be dropped to fit x; -1 when no temporary or s is too
 * small for the product (x unchanged). */
Q64_API int64_t _b_mulalc(uint64_t* x, uint64_t* y, int64_t e, uint64_t s);
/* x = x * y shortened until it fits x. The number of peta digits dropped (0
 * when exact); -1 (x unchanged) when no temporary or the exponent overflows. */
Q64_API int64_t _b_mulrndsz(uint64_t* x, uint64_t* y);
/* x = x^2 at x's own exponent (through a copy and _b_mulrnd); as _b_mulrnd, and
 * -1 when no copy. */
Q64_API int64_t _b_square(uint64_t* x);
/* x = x^2 shortened to fit (through a copy and _b_mulrndsz). 0 whatever was
 * dropped; -1 when no copy or no temporary (x unchanged). */
Q64_API int64_t _b_squaresz(uint64_t* x);

/* x = x * m for one unsigned word m. A full record whose first word is
 * significant first drops one or two peta digits (_9_divpeta1). 0; -1 when
 * that overflows the exponent (x lost). */
Q64_API int64_t _b_mulnum(uint64_t* x, uint64_t m);
/* p[z..n] = p[z..n-1] * m for the first non-zero word p[z] (_1_muln: p[n] is
 * written). The product's length from p[z], or 0 for an all-zero array. */
Q64_API uint64_t _b_muln(uint64_t* p, uint64_t n, uint64_t m);
/* x = x * k for a signed word k. As _b_mulnum. */
Q64_API int64_t _b_mulsnum(uint64_t* x, int64_t k);
/* x = x * m + k and x = x * m - k: the result of _b_addnum (_b_subnum), or -1
 * when the multiplication failed (x lost). */
Q64_API int64_t _b_muladd(uint64_t* x, uint64_t m, uint64_t k);
Q64_API int64_t _b_mulsub(uint64_t* x, uint64_t m, uint64_t k);
/* x = x * (lo * (lo+1) * ... * hi), lo and hi the smaller and larger of a and
 * b, as many factors per _b_mulnum as fit one word. The OR of the _b_mulnum
 * results. */
Q64_API int64_t _b_mulnum2num(uint64_t* x, uint64_t a, uint64_t b);

/* x = x * 10^(16k): the exponent grows by k. 0; -1 on overflow (unchanged). */
Q64_API int64_t _b_mul16n(uint64_t* x, uint64_t k);
/* x = x * 10^k. 0; -1 when the exponent overflows or the product does not fit
 * x (or no temporary): x is then unchanged. */
Q64_API int64_t _b_mul10n(uint64_t* x, uint64_t k);
/* x = x * 2^k exactly. 0; -1 (unchanged) when the product would exceed the
 * capacity 64(l-2) bits. */
Q64_API int64_t _b_mul2n(uint64_t* x, uint64_t k);
/* x = x * 2^k with no capacity check: the caller makes room for the grown
 * mantissa. 0. */
Q64_API int64_t _b_mul2nc(uint64_t* x, uint64_t k);
/* x = x * 2^k shortened by dropping peta digits until it fits x. 0; -1 when
 * no temporary (x unchanged) or the exponent overflows (x unchanged). */
Q64_API int64_t _b_mul2nsz(uint64_t* x, uint64_t k);
/* x = x * 2^k brought to exponent e (digits below e dropped). 0; -1 when no
 * temporary or the result does not fit x (x unchanged). */
Q64_API int64_t _b_mul2np(uint64_t* x, uint64_t k, int64_t e);
/* The in-place step of _b_mul2np: _b_mul2nc, then _a_adjnums(x, e). Returns x. */
Q64_API uint64_t* _b_mul2npa(uint64_t* x, uint64_t k, int64_t e);
/* Shifts x left by w whole words: w zero words behind the n significant words
 * that start at p (moved to the front first when fewer than w words are free).
 * The caller makes sure that n + w words fit. */
Q64_API void _b_mulpetan(uint64_t* x, uint64_t n, uint64_t* p, uint64_t w);

#ifdef __cplusplus
}
#endif
