#include <cstring>

#include "primetable/sieve_engine.h"
#include "primetable/small_primes.h"
#include "primetable/table_words.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

namespace {
// The header and link words of a block, as _5_prminit writes them.
void writeHeader(uint64_t lastIndex, TableBlock* block, uint64_t baseWord) {
    block[table::kLastIndex] = lastIndex;
    block[table::kBaseWord] = baseWord;
    block[lastIndex] = table::kEndOfChain;
    block[table::kLimit] = _5_prmtbcap(baseWord + lastIndex - 3);
}
}  // namespace

extern "C" void _5_prminit(uint64_t lastIndex, TableBlock* block, uint64_t baseWord) {
    PRF_ENTER(_5_prminit);
    writeHeader(lastIndex, block, baseWord);
    std::memset(block + table::kFirstBitmapWord, 0, (lastIndex - 3) * sizeof(uint64_t));
}

extern "C" int64_t _5_prmnew(uint64_t words, TableBlock* block) {
    PRF_ENTER(_5_prmnew);
    if (words < 5) return -1;
    // The small-prime pass and the table-prime pass over the block in one
    // sweep, which writes every bitmap word without reading it (so the bitmap
    // is not cleared first) and, as the block holds nothing else, can start
    // every prime at its square.
    writeHeader(words - 1, block, 0);
    sieveWork.head = block;
    sieveWork.target = block;
    sieveWork.lowest = _5_prmtmin(block);
    sieve::Pass pass;
    pass.target = block;
    pass.lowest = sieveWork.lowest;
    pass.smallPrimes = true;
    pass.source = sieve::PrimeSource::kHeadOnly;
    pass.head = block;
    pass.freshTarget = true;
    pass.fromSquare = true;
    if (!sieve::run(pass)) {
        _5_prminit(words - 1, block, 0);
        _5_setflg0();
        _5_setflg1();
        return 0;
    }
    sieveWork.prime = pass.tookPrime ? pass.prime : sieve::lastSmallPrimeTried(block[table::kLimit]);
    sieveWork.scan = pass.scan;
    return 0;
}
