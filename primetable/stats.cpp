#include "q64/m5_primetable.h"

#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"

extern "C" int64_t _5_prmtqsize(const TableBlock* head) {
    PRF_ENTER(_5_prmtqsize);
    uint64_t words = 0;
    for (const TableBlock* block = head; block != nullptr; block = table::nextBlock(block))
        words += block[table::kLastIndex] + 1;
    return static_cast<int64_t>(words);
}

extern "C" int64_t _5_prmtcnt(const TableBlock* head) {
    PRF_ENTER(_5_prmtcnt);
    uint64_t count = wheel::kSmallPrimeCount;
    uint64_t indexed;
    if (primeindex::total(head, indexed)) return static_cast<int64_t>(count + indexed);
    for (const TableBlock* block = head; block != nullptr; block = table::nextBlock(block))
        count += _0_bitcnt0(block + table::kFirstBitmapWord, table::bitmapWords(block));
    return static_cast<int64_t>(count);
}

namespace {

// Table-wide position of the last clear bit of a block's bitmap, whose first
// word is word `first` of the table; false when every bit is set.
bool lastClearBit(const TableBlock* block, uint64_t first, uint64_t& position) {
    const uint64_t* bitmap = block + table::kFirstBitmapWord;
    for (uint64_t k = table::bitmapWords(block); k-- > 0;) {
        if (bitmap[k] == ~UINT64_C(0)) continue;
        // The lowest clear bit of the word is its last position.
        uint64_t b = static_cast<uint64_t>(__builtin_ctzll(~bitmap[k]));
        position = 64 * (first + k + 1) - (b + 1);
        return true;
    }
    return false;
}

}  // namespace

extern "C" Q2Value _5_prmtmax(const TableBlock* head) {
    PRF_ENTER(_5_prmtmax);
    // The largest prime is the last clear bit of the chain; it is almost
    // always in the last word, but a table that ends in 64 composites in a row
    // has it further back, so each block's last clear bit is kept in turn.
    uint64_t first = 0;
    bool found = false;
    uint64_t position = 0;
    for (const TableBlock* block = head; block != nullptr; block = table::nextBlock(block)) {
        uint64_t p;
        if (lastClearBit(block, first, p)) {
            found = true;
            position = p;
        }
        first += table::bitmapWords(block);
    }
    // Without any clear bit the largest prime is the largest below 211.
    if (!found) return Q2Value{199, 0};
    return _5_postonum(position);
}
