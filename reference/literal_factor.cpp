// The n-th prime and the factorisation, step by step as designed.
#include "reference/literal_query.h"

#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primetable.h"

namespace literal {

uint64_t prmnoth(uint64_t n, const TableBlock* head) {
    if (n <= 46) {
        uint64_t i = n - 1;
        return (SmallPrimeBytes[i / 8] >> (56 - 8 * (i % 8))) & 0xFF;
    }
    uint64_t m = n - 46;
    uint64_t w = 0;
    for (const TableBlock* block = head;; block = table::nextBlock(block)) {
        if (block == nullptr) return ~uint64_t{0};
        for (uint64_t i = 0; i < table::bitmapWords(block); ++i, ++w) {
            uint64_t word = block[3 + i];
            uint64_t z = _0_bitoffcnt(word);
            if (m <= z) return _5_postonum(64 * w + static_cast<uint64_t>(_0_bitscan0n(word, m))).lo;
            m -= z;
        }
    }
}

uint64_t prmfctnext(uint64_t d, const TableBlock* head) {
    if (d < 211) {
        for (int i = 0; i < 48; ++i) {
            uint64_t p = (SmallPrimeBytes[i / 8] >> (56 - 8 * (i % 8))) & 0xFF;
            if (p == 0xFF) return 211;
            if (p > d) return p;
        }
    }
    if (d < head[table::kLimit]) return static_cast<uint64_t>(prmtnext(d, head));
    return ~uint64_t{0};
}

namespace {

uint64_t divprm(u128* m, uint64_t d) {
    uint64_t count = 0;
    while (*m % d == 0) {
        *m /= d;
        ++count;
    }
    return count;
}

void append(FactorList* list, uint64_t e, uint64_t d) {
    for (uint64_t i = 0; i < e; ++i) list->word[factorCount(list)] = d, ++list->header;
}

}  // namespace

int64_t prmfct(FactorList* list, u128 n, const TableBlock* head) {
    if (n < 2) return -1;
    list->header = 0xFF00000000000000ull;
    u128 m = n;
    uint64_t d = 2;
    for (;;) {
        uint64_t e = divprm(&m, d);
        if (e > 0) append(list, e, d);
        uint64_t next = prmfctnext(d, head);
        if (next == ~uint64_t{0}) return -1;
        d = next;
        u128 dd = static_cast<u128>(d) * d;
        if (dd < m) continue;
        if (dd == m) {
            m = 1;
            append(list, 2, d);
        }
        break;
    }
    uint64_t s = factorCount(list);
    if ((m >> 64) != 0) {
        list->header += uint64_t{1} << 32;
        list->word[s] = static_cast<uint64_t>(m);
        list->word[s + 1] = static_cast<uint64_t>(m >> 64);
    } else if (m != 1) {
        append(list, 1, static_cast<uint64_t>(m));
    }
    return static_cast<int64_t>(factorCount(list) + cofactorCount(list));
}

}  // namespace literal
