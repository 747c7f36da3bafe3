// The questions without a table: primality, the factorisation and the next
// and previous primes of every number below 2^128.
#include "numlib/m0_utilities/u128.h"
#include "primequery/factoring/factor_engine.h"
#include "primequery/prime_window.h"
#include "primequery/proof/proven_prime.h"
#include "q64/m5_primequery.h"

using namespace wordmath;

extern "C" int64_t _5_primetstx(uint64_t lo, uint64_t hi) {
    const u128 n = toU128(lo, hi);
    if (n < 2) return -1;
    return proof::isPrime128(n) ? 0 : 1;
}

extern "C" int64_t _5_prmprobx(uint64_t lo, uint64_t hi) {
    const u128 n = toU128(lo, hi);
    if (n < 2) return -1;
    return proof::isProbablePrime128(n) ? 0 : 1;
}

extern "C" int64_t _5_prmfctx(FactorList* list, uint64_t lo, uint64_t hi) {
    const u128 n = toU128(lo, hi);
    if (n < 2) return -1;
    static factoring::PrimeFactors factors;  // 2 KB: kept out of the call stack
    factoring::factorise(n, &factors);
    list->header = FACTOR_LIST_STARTED;
    uint64_t s = 0;
    for (unsigned i = 0; i < factors.count; ++i) {
        const u128 p = factors.prime[i];
        if (hi64(p) != 0) {  // the one prime factor of 2^64 or more, the largest
            list->word[s] = lo64(p);
            list->word[s + 1] = hi64(p);
            list->header += uint64_t{1} << FACTOR_LIST_COFACTOR_SHIFT;
            break;
        }
        list->word[s++] = lo64(p);
    }
    list->header += s;
    return static_cast<int64_t>(factorCount(list) + cofactorCount(list));
}

extern "C" Q2Value _5_prmnextx(uint64_t lo, uint64_t hi) {
    const u128 p = primequery::nextPrimeAbove(toU128(lo, hi));
    return p == 0 ? failedQ2() : toQ2(p);
}

extern "C" Q2Value _5_prmprevx(uint64_t lo, uint64_t hi) {
    const u128 p = primequery::previousPrimeBelow(toU128(lo, hi));
    return p == 0 ? failedQ2() : toQ2(p);
}
