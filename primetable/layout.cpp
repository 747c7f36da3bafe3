#include "q64/m5_primetable.h"

#include "platform/precondition.h"
#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"

extern "C" Q2Value _5_postonum(uint64_t position) {
    PRF_ENTER(_5_postonum);
    return Q2Value{wheel::numberAt(position), 0};
}

extern "C" int64_t _5_numbpos(uint64_t number) {
    PRF_ENTER(_5_numbpos);
    uint64_t entry = WheelIndex[number % wheel::kModulus];
    // Numbers below 211 have no bit: the small primes are read from
    // SmallPrimeBytes, and a wrapped position could set a bit far outside a
    // block.
    if (static_cast<int64_t>(entry) < 0 || number < wheel::kFirstNumber) return -1;
    return static_cast<int64_t>((number / wheel::kModulus - 1) * wheel::kSpokes + (entry >> 32));
}

extern "C" int64_t _5_bitval(uint64_t position, const TableBlock* block) {
    PRF_ENTER(_5_bitval);
    for (;;) {
        uint64_t bits = 64 * table::bitmapWords(block);
        if (position < bits) {
            uint64_t word = block[table::kFirstBitmapWord + position / 64];
            return static_cast<int64_t>((word >> (63 - position % 64)) & 1);
        }
        position -= bits;
        block = table::nextBlock(block);
        if (block == nullptr) return -1;
    }
}

extern "C" void _5_biton(uint64_t position, TableBlock* block) {
    PRF_ENTER(_5_biton);
    primeindex::forget();  // a bit changes behind the index
    Q64_ASSERT(position / 64 >= block[table::kBaseWord] &&
               position / 64 - block[table::kBaseWord] < table::bitmapWords(block));
    block[position / 64 - block[table::kBaseWord] + table::kFirstBitmapWord] |=
        UINT64_C(0x8000000000000000) >> (position % 64);
}

extern "C" uint64_t _5_prmtbcap(uint64_t words) {
    PRF_ENTER(_5_prmtbcap);
    return wheel::numberAt(64 * words);
}

extern "C" uint64_t _5_prmtmin(const TableBlock* block) {
    PRF_ENTER(_5_prmtmin);
    uint64_t base = block[table::kBaseWord];
    return base == 0 ? wheel::kFirstNumber : _5_prmtbcap(base);
}
