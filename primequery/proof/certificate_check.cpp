// The check of a certificate, from nothing but the record: F is rebuilt
// from the listed prime powers by exact divisions of n -+ 1, every listed
// prime is proven afresh, and the side's conditions are taken from scratch.
#include "numlib/m0_utilities/prime_test64.h"
#include "primequery/proof/prime_certificate.h"
#include "primequery/proof/proven_prime.h"

namespace proof {
namespace {

// R = (n -+ 1)/F when every listed prime power divides n -+ 1 (a repeated q
// would not divide R again as often); 0 otherwise.
u128 cofactorOfF(const PrimeCertificate& c) {
    u128 r = c.side < 0 ? c.n - 1 : c.n + 1;
    for (unsigned i = 0; i < c.count; ++i) {
        const u128 q = c.prime[i];
        if (q < 2 || c.exponent[i] == 0) return 0;
        for (unsigned e = 0; e < c.exponent[i]; ++e) {
            if (r % q != 0) return 0;
            r /= q;
        }
    }
    return r;
}

bool listedPrimesArePrime(const PrimeCertificate& c) {
    for (unsigned i = 0; i < c.count; ++i) {
        const u128 q = c.prime[i];
        if (!(wordmath::hi64(q) == 0 ? wordmath::isPrime64(wordmath::lo64(q)) : isPrime128(q))) return false;
    }
    return true;
}

}  // namespace

CheckOutcome checkCertificate(const PrimeCertificate& c) {
    if ((c.n & 1) == 0 || wordmath::hi64(c.n) == 0 || ~c.n == 0 || (c.side != -1 && c.side != 1) || c.count == 0 ||
        c.count > PrimeCertificate::kMaxPrimes)
        return {CheckResult::kMalformed, 0};
    const u128 r = cofactorOfF(c);
    if (r == 0 || !listedPrimesArePrime(c)) return {CheckResult::kMalformed, 0};
    const u128 f = (c.side < 0 ? c.n - 1 : c.n + 1) / r;
    return c.side < 0 ? checkMinusSide(c, f, r) : checkPlusSide(c, f, r);
}

}  // namespace proof
