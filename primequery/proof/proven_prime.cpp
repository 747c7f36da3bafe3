// The primality test for every number below 2^128: trial division by the
// odd primes below 2^8, Baillie–PSW, and a certificate for what passes. While
// one number is being proven, the primes proven on the way are remembered: a
// certificate lists primes that were just proven to build it, and its check
// would otherwise prove them again, at every level of the recursion (2^depth
// times over). Each new number starts with none remembered, so that every
// call does the same work.
#include "primequery/proof/proven_prime.h"

#include "numlib/m0_utilities/prime_test64.h"
#include "numlib/m0_utilities/probable_prime.h"
#include "primequery/factoring/odd_primes.h"

namespace proof {
namespace {

constexpr int kFilterPrimes = 53;  // the odd primes up to 251

// The primes of 2^64 or more whose certificates passed the check last, in a
// ring (a static work record: not reentrant).
struct ProvenPrimes {
    static constexpr unsigned kSize = 64;
    u128 prime[kSize] = {};
    unsigned next = 0;
    int depth = 0;  // certificates being built

    void forget() {
        for (u128& p : prime) p = 0;
        next = 0;
    }
    bool holds(u128 n) const {
        for (u128 p : prime)
            if (p == n) return true;
        return false;
    }
    void add(u128 n) {
        prime[next] = n;
        next = (next + 1) % kSize;
    }
};
ProvenPrimes proven;

// For n >= 2^64: false when n is even or has an odd prime factor up to 251.
bool passesTrialDivision(u128 n) {
    if ((n & 1) == 0) return false;
    for (int i = 0; i < kFilterPrimes; ++i)
        if (factoring::divides128(i, n)) return false;
    return true;
}

}  // namespace

bool isProbablePrime128(u128 n) {
    if (wordmath::hi64(n) == 0) return wordmath::isPrime64(wordmath::lo64(n));
    return passesTrialDivision(n) && wordmath::bailliePsw<wordmath::Mont128, u128>(wordmath::Mont128(n));
}

bool isPrime128(u128 n) {
    if (wordmath::hi64(n) == 0) return wordmath::isPrime64(wordmath::lo64(n));
    if (!passesTrialDivision(n)) return false;
    if (proven.depth > 0 && proven.holds(n)) return true;
    if (!wordmath::bailliePsw<wordmath::Mont128, u128>(wordmath::Mont128(n))) return false;
    if (proven.depth == 0) proven.forget();
    ++proven.depth;
    PrimeCertificate certificate;
    const bool prime = certifyPrime(n, &certificate);
    --proven.depth;
    if (prime) proven.add(n);
    return prime;
}

}  // namespace proof
