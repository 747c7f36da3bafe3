/* Building the prime table: block initialisation and the wheel sieve. */
#pragma once

#include <stdint.h>

#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Initialises a block of N + 1 words: lastIndex N, the given baseWord, no next
 * block, its limit, and a clear bitmap. */
void _5_prminit(uint64_t lastIndex, TableBlock* block, uint64_t baseWord);
/* Builds a complete one-block table in the W words of `block` (obtained and
 * owned by the caller). Returns 0, or -1 (block untouched) when W < 5. */
int64_t _5_prmnew(uint64_t words, TableBlock* block);

#ifdef __cplusplus
}
#endif
