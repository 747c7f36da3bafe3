// Word-array arithmetic (module _1_): addition, subtraction, negation,
// multiplication and long division in place on arrays of unsigned 64-bit
// words, MOST significant word first (the opposite of Q2Value).
//
// Lengths are word counts of at least 1. Carry results are 1 or 0, borrow
// results -1 or 0; what leaves word 0 is reported, never stored. The routines
// own no memory, keep no state between calls and check only what is stated.
// Unless a contract says otherwise, a source array must not overlap the array
// that is written.
//
// Methods and work memory (thresholds in numlib/tuning.h). _1_mul multiplies
// in place by the schoolbook while the shorter operand has fewer than
// kMulKaratsuba words (and R not many more than A); otherwise it copies R
// into the working stack and uses Karatsuba or Toom-3; a square (A equal to
// R word for word) needs no copy. When the working stack cannot take a
// method's work memory, the product is formed from pieces as large as fit;
// when it cannot take even the copy, in place by the schoolbook. _1_divmn
// (and _1_div, _1_div1 through it) divides by divisors of kDivDC words or
// more by divide and conquer, with its work memory from the working stack,
// and by the long division when that has no room. Every path gives the same
// words and leaves the working stack as it was. With the default area empty
// (bench/stack_limits), one method takes the whole product of two n-word
// numbers up to n = 7,596 (squares: 9,964), and divide and conquer every
// division by up to 8,985 divisor words, whatever the dividend; larger
// products go by pieces, larger divisions by the long division.
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

// r[0..nr-1] holds R on entry; on return r[0..nr+na-1] = R * A. r has room for
// nr + na words and does not overlap a. Returns nr + na.
Q64_API uint64_t _1_mul(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na);
// r[0..n] += A * m (A: n words); a carry beyond r[0] is dropped. Returns n + 1.
Q64_API uint64_t _1_mul1n(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
// a[0..n] = A * m in place (a[n] is written). Returns n + 1.
Q64_API uint64_t _1_muln(uint64_t* a, uint64_t n, uint64_t m);
// _1_muln by 10^k, 0 <= k <= 19 (a[n] is written). Returns n + 1.
Q64_API uint64_t _1_mul10n(uint64_t* a, uint64_t n, uint64_t k);

// A div B in place: quotient in a[0..na-nb'-1], remainder in the last nb'
// words (nb' = the divisor's significant length). Leading zero words of A may
// take quotient words. Returns -1 (zero divisor), -9 (no room: A has no zero
// word in front and either na = nb' or a[0..nb'-1] >= B), 0 (quotient zero:
// fewer significant words than B, or as many and below B) or na - nb'. On
// -1, -9 and 0, A is untouched.
Q64_API int64_t _1_div(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
// As _1_div for b[0] != 0, with A used whole: 0 when na < nb, -9 when na = nb
// or a[0..nb-1] >= B (A untouched in both), else _1_divmn's na - nb.
Q64_API int64_t _1_div1(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
// The division loop: na > nb, b[0] != 0, a[0..nb-1] < B. Quotient to
// a[0..na-nb-1], remainder to a[na-nb..na-1]. Returns na - nb.
Q64_API int64_t _1_divmn(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
// One quotient word of the window w[0..nb] by B: quotient to w[0], remainder
// to w[1..nb]. b[0] != 0, w[0..nb-1] < B, s = top set bit index of b[0].
Q64_API uint64_t _1_div12(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t s);
// Trial quotient for _1_div12 (nb >= 2; reads w[0..2] and b[0..1]), never
// above the true quotient word. s = 63: w[0] when b[0] = 2^64-1, else
// (w[0], w[1]) div (b[0] + 1). s < 63: with B' = (b[0], b[1]) >> (s + 1) and
// W' = (w[0], w[1], w[2]) >> (s + 1), 0 when B' = 2^64-1, else W' div (B' + 1).
Q64_API uint64_t _1_divtr(const uint64_t* w, const uint64_t* b, uint64_t s);
// A = A div d in place (d != 0); returns A mod d. A first word below d
// becomes 0 (n >= 2).
Q64_API uint64_t _1_div1n(uint64_t* a, uint64_t n, uint64_t d);
// Largest k in 0..63 with B * 2^k <= W (W: nb + 1 words, b[0] != 0, s the
// top set bit index of b[0]); -1 when W < B or W >= B * 2^64.
Q64_API int64_t _1_n1mxn2n(const uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t s);

// W -= B * q (W: nb + 1 words). Returns -1 on a borrow, else 0.
Q64_API int64_t _1_sub12n(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t q);
// W -= B * 2^k, 0 <= k <= 63 (W: nb + 1 words). Returns -1 on a borrow, else 0.
Q64_API int64_t _1_sub122n(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t k);
// w[0..n-1] -= (B * 2^k) mod 2^(64n), B also n words. Returns the bits of
// B * 2^k above the n words when they are not zero, else -1 or 0 (borrow).
Q64_API int64_t _1_sub122(uint64_t* w, const uint64_t* b, uint64_t n, uint64_t k);
// A -= B aligned at the least significant words, nb <= na. -1 (A was below
// B; A holds A - B + 2^(64na)) or 0. B may be A's own last nb words.
Q64_API int64_t _1_sub(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
// Subtracts x at 1-based position k (word k-1), borrowing toward a[0]. -1 or 0.
Q64_API int64_t _1_subn(uint64_t* a, uint64_t k, uint64_t x);
// A += B aligned at the least significant words, nb <= na. 1 or 0. B may be
// A's own last nb words (b = a + na - nb), which doubles them.
Q64_API int64_t _1_add(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
// Adds x at 1-based position k (word k-1), carrying toward a[0]. 1 or 0.
Q64_API int64_t _1_addn(uint64_t* a, uint64_t k, uint64_t x);
// A = (2^(64n) - A) mod 2^(64n). Returns 1 if A was zero, else 0.
Q64_API int64_t _1_neg(uint64_t* a, uint64_t n);

#ifdef __cplusplus
}
#endif
