#include "q64/m5_primetable.h"

#include "primetable/table_words.h"
#include "profiler/hook.h"

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
    // Linked before it is sieved: the search for sieving primes may run into
    // the new block itself, where every clear bit below the square root of
    // its limit is already final when it is reached.
    last[last[table::kLastIndex]] = reinterpret_cast<uint64_t>(block);
    _5_prminit(words - 1, block, base);
    sieveWork.head = head;
    sieveWork.target = block;
    _5_setflg0();
    _5_setflg2();
    head[table::kLimit] = block[table::kLimit];
    return 0;
}
