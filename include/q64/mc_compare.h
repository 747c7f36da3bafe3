/* Comparison of NumRecs (module _c_).
 *
 * Results are -1 (first below second), 0 (equal) or 1; -9 when the working
 * stack has no room for a block that a routine needs (passed on unchanged by
 * every routine that calls one). No operand is ever changed, and every block
 * taken is given back before a routine returns.
 *
 * Records of different exponents are first compared roughly by bit lengths
 * (bitlen(M * 10^(16d)) is bitlen(M) + _3_petabitl(d) or one less), which
 * needs no memory; only pairs within two bits of each other are compared
 * exactly, through an aligned copy on the working stack.
 */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 0 when the exponent is -2^63 (the invalid marker), else 1. */
Q64_API int64_t _c_valid(const uint64_t* x);
/* 0 for a zero mantissa (whatever the sign), -1 negative, 1 positive. */
Q64_API int64_t _c_zero(const uint64_t* x);
/* Mx against My as unsigned integers (signs, exponents and leading zero
 * words ignored). */
Q64_API int64_t _c_cmpnum(uint64_t* a, uint64_t* b);
/* The signed mantissas, exponents ignored (for records of equal exponent). */
Q64_API int64_t _c_cmprnum(uint64_t* a, uint64_t* b);
/* Rough comparison of Ma with Mb * 10^(16d): {decision, flag}; flag 1 (and
 * decision 0) when the bit lengths are within two bits of each other, or
 * both mantissas are zero. */
Q64_API Q2Value _c_cmpmrgh(uint64_t* a, uint64_t* b, uint64_t d);
/* Rough comparison of |a| with |b|, exponents included: {decision, flag};
 * equal exponents are compared exactly (flag 0). */
Q64_API Q2Value _c_cmprgh(uint64_t* a, uint64_t* b);
/* Mx against My * 10^(16d) exactly, through a scaled copy of y; -9 when no
 * room. */
Q64_API int64_t _c_cmpabsalc(uint64_t* x, uint64_t* y, uint64_t d);
/* |a| against |b|, exponents included; -9 when no room. */
Q64_API int64_t _c_cmpabs(uint64_t* a, uint64_t* b);
/* |x| against 10^(16e); a zero x is below. -9 when a power beyond
 * (10^16)^32 is needed and there is no room to build it. */
Q64_API int64_t _c_cmpexp(uint64_t* x, int64_t e);
/* |x| against 1. */
Q64_API int64_t _c_cmpexp0(uint64_t* x);
/* The n-word array at p (p[0] != 0) against 10^(16k), k <= 32, from the
 * constant table (a larger k takes the power from the cache; -9 when it
 * cannot be had). */
Q64_API int64_t _c_cmpetan(const uint64_t* p, uint64_t n, uint64_t k);
/* The same against the reduced power (10^16)^k at power (as _3_mkpeta
 * writes it), for any k. */
Q64_API int64_t _c_cmpetabign(const uint64_t* p, uint64_t n, uint64_t k, const uint64_t* power);
/* The sign of |b - a| - 10^(16t), the same whichever operand comes first; -9
 * when no room. */
Q64_API int64_t _c_cmpdexp(uint64_t* a, uint64_t* b, int64_t t);
/* The same, computed through a copy of the operand of the larger exponent
 * (b when ea <= eb) brought to the smaller one. */
Q64_API int64_t _c_cmpdexp1(uint64_t* a, uint64_t* b, int64_t t);

#ifdef __cplusplus
}
#endif
