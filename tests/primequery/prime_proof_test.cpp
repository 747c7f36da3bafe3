// Certificates: each side built alone for random primes (both of each
// side's branches reached), the check refusing altered certificates, and
// composites made so that every Pocklington condition holds and only the
// square test of Brillhart, Lehmer and Selfridge can see them.
#include <gtest/gtest.h>

#include <random>

#include "numlib/m0_utilities/u128.h"
#include "primequery/proof/certificate_side.h"
#include "primequery/proof/prime_certificate.h"
#include "primequery/proof/proven_prime.h"
#include "tests/primequery/test_numbers.h"

namespace {

using proof::CheckResult;
using proof::PrimeCertificate;
using proof::Side;
using testnum::dec;
using testnum::make;
using testnum::Mpz;
using u128 = unsigned __int128;

// The certificate of one side, its parts split to the end if need be.
PrimeCertificate certificateOfSide(u128 n, int sign) {
    Side side(n, sign);
    while (!side.enough()) {
        if (side.composites().count > 0)
            side.splitSmallest();
        else
            side.proveProbable();
    }
    EXPECT_EQ(side.finish(), Side::Finish::kPrime) << dec(n) << " side " << sign;
    return side.certificate();
}

u128 factoredPart(const PrimeCertificate& c) {
    u128 f = 1;
    for (unsigned i = 0; i < c.count; ++i)
        for (unsigned e = 0; e < c.exponent[i]; ++e) f *= c.prime[i];
    return f;
}

TEST(PrimeProof, EachSideProvesRandomPrimes) {
    std::mt19937_64 gen(91);
    SCOPED_TRACE(91);
    int branch[2][2] = {};  // [side][F^2 > n]
    for (int i = 0; i < 60; ++i) {
        const int bits = 65 + (i * 37) % 64;
        const u128 n = testnum::gmpNextPrime(testnum::between(gen, u128{1} << (bits - 1), (u128{1} << (bits - 1)) * 2 - 200));
        for (int sign : {-1, 1}) {
            const PrimeCertificate c = certificateOfSide(n, sign);
            ASSERT_EQ(proof::checkCertificate(c).result, CheckResult::kPrime) << dec(n) << " side " << sign;
            const u128 f = factoredPart(c) - (sign > 0 ? 1 : 0);
            ++branch[sign > 0][f > n / f];
        }
    }
    for (int s = 0; s < 2; ++s)
        for (int b = 0; b < 2; ++b) EXPECT_GT(branch[s][b], 0) << "side " << s << " branch " << b << " never reached";
}

TEST(PrimeProof, AlteredCertificatesAreRefused) {
    const u128 n = make(~0ull - 158, ~0ull);  // 2^128 - 159
    for (int sign : {-1, 1}) {
        const PrimeCertificate good = certificateOfSide(n, sign);
        ASSERT_EQ(proof::checkCertificate(good).result, CheckResult::kPrime);
        PrimeCertificate c = good;
        c.exponent[0] += 40;  // 2^41 more does not divide n -+ 1
        EXPECT_EQ(proof::checkCertificate(c).result, CheckResult::kMalformed);
        c = good;
        c.prime[c.count - 1] *= 3;  // not prime
        EXPECT_EQ(proof::checkCertificate(c).result, CheckResult::kMalformed);
        c = good;
        c.count = 1;  // F = a power of 2 is too small
        EXPECT_EQ(proof::checkCertificate(c).result, CheckResult::kTooSmall);
        c = good;
        c.side = -sign;
        EXPECT_NE(proof::checkCertificate(c).result, CheckResult::kPrime);
        c = good;
        c.n = n - 2;  // 2^128 - 161 = 3 * 113427455640312821154458202477256070433 (composite)
        EXPECT_NE(proof::checkCertificate(c).result, CheckResult::kPrime);
    }
}

// A witness for q that passes Pocklington's conditions for n = p1 p2 with
// F | p_i - 1: a^F = 1 modulo both primes (so a^(n-1) = 1) and
// a^((n-1)/q) != 1 modulo each (so the gcd is 1); 0 when none below 10^5.
uint64_t passingWitness(u128 p1, u128 p2, u128 f, u128 q) {
    const u128 n = p1 * p2;
    Mpz zf(f), zk((n - 1) / q), x;
    for (uint64_t a = 2; a < 100000; ++a) {
        Mpz za(a);
        bool passes = true;
        for (u128 p : {p1, p2}) {
            Mpz zp(p);
            mpz_powm(x.ptr(), za.ptr(), zf.ptr(), zp.ptr());
            passes = passes && mpz_cmp_ui(x.ptr(), 1) == 0;
            mpz_powm(x.ptr(), za.ptr(), zk.ptr(), zp.ptr());
            passes = passes && mpz_cmp_ui(x.ptr(), 1) != 0;
        }
        if (passes) return a;
    }
    return 0;
}

TEST(PrimeProof, SquareTestSeesCompositesThatPassPocklington) {
    // F = 2^4 * 3^3 * 5^2 * 7 * 11 * ... * 31 (46 bits), p_i = a_i F + 1.
    const u128 f = u128{16} * 27 * 25 * 7 * 11 * 13 * 17 * 19 * 23 * 29 * 31;
    int seen = 0;
    for (u128 a1 = 1; a1 < 60 && seen < 3; ++a1) {
        const u128 p1 = a1 * f + 1;
        if (!testnum::gmpPrime(p1)) continue;
        for (u128 a2 = a1 + 1; a2 < 120 && seen < 3; ++a2) {
            const u128 p2 = a2 * f + 1, n = p1 * p2;
            // A q of F dividing a1 + a2 divides (n - 1)/F: no witness for it.
            if (wordmath::gcd128(a1 + a2, f) != 1 || !testnum::gmpPrime(p2)) continue;
            if (f <= n / f / f || f > n / f) continue;  // F^2 <= n < F^3
            PrimeCertificate c{};
            c.n = n;
            c.side = -1;
            const unsigned primes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31}, exps[] = {4, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1};
            c.count = 11;
            bool found = true;
            for (unsigned i = 0; i < 11; ++i) {
                c.prime[i] = primes[i];
                c.exponent[i] = exps[i];
                c.witness[i] = passingWitness(p1, p2, f, primes[i]);
                found = found && c.witness[i] != 0;
            }
            ASSERT_TRUE(found) << dec(n);
            EXPECT_EQ(proof::checkCertificate(c).result, CheckResult::kComposite) << dec(n) << " = " << dec(p1) << " * " << dec(p2);
            ++seen;
        }
    }
    EXPECT_EQ(seen, 3);
}

