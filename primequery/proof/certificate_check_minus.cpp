// The n - 1 side of a certificate: Pocklington's conditions for every prime
// of F, then F^2 > n, or F^3 > n and the square test of Brillhart, Lehmer
// and Selfridge.
#include "numlib/m0_utilities/montgomery.h"
#include "primequery/proof/prime_certificate.h"

namespace proof {
namespace {

using wordmath::Mont128;

bool cubeExceeds(u128 f, u128 n) { return f > n / f / f; }
bool squareExceeds(u128 f, u128 n) { return f > n / f; }

// For F^2 <= n < F^3 (so F < 2^64): n = c2 F^2 + c1 F + 1 is prime exactly
// when c1^2 - 4 c2 is not a square.
bool squareTestPasses(u128 f, u128 r) {
    const u128 c2 = r / f, c1 = r % f;
    const u128 c1Square = c1 * c1;
    if (c1Square < 4 * c2) return true;
    const u128 d = c1Square - 4 * c2;
    const u128 s = wordmath::isqrt128(d);
    return s * s != d;
}

}  // namespace

CheckOutcome checkMinusSide(const PrimeCertificate& c, u128 f, u128 r) {
    const u128 n = c.n;
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
