/* Prime factorisation with the table's primes. */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"
#include "primequery/factor_list.h"
#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Factorises n into `list` (started afresh) and returns s plus the cofactor
 * count (1: n is prime). Returns -1 for n < 2 (list untouched) and when n
 * cannot be factorised with the table: when the part of n left after all its
 * prime factors below P (the table's largest prime) exceeds P^2; the list
 * then holds the prime factors of n up to P. */
int64_t _5_prmfct(FactorList* list, uint64_t lo, uint64_t hi, const TableBlock* head);
/* The smallest table prime above d: from the small primes below 211, from
 * the bitmap below the table's limit E; all ones when there is none
 * (d >= P). */
uint64_t _5_prmfctnext(uint64_t d, const TableBlock* head);
/* Divides *rest by d as often as it goes and returns how often (0 for
 * d < 2). */
uint64_t _5_divprm(Q2Value* rest, uint64_t d);
/* _5_divprm for d = 2: one count of trailing zero bits (0 for rest 0). */
uint64_t _5_divprm2(Q2Value* rest);
/* Appends d e times to the list being built (the list of the running
 * _5_prmfct, kept in the work record); returns the new entry count s. */
uint64_t _5_prmelmt(uint64_t e, uint64_t d);

#ifdef __cplusplus
}
#endif
