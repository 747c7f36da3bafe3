// The one sweep that sieves a new block, shared by _5_prmnew (a new table)
// and _5_prmexpd (a block appended to a chain).
#pragma once

#include <cstdint>

#include "primetable/sieve_engine.h"
#include "primetable/table_words.h"

namespace sieve {

// Writes the header and link words of a block as _5_prminit does, without
// clearing its bitmap.
void writeHeader(uint64_t lastIndex, TableBlock* block, uint64_t baseWord);

// Sieves `block` (its header written) with the small primes and the primes
// of `source` from `head` in one sweep that writes every bitmap word without
// reading it, leaving in sieveWork what the small-prime pass followed by the
// table pass leaves. With fromSquare, table primes start at their squares
// (the same bits only when the block is the whole table, as in _5_prmnew).
// Adds the clear bits to clearCounts when given. False when the sweep cannot
// run (the block then holds no sieved bits; sieveWork's head, target and
// lowest are set).
bool sweepFreshBlock(TableBlock* block, TableBlock* head, PrimeSource source, bool fromSquare,
                     uint64_t* clearCounts);

}  // namespace sieve
