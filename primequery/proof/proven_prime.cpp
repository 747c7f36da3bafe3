// The primality test for every number below 2^128: trial division by the
// odd primes below 2^8, Baillie–PSW, and a certificate for what passes.
#include "primequery/proof/proven_prime.h"

#include "numlib/m0_utilities/prime_test64.h"
#include "numlib/m0_utilities/probable_prime.h"
#include "primequery/factoring/odd_primes.h"

namespace proof {
namespace {

constexpr int kFilterPrimes = 53;  // the odd primes up to 251

}  // namespace

bool isPrime128(u128 n) {
    if (wordmath::hi64(n) == 0) return wordmath::isPrime64(wordmath::lo64(n));
    if ((n & 1) == 0) return false;
    for (int i = 0; i < kFilterPrimes; ++i)
        if (factoring::divides128(i, n)) return false;
    if (!wordmath::bailliePsw<wordmath::Mont128, u128>(wordmath::Mont128(n))) return false;
    PrimeCertificate certificate;
    return certifyPrime(n, &certificate);
}

}  // namespace proof
