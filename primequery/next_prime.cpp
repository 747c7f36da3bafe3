// The next prime: from the small primes, from the bitmap, or beyond it.
#include "q64/m5_primequery.h"

#include "primequery/query_work.h"
#include "numlib/m0_utilities/u128.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

using namespace primequery;
using namespace wordmath;

extern "C" int64_t _5_prmnxnum(Q2Value* result, const Q2Value* number, const TableBlock* head) {
    PRF_ENTER(_5_prmnxnum);
    Q2Value next = _5_prmnext(number->lo, number->hi, head);
    if (isFailedQ2(next)) return -1;
    *result = next;
    return 0;
}

extern "C" Q2Value _5_prmnext(uint64_t lo, uint64_t hi, const TableBlock* head) {
    PRF_ENTER(_5_prmnext);
    if (hi == 0 && lo < wheel::kFirstNumber) return Q2Value{wheel::smallPrimeAbove(lo), 0};
    uint64_t limit = head[table::kLimit];
    if (hi == 0 && lo < limit) {
        Q2Value next = _5_prmtnext(lo, head);
        if (!isFailedQ2(next)) return next;
    }
    if (square(limit) <= toU128(lo, hi)) return failedQ2();
    return _5_prmttnext(lo, hi, head);
}

// The start position is that of the first number above n prime to 210:
// period q - 1 (the bitmap starts at 210), index WheelIndex[r] & 0xFFFFFFFF
// (48 rolls over into the next period by itself).
extern "C" Q2Value _5_prmtnext(uint64_t n, const TableBlock* head) {
    PRF_ENTER(_5_prmtnext);
    uint64_t q = n / wheel::kModulus, r = n % wheel::kModulus;
    setHead(head);
    sieveWork.scan = (q - 1) * wheel::kSpokes + (WheelIndex[r] & 0xFFFFFFFFu);
    int64_t position = _5_bitscan0();
    if (position < 0) return failedQ2();
    return _5_postonum(static_cast<uint64_t>(position));
}
