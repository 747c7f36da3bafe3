/* Word moves of module _0_: copies, and moves that open or close room at the
 * front or end of a word array (most significant word first). n is a word
 * count; where a routine moves words inside one array, the order of the moves
 * makes the overlap safe.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Copies n words, the last word first (safe when dst overlaps src at a higher
 * address). Returns n. */
uint64_t _0_cpymem(uint64_t* dst, const uint64_t* src, uint64_t n);
/* Copies the m words of src from its first non-zero word on to dst with
 * _0_cpymem and returns m; 0 (nothing copied) when all n words are zero; -1
 * when n is 0. */
int64_t _0_cpynzmem(uint64_t* dst, const uint64_t* src, uint64_t n);
/* Moves a[0..n-1] k places toward the start, to a[-k..n-1-k], first word
 * first. Returns k. */
uint64_t _0_sftlmem(uint64_t* a, uint64_t n, uint64_t k);
/* Moves the words from the first non-zero one to the start; returns their
 * number, 0 when all are zero (nothing moved). */
uint64_t _0_cprslmem(uint64_t* a, uint64_t n);
/* n less the trailing zero words (0 when all are zero). Moves nothing. */
uint64_t _0_cprsrmem(const uint64_t* a, uint64_t n);
/* Drops the trailing zero words, then the leading ones (moving the rest to
 * the start); returns the remaining length, 0 for an all-zero array. */
uint64_t _0_cprsmmem(uint64_t* a, uint64_t n);
/* Moves a[1..n-1] to a[0..n-2] (a[n-1] keeps its value); returns n - 1
 * (-1 for n = 0, nothing moved). */
int64_t _0_prs1mem(uint64_t* a, uint64_t n);
/* Moves the n words one place toward the end and sets a[0] = 0; returns n + 1.
 * The caller keeps room for a[n]. */
uint64_t _0_expd1mem(uint64_t* a, uint64_t n);
/* Moves the n words k places toward the end (last word first) and sets
 * a[0..k-1] = 0; returns n + k. The caller keeps room for n + k words. */
uint64_t _0_expdnmem(uint64_t* a, uint64_t n, uint64_t k);
/* Exchanges *x and *y. */
void _0_xchg(uint64_t* x, uint64_t* y);

#ifdef __cplusplus
}
#endif
