// Dividing a prime out of the rest, and appending it to the factor list.
#include "q64/m5_primequery.h"

#include "primequery/query_work.h"
#include "numlib/m0_utilities/u128.h"
#include "profiler/hook.h"

using namespace primequery;
using namespace wordmath;

extern "C" uint64_t _5_divprm2(Q2Value* rest) {
    PRF_ENTER(_5_divprm2);
    u128 m = toU128(*rest);
    if (m == 0) return 0;
    int zeros = ctz128(m);
    *rest = toQ2(m >> zeros);
    return static_cast<uint64_t>(zeros);
}

extern "C" uint64_t _5_divprm(Q2Value* rest, uint64_t d) {
    PRF_ENTER(_5_divprm);
    if (d < 2) return 0;
    if (d == 2) return (rest->lo & 1) ? 0 : _5_divprm2(rest);
    u128 m = toU128(*rest);
    if (m == 0) return 0;
    uint64_t count = 0;
    for (;;) {
        uint64_t r;
        u128 q = divmod64(m, d, &r);
        if (r != 0) break;
        m = q;
        ++count;
    }
    *rest = toQ2(m);
    return count;
}

extern "C" uint64_t _5_prmelmt(uint64_t e, uint64_t d) {
    PRF_ENTER(_5_prmelmt);
    FactorList* list = queryWork.list;
    uint64_t s = factorCount(list);
    // A number below 2^128 has at most 127 prime factors; never write past
    // the record whatever the caller passes.
    if (e > FACTOR_LIST_WORDS - 1 - s) e = FACTOR_LIST_WORDS - 1 - s;
    for (uint64_t i = 0; i < e; ++i) list->word[s + i] = d;
    list->header += e;
    return s + e;
}
