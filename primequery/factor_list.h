/* FactorList: the result record of the prime factorisation, 256 words.
 *
 * Word 0, the header: bits 0-30 the number s of factor entries, bits 32-47
 * the number of 128-bit cofactors (0 or 1), bits 56-63 all ones once the list
 * is started (an empty list reads 0xFF00000000000000). Words 1 .. s: the prime
 * factors below 2^64 in ascending order, each repeated as often as it divides
 * the number. Words s + 1 and s + 2: the cofactor, a prime of 2^64 or more, as
 * a Q2Value (low word, high word) when the cofactor count is 1. A 128-bit
 * number has at most 127 prime factors, so the words never run out.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FactorList {
    uint64_t header;
    uint64_t word[255]; /* word[i] is word i + 1 of the record */
} FactorList;

#define FACTOR_LIST_WORDS 256
#define FACTOR_LIST_STARTED UINT64_C(0xFF00000000000000)
#define FACTOR_LIST_COUNT_MASK UINT64_C(0x7FFFFFFF)
#define FACTOR_LIST_COFACTOR_SHIFT 32
#define FACTOR_LIST_COFACTOR_MASK UINT64_C(0xFFFF)

/* s, the number of factor entries. */
static inline uint64_t factorCount(const FactorList* list) {
    return list->header & FACTOR_LIST_COUNT_MASK;
}
/* The number of 128-bit cofactors, 0 or 1. */
static inline uint64_t cofactorCount(const FactorList* list) {
    return (list->header >> FACTOR_LIST_COFACTOR_SHIFT) & FACTOR_LIST_COFACTOR_MASK;
}

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(FactorList) == FACTOR_LIST_WORDS * sizeof(uint64_t));
#endif
