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
// kTrialBound the rest is factorised completely (factoring::factorise),
// m_P is formed from the factors and the same rule decides.
#include "q64/m5_primequery.h"

#include "primequery/prime_walk.h"
#include "primequery/query_work.h"
#include "primequery/factoring/factor_engine.h"
#include "primequery/factoring/trial_division.h"
#include "numlib/m0_utilities/u128.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

using namespace primequery;
using namespace wordmath;

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

// The prime factors of m (odd, without prime factors below 1024) as far as
// the rule needs them, ascending: all of them, except that for P below 2^16
// a rest above P^2 left by trial division up to P stays unsplit (its prime
// factors all exceed P, so m_P > P^2 and the number is refused). Returns
// whether the list is complete.
bool factorsForTheRule(u128 m, uint64_t largest, factoring::PrimeFactors* factors) {
    factors->count = 0;
    const bool smallTable = largest < factoring::kOddPrimeLimit;
    const int end = smallTable ? factoring::oddPrimeIndexAbove(static_cast<uint32_t>(largest)) : factoring::kOddPrimeCount;
    factoring::divideOutOddPrimes(&m, 0, end, factors);
    if (m == 1) return true;
    if (smallTable && m > square(largest)) return false;
    static factoring::PrimeFactors rest;  // 2 KB: kept out of the call stack
    factoring::factorise(m, &rest);
    for (unsigned i = 0; i < rest.count; ++i) factors->add(rest.prime[i], 1);
    factors->sort();
    return true;
}

// For a rest m > d^2 without prime factors below the table prime d.
int64_t finishBySplitting(FactorList* list, const TableBlock* head, u128 m) {
    const uint64_t largest = _5_prmtmax(head).lo;
    static factoring::PrimeFactors factors;  // 2 KB: kept out of the call stack
    const bool complete = factorsForTheRule(m, largest, &factors);
    u128 restAboveP = 1;  // m_P: the prime factors >= P
    for (unsigned i = 0; i < factors.count; ++i)
        if (factors.prime[i] >= largest) restAboveP *= factors.prime[i];
    const bool refused = !complete || restAboveP > square(largest);
    for (unsigned i = 0; i < factors.count; ++i) {
        const u128 p = factors.prime[i];
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
        if (d > kTrialBound) return finishBySplitting(list, head, m);
        e = _5_divprm(&rest, d);
        if (e != 0) _5_prmelmt(e, d);
    }
    return finish(list, rest);
}
