// The next prime, step by step as designed.
#include "reference/literal_query.h"

#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primetable.h"

namespace literal {

u128 prmnext(u128 n, const TableBlock* head) {
    uint64_t lo = static_cast<uint64_t>(n), hi = static_cast<uint64_t>(n >> 64);
    if (hi == 0 && lo < 211) {
        for (int i = 0; i < 48; ++i) {
            uint64_t p = (SmallPrimeBytes[i / 8] >> (56 - 8 * (i % 8))) & 0xFF;
            if (p == 0xFF) return 211;
            if (p > lo) return p;
        }
    }
    uint64_t limit = head[table::kLimit];
    if (hi == 0 && lo >= 211 && lo < limit) {
        u128 next = prmtnext(lo, head);
        if (next != kFailed) return next;
    }
    if (static_cast<u128>(limit) * limit <= n) return kFailed;
    return prmttnext(n, head);
}

u128 prmtnext(uint64_t n, const TableBlock* head) {
    uint64_t q = n / 210, r = n % 210;
    uint64_t p = (q - 1) * 48 + (WheelIndex[r] & 0xFFFFFFFF);
    // The chain-wide scan for the first clear bit at or after p.
    const TableBlock* block = head;
    while (p >= 64 * table::bitmapWords(block)) {
        p -= 64 * table::bitmapWords(block);
        block = table::nextBlock(block);
        if (block == nullptr) return kFailed;
    }
    for (;;) {
        int64_t found = _0_bitscan0(block + 3, p, table::bitmapWords(block));
        if (found != -1)
            return _5_postonum(static_cast<uint64_t>(found) + 64 * block[table::kBaseWord]).lo;
        block = table::nextBlock(block);
        if (block == nullptr) return kFailed;
        p = 0;
    }
}

u128 prmnmnte(u128 n) {
    u128 q = n / 210;
    uint64_t r = static_cast<uint64_t>(n % 210);
    uint64_t k = WheelIndex[r] & 0xFFFFFFFF;
    if (k == 48) {
        q += 1;
        k = 0;
    }
    return q * 210 + WheelResidues[k];
}

u128 prmttnext(u128 n, const TableBlock* head) {
    uint64_t largest = _5_prmtmax(head).lo;
    u128 bound = static_cast<u128>(largest) * largest;
    u128 x = prmnmnte(n);
    for (;;) {
        if (x >= bound) return kFailed;
        if (prmchknum(x, bound, head) == 0) return x;
        x = prmnmnte(x);
    }
}

uint64_t prmchknum(u128 x, u128 bound, const TableBlock* head) {
    uint64_t d = 11;
    for (;;) {
        if (x % d == 0) return d;
        d = static_cast<uint64_t>(prmnext(d, head));
        if (static_cast<u128>(d) * d < bound) continue;
        return 0;
    }
}

}  // namespace literal
