/* Statistics of a prime table, walked from its first block (never null). */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"
#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Total words of all blocks, header and link words included. */
int64_t _5_prmtqsize(const TableBlock* head);
/* Primes below the table's limit: the 46 below 211 plus the clear bits. */
int64_t _5_prmtcnt(const TableBlock* head);
/* The largest prime the table holds (high word 0). */
Q2Value _5_prmtmax(const TableBlock* head);

#ifdef __cplusplus
}
#endif
