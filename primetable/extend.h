/* Extending the prime table by a block appended to its chain. */
#pragma once

#include <stdint.h>

#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Links the `words`-word block at the end of the chain from `head`, gives it
 * lastIndex words - 1, the next baseWord and its limit, sieves it with the
 * small primes and the primes the chain records (the new block's own
 * included), and copies its limit into head's, which thus stays the limit of
 * the whole table. The block belongs to the chain from then on. Returns 0;
 * -1 when words < 5, and nothing is changed then. Uses sieveWork. */
int64_t _5_prmexpd(uint64_t words, TableBlock* block, TableBlock* head);

#ifdef __cplusplus
}
#endif
