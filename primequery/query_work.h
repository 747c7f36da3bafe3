// The prime questions' own static work record (internal, C++ only). The
// questions also set `head` of the sieve's record SieveWork (and `scan` when
// they search with _5_bitscan0), which the sieve layer's routines read.
#pragma once

#include <cstdint>

#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"

namespace primequery {

struct QueryWork {
    Q2Value candidate;  // _5_prmttnext's current candidate, read by _5_prmchknum
    Q2Value bound;      // B = P^2, where the trial division ends
    uint64_t divisor;   // the divisor _5_prmchknum found last (0: none)
    uint64_t prime;     // the prime _5_prmfct is dividing out
    FactorList* list;   // the list _5_prmfct is filling, for _5_prmelmt
};

// The one record; no question is reentrant.
extern QueryWork queryWork;

inline void setHead(const TableBlock* head) { sieveWork.head = const_cast<TableBlock*>(head); }

}  // namespace primequery
