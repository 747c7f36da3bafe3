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
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* x = x * y exactly: exponents add, signs combine. 0; -1 (x unchanged) when x
 * has no room for the nx + ny product words or the exponent sum overflows. A
 * zero x stays as it is; a zero y makes x zero (L = 0). y may be x (its words
 * are then read from a scratch copy; -1 when none). */
int64_t _b_mul(uint64_t* x, uint64_t* y);
/* x = x * y brought to exponent e. In place when x's capacity exceeds nx + ny:
 * the product is then moved to e (digits below e dropped; scaled up when e is
 * lower, -1 and x lost when it lacks room); result 0 or -1. Otherwise through
 * _b_mulalc(x, y, e, nx + ny + 3). Zero operands make x zero. */
int64_t _b_mulrnd(uint64_t* x, uint64_t* y, int64_t e);
/* The product in a temporary of s words, brought down to e when e is above its
 * exponent (never up), then shortened to x's capacity and copied back. 0; 1
 * when digits had to be dropped to fit x; -1 when no temporary or s is too
 * small for the product (x unchanged). */
int64_t _b_mulalc(uint64_t* x, uint64_t* y, int64_t e, uint64_t s);
/* x = x * y shortened until it fits x. The number of peta digits dropped (0
 * when exact); -1 (x unchanged) when no temporary or the exponent overflows. */
int64_t _b_mulrndsz(uint64_t* x, uint64_t* y);
/* x = x^2 at x's own exponent (through a copy and _b_mulrnd); as _b_mulrnd, and
 * -1 when no copy. */
int64_t _b_square(uint64_t* x);
/* x = x^2 shortened to fit (through a copy and _b_mulrndsz). 0 whatever was
 * dropped; -1 when no copy or no temporary (x unchanged). */
int64_t _b_squaresz(uint64_t* x);

/* x = x * m for one unsigned word m. A full record whose first word is
 * significant first drops one or two peta digits (_9_divpeta1). 0; -1 when
 * that overflows the exponent (x lost). */
int64_t _b_mulnum(uint64_t* x, uint64_t m);
/* p[z..n] = p[z..n-1] * m for the first non-zero word p[z] (_1_muln: p[n] is
 * written). The product's length from p[z], or 0 for an all-zero array. */
uint64_t _b_muln(uint64_t* p, uint64_t n, uint64_t m);
/* x = x * k for a signed word k. As _b_mulnum. */
int64_t _b_mulsnum(uint64_t* x, int64_t k);
/* x = x * m + k and x = x * m - k: the result of _b_addnum (_b_subnum), or -1
 * when the multiplication failed (x lost). */
int64_t _b_muladd(uint64_t* x, uint64_t m, uint64_t k);
int64_t _b_mulsub(uint64_t* x, uint64_t m, uint64_t k);
/* x = x * (lo * (lo+1) * ... * hi), lo and hi the smaller and larger of a and
 * b, as many factors per _b_mulnum as fit one word. The OR of the _b_mulnum
 * results. */
int64_t _b_mulnum2num(uint64_t* x, uint64_t a, uint64_t b);

/* x = x * 10^(16k): the exponent grows by k. 0; -1 on overflow (unchanged). */
int64_t _b_mul16n(uint64_t* x, uint64_t k);
/* x = x * 10^k. 0; -1 when the exponent overflows or the product does not fit
 * x (or no temporary): x is then unchanged. */
int64_t _b_mul10n(uint64_t* x, uint64_t k);
/* x = x * 2^k exactly. 0; -1 (unchanged) when the product would exceed the
 * capacity 64(l-2) bits. */
int64_t _b_mul2n(uint64_t* x, uint64_t k);
/* x = x * 2^k with no capacity check: the caller makes room for the grown
 * mantissa. 0. */
int64_t _b_mul2nc(uint64_t* x, uint64_t k);
/* x = x * 2^k shortened by dropping peta digits until it fits x. 0; -1 when
 * no temporary (x unchanged) or the exponent overflows (x unchanged). */
int64_t _b_mul2nsz(uint64_t* x, uint64_t k);
/* x = x * 2^k brought to exponent e (digits below e dropped). 0; -1 when no
 * temporary or the result does not fit x (x unchanged). */
int64_t _b_mul2np(uint64_t* x, uint64_t k, int64_t e);
/* The in-place step of _b_mul2np: _b_mul2nc, then _a_adjnums(x, e). Returns x. */
uint64_t* _b_mul2npa(uint64_t* x, uint64_t k, int64_t e);
/* Shifts x left by w whole words: w zero words behind the n significant words
 * that start at p (moved to the front first when fewer than w words are free).
 * The caller makes sure that n + w words fit. */
void _b_mulpetan(uint64_t* x, uint64_t n, uint64_t* p, uint64_t w);

#ifdef __cplusplus
}
#endif
