// Prime factorisation with the table's primes.
//
// _5_prmfct answers what this loop answers (m = n, d = 2, P the table's
// largest prime):
//   loop: divide d out of m as often as it goes; d = next table prime, or
//   fail when d was P; if d^2 < m repeat; if d^2 == m then m = 1 and d
//   twice is a factor; stop; the rest m (1 or a prime) is the last factor.
// When the loop reaches a prime d, m is n without its prime factors below d
// (call it m_d), which shrinks as d grows while d^2 grows. So the loop stops
// at the first d with d^2 >= m_d and then m_d is 1, a prime or d^2: the
// factorisation is complete. It fails exactly when it gets past P, that is
// when P^2 < m_P (then d^2 < P^2 < m_P <= m_d for every earlier d), having
// divided out P as well. So: the answer is the full factorisation when m_P
// <= P^2, and -1 with the prime factors up to P in the list otherwise.
//
// The small primes are divided out by that very loop. Once d passes
// kTrialBound the rest is split with Miller–Rabin and Pollard's rho
// (splitFactors, falling back on trial division), m_P is formed from the
// factors and the same rule decides.
#include "q64/m5_primequery.h"

#include <algorithm>

#include "primequery/prime_walk.h"
#include "primequery/query_work.h"
#include "primequery/trial_division.h"
#include "numlib/m0_utilities/u128.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

using namespace primequery;

namespace {

// The loop divides by the primes up to here before the rest is split.
constexpr uint64_t kTrialBound = 1024;

// Stores the last factor, the rest m (1 or a prime), and returns s plus the
// cofactor count.
int64_t finish(FactorList* list, Q2Value rest) {
    if (rest.hi != 0) {
        uint64_t s = factorCount(list);
        list->word[s] = rest.lo;
        list->word[s + 1] = rest.hi;
        list->header += uint64_t{1} << FACTOR_LIST_COFACTOR_SHIFT;
    } else if (rest.lo != 1) {
        _5_prmelmt(1, rest.lo);
    }
    return static_cast<int64_t>(factorCount(list) + cofactorCount(list));
}

// For a rest m > d^2 without prime factors below the table prime d.
int64_t finishBySplitting(FactorList* list, const TableBlock* head, u128 m, uint64_t d) {
    uint64_t largest = _5_prmtmax(head).lo;
    static FactorSplit split;  // 2 KB: kept out of the call stack
    splitFactors(head, m, d, largest, &split);
    std::sort(split.primes, split.primes + split.count);
    u128 restAboveP = split.rest;  // m_P: the prime factors >= P and the unsplit rest
    for (unsigned i = 0; i < split.count; ++i)
        if (split.primes[i] >= largest) restAboveP *= split.primes[i];
    bool refused = restAboveP > square(largest);
    for (unsigned i = 0; i < split.count; ++i) {
        u128 p = split.primes[i];
        if (refused && p > largest) break;
        if (hi64(p) != 0) return finish(list, toQ2(p));  // the one prime of 2^64 or more, last
        _5_prmelmt(1, lo64(p));
    }
    if (refused) return -1;
    return finish(list, Q2Value{1, 0});
}

}  // namespace

extern "C" uint64_t _5_prmfctnext(uint64_t d, const TableBlock* head) {
    PRF_ENTER(_5_prmfctnext);
    if (d < wheel::kFirstNumber) return wheel::smallPrimeAbove(d);
    if (d < head[table::kLimit]) {
        Q2Value next = _5_prmtnext(d, head);
        return isFailedQ2(next) ? kAllOnes : next.lo;
    }
    return kAllOnes;
}

extern "C" int64_t _5_prmfct(FactorList* list, uint64_t lo, uint64_t hi, const TableBlock* head) {
    PRF_ENTER(_5_prmfct);
    if (hi == 0 && lo < 2) return -1;
    list->header = FACTOR_LIST_STARTED;
    setHead(head);
    queryWork.list = list;
    Q2Value rest{lo, hi};
    uint64_t e = _5_divprm2(&rest);
    if (e != 0) _5_prmelmt(e, 2);
    PrimeWalk walk(head);
    walk.next();  // 2, done
    for (;;) {
        uint64_t d = walk.next();
        if (d == 0) return -1;  // the last prime divided out was P
        queryWork.prime = d;
        u128 m = toU128(rest);
        u128 dd = square(d);
        if (dd > m) break;
        if (dd == m) {
            rest = Q2Value{1, 0};
            _5_prmelmt(2, d);
            break;
        }
        if (d > kTrialBound) return finishBySplitting(list, head, m, d);
        e = _5_divprm(&rest, d);
        if (e != 0) _5_prmelmt(e, d);
    }
    return finish(list, rest);
}
