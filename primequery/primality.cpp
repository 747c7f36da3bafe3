// The primality test.
//
// _5_primetst2 answers what this loop answers, for n prime to 210, n < E^2:
//   d = 11; loop: if d | n return 1; d = next prime after d (from the table,
//   past P by trial division); if d^2 < n repeat; if d^2 == n return 1;
//   return d < E ? 0 : -1.
// The loop's divisors are the primes in order, and no step fails below E^2
// (the prime after P lies below P^2 by Bertrand's postulate). So:
//  - a composite n has a smallest prime factor q >= 11 with q^2 <= n, which
//    the loop reaches (every earlier prime d has d^2 < q^2 <= n): answer 1;
//    so is 11 itself (11 divides it);
//  - for n = 1 or a prime n >= 13 the loop runs to the first prime d* with
//    d*^2 > n and answers 0 exactly when d* < E, that is d* <= P (no prime
//    lies between P and E), that is P^2 > n (d* is the first prime whose
//    square exceeds n).
// Primality itself comes from the proven test, which gives the loop's
// verdict on primes and composites alike.
#include "q64/m5_primequery.h"

#include "primequery/proof/proven_prime.h"
#include "numlib/m0_utilities/u128.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m5_primetable.h"

using namespace wordmath;

extern "C" int64_t _5_primetst(uint64_t lo, uint64_t hi, const TableBlock* head) {
    PRF_ENTER(_5_primetst);
    if (hi != 0) return _5_primetst2(lo, hi, head);
    if (lo < 2) return -1;
    if (lo == 2) return 0;
    if ((lo & 1) == 0) return 1;
    if (lo <= wheel::kModulus) return wheel::smallPrimeAbove(lo - 1) == lo ? 0 : 1;
    if (lo >= head[table::kLimit]) return _5_primetst2(lo, hi, head);
    int64_t position = _5_numbpos(lo);
    if (position < 0) return 1;
    return _5_bitval(static_cast<uint64_t>(position), head);
}

extern "C" int64_t _5_primetst2(uint64_t lo, uint64_t hi, const TableBlock* head) {
    PRF_ENTER(_5_primetst2);
    u128 n = toU128(lo, hi);
    if (static_cast<int64_t>(WheelIndex[mod64(n, wheel::kModulus)]) < 0) return 1;
    u128 limitSquare = square(head[table::kLimit]);
    if (limitSquare < n) return -1;
    if (limitSquare == n) return 1;
    if (n == 1) return 0;
    if (mod64(n, 11) == 0) return 1;
    if (!proof::isPrime128(n)) return 1;
    uint64_t largest = _5_prmtmax(head).lo;
    return n < square(largest) ? 0 : -1;
}
