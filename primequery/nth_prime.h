/* The n-th prime (the first prime being 2). */
#pragma once

#include <stdint.h>

#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The n-th prime: n <= 46 from the small primes, else by counting the clear
 * bits of the bitmap. All ones when the table ends before it, and for n = 0
 * (there is no 0-th prime). */
uint64_t _5_prmnoth(uint64_t n, const TableBlock* head);

#ifdef __cplusplus
}
#endif
