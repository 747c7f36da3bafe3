/* The next prime above a number (the prime search and the source of trial
 * divisors). Failure is the Q2Value with both words all ones. */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"
#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Stores the smallest prime above *number in *result and returns 0; returns
 * -1 with *result untouched when _5_prmnext fails. */
int64_t _5_prmnxnum(Q2Value* result, const Q2Value* number, const TableBlock* head);
/* The smallest prime above n: from the small primes below 211, from the
 * bitmap below the table's limit E, else by trial division with the table's
 * primes; fails when n >= E^2 or when no prime lies between n and P^2 (P the
 * table's largest prime). */
Q2Value _5_prmnext(uint64_t lo, uint64_t hi, const TableBlock* head);
/* For 211 <= n < E: the smallest prime above n in the bitmap, or failure when
 * no clear bit follows n's position. */
Q2Value _5_prmtnext(uint64_t n, const TableBlock* head);
/* The first number x above n that is prime to 210, below P^2 and divisible
 * by no table prime from 11 up to the prime before P; failure when the next
 * such candidate reaches P^2 first. Above P that is the next prime. */
Q2Value _5_prmttnext(uint64_t lo, uint64_t hi, const TableBlock* head);
/* The smallest number above n that is prime to 210 (modulo 2^128). */
Q2Value _5_prmnmnte(uint64_t lo, uint64_t hi);
/* For the candidate, table and bound B held in the work record (as
 * _5_prmttnext leaves them, B = P^2): the smallest prime dividing the
 * candidate among 11 and the primes d >= 13 with d^2 < B, that is the table
 * primes from 11 up to the one before P; 0 when none does. */
uint64_t _5_prmchknum(void);

#ifdef __cplusplus
}
#endif
