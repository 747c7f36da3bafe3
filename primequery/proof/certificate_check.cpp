// The check of a certificate, from nothing but the record: F is rebuilt
// from the listed prime powers by exact divisions of n - 1, and every
// modular power is taken afresh.
#include "primequery/proof/prime_certificate.h"

#include "numlib/m0_utilities/montgomery.h"
#include "numlib/m0_utilities/prime_test64.h"
#include "primequery/proof/proven_prime.h"

namespace proof {
namespace {

using wordmath::Mont128;

// R = (n - 1)/F when every listed prime power divides n - 1 (and the q are
// distinct: a repeated q would not divide R again as often); 0 otherwise.
u128 cofactorOfF(const PrimeCertificate& c) {
    u128 r = c.n - 1;
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

// F^3 > n, F^2 > n (F below n).
bool cubeExceeds(u128 f, u128 n) { return f > n / f / f; }
bool squareExceeds(u128 f, u128 n) { return f > n / f; }

// Brillhart–Lehmer–Selfridge for F^2 <= n < F^3: n = c2 F^2 + c1 F + 1 is
// prime exactly when c1^2 - 4 c2 is not a square (F < 2^64 here).
bool squareTestPasses(u128 f, u128 r) {
    const u128 c2 = r / f, c1 = r % f;
    const u128 c1Square = c1 * c1;
    if (c1Square < 4 * c2) return true;
    const u128 d = c1Square - 4 * c2;
    const u128 s = wordmath::isqrt128(d);
    return s * s != d;
}

}  // namespace

CheckOutcome checkCertificate(const PrimeCertificate& c) {
    const u128 n = c.n;
    if ((n & 1) == 0 || wordmath::hi64(n) == 0 || c.count == 0 || c.count > PrimeCertificate::kMaxPrimes)
        return {CheckResult::kMalformed, 0};
    const u128 r = cofactorOfF(c);
    if (r == 0 || !listedPrimesArePrime(c)) return {CheckResult::kMalformed, 0};
    const u128 f = (n - 1) / r;
    if (!cubeExceeds(f, n)) return {CheckResult::kTooSmall, 0};
    const Mont128 mont(n);
    const u128 one = mont.one();
    uint64_t lastA = 0;
    u128 baseR = 0;  // a^R for the last a
    for (unsigned i = 0; i < c.count; ++i) {
        const uint64_t a = c.witness[i];
        if (a < 2) return {CheckResult::kMalformed, 0};
        if (a != lastA) {
            lastA = a;
            baseR = mont.pow(mont.to(a), r);
            if (mont.pow(baseR, f) != one) return {CheckResult::kComposite, 0};  // a^(n-1) != 1
        }
        const u128 x = mont.pow(baseR, f / c.prime[i]);  // a^((n-1)/q)
        const u128 g = wordmath::gcd128(mont.from(mont.sub(x, one)), n);
        if (g == n) return {CheckResult::kWeakWitness, i};
        if (g != 1) return {CheckResult::kComposite, 0};
    }
    if (squareExceeds(f, n) || squareTestPasses(f, r)) return {CheckResult::kPrime, 0};
    return {CheckResult::kComposite, 0};
}

}  // namespace proof
