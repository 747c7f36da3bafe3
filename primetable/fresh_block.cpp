#include "primetable/fresh_block.h"

#include "primetable/small_primes.h"
#include "q64/m5_primetable.h"

namespace sieve {

void writeHeader(uint64_t lastIndex, TableBlock* block, uint64_t baseWord) {
    block[table::kLastIndex] = lastIndex;
    block[table::kBaseWord] = baseWord;
    block[lastIndex] = table::kEndOfChain;
    block[table::kLimit] = _5_prmtbcap(baseWord + lastIndex - 3);
}

bool sweepFreshBlock(TableBlock* block, TableBlock* head, PrimeSource source, bool fromSquare,
                     uint64_t* clearCounts) {
    sieveWork.head = head;
    sieveWork.target = block;
    sieveWork.lowest = _5_prmtmin(block);
    Pass pass;
    pass.target = block;
    pass.lowest = sieveWork.lowest;
    pass.smallPrimes = true;
    pass.source = source;
    pass.head = head;
    pass.freshTarget = true;
    pass.fromSquare = fromSquare;
    pass.clearCounts = clearCounts;
    if (!run(pass)) return false;
    // The small-prime pass leaves the last small prime it tried; the table
    // pass the last prime it took, if any.
    sieveWork.prime = pass.tookPrime ? pass.prime : lastSmallPrimeTried(block[table::kLimit]);
    sieveWork.scan = pass.scan;
    return true;
}

}  // namespace sieve
