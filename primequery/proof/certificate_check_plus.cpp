// The n + 1 side of a certificate: Morrison's conditions for every prime of
// F with one Lucas sequence of P and Q = 1, then (F - 1)^2 > n, or
// (F - 1)^3 > n and no candidate pair of factors of the form aF + e,
// bF - e multiplying back to n.
#include <initializer_list>

#include "numlib/m0_utilities/montgomery.h"
#include "numlib/m0_utilities/probable_prime.h"
#include "primequery/proof/prime_certificate.h"

namespace proof {
namespace {

using wordmath::Mont128;

// 2 V_{k+1} - P V_k = D U_k for the Lucas sequence of P and Q = 1, in
// Montgomery form (V by the ladder over the bits of k).
u128 dTimesU(const Mont128& mont, u128 pMont, u128 k) {
    wordmath::LucasLadder<Mont128, u128> ladder(mont, pMont);
    for (int bit = 127; bit >= 0; --bit) ladder.step(mont, (k >> bit) & 1);
    const u128 v1 = ladder.nextValue();
    return mont.sub(mont.add(v1, v1), mont.mul(pMont, ladder.value()));
}

// x y, or 0 when it exceeds 2^128 - 1.
u128 productOrZero(u128 x, u128 y) { return x != 0 && y > ~u128{0} / x ? 0 : x * y; }

// a + b from d = |b - a| and s = ab: the root t > d of d^2 + 4s (of d's
// parity), 0 when there is none.
u128 sumFromDifference(u128 d, u128 s) {
    if (d < (u128{1} << 63)) {
        const u128 v = d * d + 4 * s;
        const u128 t = wordmath::isqrt128(v);
        return t * t == v && t > d ? t : 0;
    }
    // d^2 nearly fills the word: t = d + k with k (2d + k) = 4s, k even and
    // small (4s is below 2^67 here).
    for (u128 k = 2; k * (2 * d + k) <= 4 * s; k += 2)
        if (k * (2 * d + k) == 4 * s) return d + k;
    return 0;
}

// Whether ab = s, |b - a| = d give (aF + e)(bF - e) = n for some e = +-1 and
// order of a and b.
bool splitsAs(u128 n, u128 f, u128 s, u128 d) {
    const u128 t = sumFromDifference(d, s);
    if (t == 0 || ((t - d) & 1) != 0) return false;
    const u128 a = (t - d) / 2, b = (t + d) / 2;
    if (a == 0) return false;
    const u128 orders[2][2] = {{a, b}, {b, a}};
    for (int e : {1, -1}) {
        for (const auto& xy : orders) {
            const u128 xf = productOrZero(xy[0], f), yf = productOrZero(xy[1], f);
            if (xf == 0 || yf == 0 || xf == ~u128{0} || yf == ~u128{0}) continue;
            const u128 p1 = e > 0 ? xf + 1 : xf - 1, p2 = e > 0 ? yf - 1 : yf + 1;
            if (productOrZero(p1, p2) == n) return true;
        }
    }
    return false;
}

// (F - 1)^3 > n and (F - 1)^2 > n for F >= 3.
bool cubeExceeds(u128 g, u128 n) { return g > n / g / g; }
bool squareExceeds(u128 g, u128 n) { return g > n / g; }

}  // namespace

CheckOutcome checkPlusSide(const PrimeCertificate& c, u128 f, u128 r) {
    const u128 n = c.n;
    if (f < 3 || !cubeExceeds(f - 1, n)) return {CheckResult::kTooSmall, 0};
    const uint64_t p = c.lucasP;
    if (p < 3 || p >= (uint64_t{1} << 16)) return {CheckResult::kMalformed, 0};
    const uint64_t d = p * p - 4;
    const int j = wordmath::jacobiOfSmall(d, n);
    if (j == 0) return {CheckResult::kComposite, 0};  // gcd(D, n) > 1 with D < n
    if (j == 1) return {CheckResult::kMalformed, 0};
    const Mont128 mont(n);
    const u128 pMont = mont.to(p);
    if (dTimesU(mont, pMont, n + 1) != 0) return {CheckResult::kComposite, 0};  // n does not divide U_(n+1)
    // With Q = 1 the sequence's root a of x^2 - Px + 1 has a^(2k) = 1 exactly
    // where U_k = 0: n | U_(n+1) gives a^(2(n+1)) = 1 modulo each prime p | n,
    // and gcd(U_k, n) = 1 gives a^(2k) != 1. For odd q, k = (n+1)/q puts
    // q^v (v its power in n + 1) into the order of a, which divides p - (D/p).
    // For q = 2, k = (n+1)/4 puts 2^v there (U_((n+1)/2) is always 0 for a
    // prime n); when 4 does not divide n + 1, 2 divides p - (D/p) anyway.
    const int twos = wordmath::ctz128(n + 1);
    for (unsigned i = 0; i < c.count; ++i) {
        const u128 q = c.prime[i];
        if (q == 2 && twos == 1) continue;
        const u128 k = q == 2 ? (n + 1) >> 2 : (n + 1) / q;
        const u128 g = wordmath::gcd128(mont.from(dTimesU(mont, pMont, k)), n);
        if (g == n) return {CheckResult::kWeakWitness, i};
        if (g != 1) return {CheckResult::kComposite, 0};
    }
    if (squareExceeds(f - 1, n)) return {CheckResult::kPrime, 0};
    // F < 2^64 + 2 here; R = c2 F + c1.
    const u128 c2 = r / f, c1 = r % f;
    if (splitsAs(n, f, c2, c1) || splitsAs(n, f, c2 + 1, f - c1)) return {CheckResult::kComposite, 0};
    return {CheckResult::kPrime, 0};
}

}  // namespace proof
