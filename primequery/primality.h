/* The primality test. Results: 0 prime, 1 not prime, -1 cannot be decided
 * with the table (or 0 and 1, which are neither). */
#pragma once

#include <stdint.h>

#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Numbers up to 210 from the small primes, numbers below the table's limit E
 * from the bitmap, the others by _5_primetst2. */
int64_t _5_primetst(uint64_t lo, uint64_t hi, const TableBlock* head);
/* The trial-division answer: 1 when 2, 3, 5 or 7 divides n; -1 above E^2;
 * 1 for E^2; else 1 for a composite n (and for 11), 0 for a prime below
 * P^2 (P the table's largest prime) and for 1, -1 for a prime above P^2. */
int64_t _5_primetst2(uint64_t lo, uint64_t hi, const TableBlock* head);

#ifdef __cplusplus
}
#endif