TEST(PrimeProof, SplitTestSeesCompositesThatPassMorrison) {
    // F = 2^11 * 3 * 5 * 7 * 13 * 17 * 19 * 23 * 31 * 37 with F + 1 and 2F - 1
    // prime: n = (F + 1)(2F - 1) has n + 1 = F (2F + 1). A P with (D/F+1) = 1
    // and (D/2F-1) = -1 gives roots of orders dividing F and 2F; among the P
    // tried here 925, 1100, 1310 and 1416 pass every Lucas condition, so
    // that only the last step can see n (the others fail earlier).
    const u128 f = u128{2048} * 3 * 5 * 7 * 13 * 17 * 19 * 23 * 31 * 37;
    ASSERT_TRUE(testnum::gmpPrime(f + 1) && testnum::gmpPrime(2 * f - 1));
    PrimeCertificate c{};
    c.n = (f + 1) * (2 * f - 1);
    c.side = 1;
    const unsigned primes[] = {2, 3, 5, 7, 13, 17, 19, 23, 31, 37};
    for (unsigned q : primes) {
        c.prime[c.count] = q;
        c.exponent[c.count++] = q == 2 ? 11 : 1;
    }
    int composite = 0;
    for (c.lucasP = 900; c.lucasP < 1450; ++c.lucasP) {
        const CheckResult r = proof::checkCertificate(c).result;
        EXPECT_NE(r, CheckResult::kPrime) << "P = " << c.lucasP;
        composite += r == CheckResult::kComposite;
    }
    EXPECT_GT(composite, 0);
}

TEST(PrimeProof, TheTestAnswersTheTraps) {
    EXPECT_TRUE(proof::isPrime128((u128{1} << 127) - 1));
    EXPECT_TRUE(proof::isPrime128(make(~0ull - 158, ~0ull)));
    EXPECT_TRUE(proof::isPrime128(make(13, 1)));  // 2^64 + 13
    EXPECT_FALSE(proof::isPrime128(make(16800704772356552677ull, 17274)));
    EXPECT_FALSE(proof::isPrime128(make(5885577656943027709ull, 179817)));
    EXPECT_FALSE(proof::isPrime128(make(0, 1) + 1));  // 274177 * 67280421310721
}

}  // namespace
