#include "primetable/fresh_block.h"
#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

extern "C" int64_t _5_prmexpd(uint64_t words, TableBlock* block, TableBlock* head) {
    PRF_ENTER(_5_prmexpd);
    if (words < 5) return -1;
    uint64_t base = 0;
    TableBlock* last = head;
    for (;;) {
        base += table::bitmapWords(last);
        TableBlock* next = table::nextBlock(last);
        if (!next) break;
        last = next;
    }
    sieve::writeHeader(words - 1, block, base);
    // The index grows with the table when it describes the chain so far.
    uint64_t* clearCounts = primeindex::beginAppend(head, block);
    // Linked before it is sieved: the search for sieving primes may run into
    // the new block itself, where every clear bit below the square root of
    // its limit is already final when it is reached.
    last[last[table::kLastIndex]] = reinterpret_cast<uint64_t>(block);
    // The small-prime pass and the chain's primes in one sweep. Each prime
    // starts where the two passes start it, not at its square: the same bits
    // from any chain.
    bool counted = sieve::sweepFreshBlock(block, head, sieve::PrimeSource::kChain, false, clearCounts);
    if (!counted) {
        _5_prminit(words - 1, block, base);
        _5_setflg0();
        _5_setflg2();
    }
    if (clearCounts != nullptr) primeindex::endBlock(block, counted);
    head[table::kLimit] = block[table::kLimit];
    return 0;
}
