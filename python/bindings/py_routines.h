// The library routine behind each function of the package, and how far its
// arguments reach.
#pragma once

#include "python/bindings/py_limits.h"
#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"

namespace q64py {

template <class Routine>
struct Reaching {
    Routine call;
    Limit (*reach)();
};

struct Routines {
    Reaching<int64_t (*)(uint64_t lo, uint64_t hi)> primeTest;
    int64_t (*probablePrimeTest)(uint64_t lo, uint64_t hi);  // the same reach, no certificate
    Reaching<int64_t (*)(FactorList* list, uint64_t lo, uint64_t hi)> factorise;
    Reaching<Q2Value (*)(uint64_t lo, uint64_t hi)> nextPrime;
    Reaching<Q2Value (*)(uint64_t lo, uint64_t hi)> prevPrime;
    Reaching<uint64_t (*)(uint64_t k)> nthPrime;
    Reaching<uint64_t (*)(uint64_t x)> primePi;
    Reaching<uint64_t (*)(uint64_t a, uint64_t b)> countPrimes;
    Reaching<int64_t (*)(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context)> eachPrime;
};

inline const Routines routines{
    {_5_primetstx, below2to128},
    _5_prmprobx,
    {_5_prmfctx, below2to128},
    {_5_prmnextx, below2to128},
    {_5_prmprevx, below2to128},
    {_5_prmnthx, primesBelow2to64},
    {_5_prmpi, below2to64},
    {_5_prmcount, below2to64},
    {_5_prmeach, below2to64},
};

}  // namespace q64py
