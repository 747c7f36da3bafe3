/* SieveWork: the static work record of the sieve passes and of the prime
 * queries. The sieve routines take no arguments beyond it; the queries set
 * `head` (and `scan` when they search with _5_bitscan0) and keep their own
 * working values in `query`. Neither the sieve nor a query is reentrant.
 */
#pragma once

#include <stdint.h>

#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SieveWork {
    TableBlock* head;   /* first block of the table whose primes are used */
    uint64_t lowest;    /* smallest number covered by target */
    uint64_t prime;     /* the sieving prime being crossed off */
    TableBlock* target; /* the block being sieved */
    uint64_t scan;      /* table-wide position where the next search resumes */
    uint64_t query[16]; /* the queries' own working values */
} SieveWork;

/* The one work record, shared by the sieve and the queries. */
extern SieveWork sieveWork;

/* Crosses off the small primes 11 .. 199 in target; sets lowest. Returns 0. */
int64_t _5_setflg0(void);
/* Crosses off in target the primes recorded in head's bitmap (that block
 * only): the pass of a new one-block table. Returns 0. */
int64_t _5_setflg1(void);
/* The same with the primes of the whole chain from head: the pass of a block
 * appended to a chain. Returns 0. */
int64_t _5_setflg2(void);
/* Crosses off the multiples of `prime` in target from the first one at or
 * above `lowest` (from 2 * prime when prime >= lowest) and returns 0; returns
 * 1 without marking when prime^2 overflows or is at least target's limit. */
int64_t _5_prmflg0(void);
/* Table-wide position of the first clear bit at or after `scan`, searching the
 * chain from `head`; -1 when there is none. */
int64_t _5_bitscan0(void);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(SieveWork) == 21 * sizeof(uint64_t), "SieveWork is a record of whole words");
#else
_Static_assert(sizeof(SieveWork) == 21 * sizeof(uint64_t), "SieveWork is a record of whole words");
#endif
