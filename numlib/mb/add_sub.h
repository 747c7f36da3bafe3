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
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* x = x + y (x = x - y). 0; -1 when the exponents differ or x has no room. A
 * zero result keeps x's sign. */
int64_t _b_add(uint64_t* x, uint64_t* y);
int64_t _b_sub(uint64_t* x, uint64_t* y);
/* |x| = |x| + |y|; signs and exponents untouched. 0, or -1 when x has no room
 * (for the window: x unchanged; for the carry: x lost). */
int64_t _b_addnp(uint64_t* x, uint64_t* y);
/* |x| = ||x| - |y||; signs and exponents untouched. 0 when |x| >= |y|, 1 when
 * |x| < |y| (the caller inverts x's sign), -1 when x has no room (unchanged).
 * Leading zero words left by the subtraction stay; L does not shrink. */
int64_t _b_subnp(uint64_t* x, uint64_t* y);
/* x = x + k (x = x - k) for an unsigned word k, exact while e <= 0 (through a
 * scratch record of k at x's exponent). With e = 1 only k div 10^16 reaches the
 * last word (the rest is dropped); with e >= 2 nothing does and x stays. k = 0
 * leaves x as it is. 0; -1 when no scratch record could be built, or the -1
 * of _b_add (_b_sub). */
int64_t _b_addnum(uint64_t* x, uint64_t k);
int64_t _b_subnum(uint64_t* x, uint64_t k);
/* x = x + k for a signed k: _b_addnum(x, k) for k > 0, _b_subnum(x, -k) for
 * k < 0, 0 at once for k = 0. */
int64_t _b_addsnum(uint64_t* x, int64_t k);
/* Clear (0), set (1) or invert (the new sign) x's sign. */
int64_t _b_toposnum(uint64_t* x);
int64_t _b_tonegnum(uint64_t* x);
int64_t _b_torevnum(uint64_t* x);

#ifdef __cplusplus
}
#endif
