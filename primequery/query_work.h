// The prime queries' working values in the shared work record SieveWork
// (internal, C++ only). The queries set `head` (and `scan` for _5_bitscan0)
// and keep the rest in its `query` words:
//   candidate, bound B = P^2 and divisor: _5_prmttnext and _5_prmchknum;
//   prime and list: _5_prmfct and _5_prmelmt (the rest stays in _5_prmfct).
#pragma once

#include <cstdint>
#include <cstring>

#include "numlib/q2value.h"
#include "primequery/factor_list.h"
#include "primetable/sieve_work.h"

namespace primequery::work {

enum Word : unsigned {
    kCandidateLo, kCandidateHi,
    kBoundLo, kBoundHi,
    kDivisor,
    kPrime,
    kList,
    kWordsUsed
};
static_assert(kWordsUsed <= sizeof sieveWork.query / sizeof sieveWork.query[0]);

inline Q2Value pair(Word lo) { return Q2Value{sieveWork.query[lo], sieveWork.query[lo + 1]}; }
inline void setPair(Word lo, Q2Value v) {
    sieveWork.query[lo] = v.lo;
    sieveWork.query[lo + 1] = v.hi;
}

inline FactorList* list() {
    FactorList* l;
    std::memcpy(&l, &sieveWork.query[kList], sizeof l);
    return l;
}
inline void setList(FactorList* l) { std::memcpy(&sieveWork.query[kList], &l, sizeof l); }

inline void setHead(const TableBlock* head) { sieveWork.head = const_cast<TableBlock*>(head); }

}  // namespace primequery::work
