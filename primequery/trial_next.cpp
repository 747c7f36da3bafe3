// The next prime beyond the bitmap, by trial division with the table's primes.
//
// _5_prmttnext answers what this loop answers (P the table's largest prime,
// B = P^2, chk(x) the smallest table prime d, 11 <= d < P, dividing x, or 0):
//   x = next number prime to 210 above n; loop: if x >= B fail;
//   if chk(x) == 0 return x; x = next number prime to 210 above x.
// For a candidate P < x < B prime to 210, chk(x) == 0 exactly when x is prime:
// a composite x has a prime factor q <= sqrt(x) < P, and q >= 11. Below P the
// loop's answer is P itself for 1 <= n < P: every candidate in between is at
// least 11 and either a prime below P (it divides itself) or a composite with
// a factor below P, while P is tried by every prime below it and passes. For
// n = 0 the first candidate, 1, passes. Candidates that wrap past 2^128 are
// small again and go through chk itself.
#include "q64/m5_primequery.h"

#include "primequery/query_work.h"
#include "primequery/factoring/factor_engine.h"
#include "primequery/factoring/odd_primes.h"
#include "primequery/proof/proven_prime.h"
#include "primequery/first_table_factor.h"
#include "numlib/m0_utilities/u128.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

using namespace primequery;

namespace {

// Below this bound the smallest divisor is sought by plain trial division.
constexpr uint64_t kPlainTrialBound = 1024;

// The smallest prime d dividing x among 11 and the primes d >= 13 with
// d^2 < bound, or 0; the table must hold every prime below sqrt(bound)
// (bound <= P^2).
uint64_t smallestDivisor(const TableBlock* head, u128 x, u128 bound) {
    if (mod64(x, 11) == 0) return 11;
    for (uint64_t p : {2, 3, 5, 7})
        while (mod64(x, p) == 0) x /= p;
    if (x == 1 || bound == 0) return 0;
    uint64_t limit = isqrt128(bound - 1);
    uint64_t plainLimit = limit < kPlainTrialBound ? limit : kPlainTrialBound;
    uint64_t d = firstTableFactor(head, x, 13, plainLimit);
    if (d != 0) return d;
    if (isqrt128(x) <= plainLimit) {
        // No prime up to sqrt(x) divides x: x is its own smallest factor.
        return x <= limit ? lo64(x) : 0;
    }
    if (limit < factoring::kOddPrimeLimit) {
        // The odd primes up to the limit, by their inverses.
        for (int i = factoring::oddPrimeIndexAbove(static_cast<uint32_t>(plainLimit));
             i < factoring::kOddPrimeCount && factoring::oddPrime(i) <= limit; ++i) {
            if (square(factoring::oddPrime(i)) > x) return x <= limit ? lo64(x) : 0;
            if (factoring::divides(i, x)) return factoring::oddPrime(i);
        }
        return 0;
    }
    // The smallest prime factor of x, from its complete factorisation.
    static factoring::PrimeFactors factors;  // 2 KB: kept out of the call stack
    factoring::factorise(x, &factors);       // ascending
    return factors.prime[0] <= limit ? lo64(factors.prime[0]) : 0;
}

bool primeTo210(u128 x) { return static_cast<int64_t>(WheelIndex[mod64(x, wheel::kModulus)]) >= 0; }

}  // namespace

extern "C" Q2Value _5_prmttnext(uint64_t lo, uint64_t hi, const TableBlock* head) {
    PRF_ENTER(_5_prmttnext);
    uint64_t largest = _5_prmtmax(head).lo;
    u128 bound = square(largest);
    setHead(head);
    queryWork.bound = toQ2(bound);
    u128 n = toU128(lo, hi);
    if (n >= 1 && n < largest && largest >= wheel::kFirstNumber) return Q2Value{largest, 0};
    u128 x = n;
    for (;;) {
        x = toU128(_5_prmnmnte(lo64(x), hi64(x)));
        if (x >= bound) return failedQ2();
        queryWork.candidate = toQ2(x);
        bool passes = x > largest && primeTo210(x) ? proof::isPrime128(x) : smallestDivisor(head, x, bound) == 0;
        if (passes) return toQ2(x);
    }
}

extern "C" uint64_t _5_prmchknum(void) {
    PRF_ENTER(_5_prmchknum);
    uint64_t d = smallestDivisor(sieveWork.head, toU128(queryWork.candidate),
                                 toU128(queryWork.bound));
    queryWork.divisor = d;
    return d;
}
