#include <cstring>

#include "primetable/fresh_block.h"
#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

extern "C" void _5_prminit(uint64_t lastIndex, TableBlock* block, uint64_t baseWord) {
    PRF_ENTER(_5_prminit);
    primeindex::forget();
    sieve::writeHeader(lastIndex, block, baseWord);
    std::memset(block + table::kFirstBitmapWord, 0, (lastIndex - 3) * sizeof(uint64_t));
}

extern "C" int64_t _5_prmnew(uint64_t words, TableBlock* block) {
    PRF_ENTER(_5_prmnew);
    if (words < 5) return -1;
    // The block holds nothing else, so every table prime can start at its
    // square. The prime-count index of the new table is counted as it is
    // sieved.
    sieve::writeHeader(words - 1, block, 0);
    uint64_t* clearCounts = primeindex::beginTable(block);
    bool counted = sieve::sweepFreshBlock(block, block, sieve::PrimeSource::kHeadOnly, true, clearCounts);
    if (!counted) {
        _5_prminit(words - 1, block, 0);
        _5_setflg0();
        _5_setflg1();
    }
    if (clearCounts != nullptr) primeindex::endBlock(block, counted);
    return 0;
}
