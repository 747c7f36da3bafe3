// Miller–Rabin with the thirteen prime bases; see miller_rabin.h.
#include "primequery/miller_rabin.h"

#include "numlib/m0_utilities/montgomery.h"

namespace primequery {
namespace {

constexpr uint64_t kSmallPrimes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                                     43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97};

}  // namespace

Primality testPrimality(u128 n) {
    if (hi64(n) == 0) return isPrime64(lo64(n)) ? Primality::kPrime : Primality::kComposite;
    // n is at least 2^64, far above the small primes and the bases.
    for (uint64_t p : kSmallPrimes)
        if (mod64(n, p) == 0) return Primality::kComposite;
    Mont128 mont(n);
    int s = ctz128(n - 1);
    u128 d = (n - 1) >> s;
    for (uint64_t a : kBases128)
        if (!strongProbablePrime(mont, mont.to(a), d, s)) return Primality::kComposite;
    return n < kPsi13 ? Primality::kPrime : Primality::kProbablePrime;
}

}  // namespace primequery
