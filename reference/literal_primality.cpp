// The primality test, step by step as designed.
#include "reference/literal_query.h"

#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "q64/m5_primetable.h"

namespace literal {

int64_t primetst(u128 n, const TableBlock* head) {
    uint64_t lo = static_cast<uint64_t>(n), hi = static_cast<uint64_t>(n >> 64);
    if (hi != 0) return primetst2(n, head);
    if (lo < 2) return -1;
    if (lo == 2) return 0;
    if (lo % 2 == 0) return 1;
    if (lo <= 210) {
        for (int i = 0; i < 48; ++i)
            if (((SmallPrimeBytes[i / 8] >> (56 - 8 * (i % 8))) & 0xFF) == lo) return 0;
        return 1;
    }
    if (lo >= head[table::kLimit]) return primetst2(n, head);
    int64_t position = _5_numbpos(lo);
    if (position == -1) return 1;
    return _5_bitval(static_cast<uint64_t>(position), head);
}

int64_t primetst2(u128 n, const TableBlock* head) {
    if (static_cast<int64_t>(WheelIndex[static_cast<uint64_t>(n % 210)]) < 0) return 1;
    uint64_t limit = head[table::kLimit];
    u128 limitSquare = static_cast<u128>(limit) * limit;
    if (limitSquare < n) return -1;
    if (limitSquare == n) return 1;
    uint64_t d = 11;
    for (;;) {
        if (n % d == 0) return 1;
        u128 next = prmnext(d, head);
        d = static_cast<uint64_t>(next);  // failure: all ones, above E
        u128 dd = static_cast<u128>(d) * d;
        if (dd < n) continue;
        if (dd == n) return 1;
        return d < limit ? 0 : -1;
    }
}

}  // namespace literal
