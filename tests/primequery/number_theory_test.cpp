// Miller–Rabin, Pollard's rho and the 128-bit helpers against GMP.
#include <gtest/gtest.h>

#include <random>

#include "primequery/miller_rabin.h"
#include "numlib/m0_utilities/montgomery.h"
#include "primequery/pollard_rho.h"
#include "numlib/m0_utilities/u128.h"
#include "tests/primequery/test_numbers.h"

namespace {

using primequery::Primality;
using testnum::dec;
using testnum::make;
using u128 = unsigned __int128;

constexpr uint64_t kSeed = 20240601;
// 318665857834031151167461: the smallest strong pseudoprime to the bases 2 .. 37.
const u128 kPsi12 = make(16800704772356552677ull, 17274);

bool fastPrime(u128 n) {
    Primality v = primequery::testPrimality(n);
    EXPECT_TRUE(n < primequery::kPsi13 ? v != Primality::kProbablePrime : v != Primality::kPrime) << dec(n);
    return v != Primality::kComposite;
}

TEST(MillerRabin, StrongPseudoprimesAndCarmichaelNumbersAreComposite) {
    // Strong pseudoprimes to many small prime bases, Carmichael numbers, and
    // the smallest numbers that fool fewer bases than the chosen sets.
    const u128 composites[] = {
        561, 1105, 1729, 2047, 3215031751ull, 2152302898747ull, 3474749660383ull,
        341550071728321ull, 3825123056546413051ull, kPsi12,
        static_cast<u128>(4294967291ull) * 4294967291ull,   // square of a 32-bit prime
        static_cast<u128>(18446744073709551557ull) * 3,     // 3 times the largest 64-bit prime
        make(~0ull, ~0ull),                                 // 2^128 - 1
    };
    for (u128 n : composites) EXPECT_EQ(fastPrime(n), testnum::gmpPrime(n)) << dec(n);
    EXPECT_FALSE(fastPrime(3825123056546413051ull));
    EXPECT_FALSE(fastPrime(kPsi12));
    // psi_13 itself: a strong pseudoprime to the thirteen bases 2 .. 41, so
    // the test can only call it probable.
    EXPECT_EQ(primequery::testPrimality(primequery::kPsi13), Primality::kProbablePrime);
    EXPECT_FALSE(testnum::gmpPrime(primequery::kPsi13));
}

TEST(MillerRabin, KnownPrimes) {
    const u128 primes[] = {2, 3, 97, 101, 4294967291ull, 4294967311ull, 18446744073709551557ull,
                           make(13, 1) /* 2^64 + 13 */, (static_cast<u128>(1) << 127) - 1,
                           make(~0ull - 158, ~0ull) /* 2^128 - 159 */};
    for (u128 n : primes) EXPECT_TRUE(fastPrime(n)) << dec(n);
    for (u128 n : {0, 1, 4, 9, 25, 49}) EXPECT_FALSE(fastPrime(n)) << dec(n);
}

TEST(MillerRabin, DivisorsOfTheBasesThemselves) {
    // A base that is 0 modulo n is skipped: n then divides the base. Every
    // divisor of every base, and its products with small primes, is tested.
    for (uint64_t base : {325ull, 9375ull, 28178ull, 450775ull, 9780504ull, 1795265022ull}) {
        for (uint64_t d = 1; d * d <= base; ++d) {
            if (base % d != 0) continue;
            for (uint64_t n : {d, base / d})
                for (uint64_t m : {1ull, 3ull, 7ull, 101ull, 65537ull})
                    ASSERT_EQ(fastPrime(static_cast<u128>(n) * m), testnum::gmpPrime(static_cast<u128>(n) * m))
                        << n << " * " << m;
        }
    }
}

TEST(MillerRabin, AgreesWithGmpOnRandomNumbers) {
    std::mt19937_64 gen(kSeed);
    SCOPED_TRACE(kSeed);
    for (int i = 0; i < 20000; ++i) {
        int bits = 2 + static_cast<int>(gen() % 127);
        u128 n = (i % 2 ? testnum::runs(gen, bits) : testnum::between(gen, 0, static_cast<u128>(1) << (bits - 1)) |
                                                           (static_cast<u128>(1) << (bits - 1))) | 1;
        ASSERT_EQ(fastPrime(n), testnum::gmpPrime(n)) << dec(n);
    }
    // Products of two primes of similar size, the hard case for a weak test.
    for (int i = 0; i < 300; ++i) {
        u128 p = testnum::gmpNextPrime(gen() >> (gen() % 40));
        u128 q = testnum::gmpNextPrime(gen() >> (gen() % 40));
        ASSERT_FALSE(fastPrime(p * q)) << dec(p) << " * " << dec(q);
    }
}

TEST(Montgomery, ProductsAgreeWithDirectArithmetic) {
    std::mt19937_64 gen(kSeed + 1);
    SCOPED_TRACE(kSeed + 1);
    for (int i = 0; i < 2000; ++i) {
        uint64_t n64 = gen() | 1;
        if (n64 < 3) n64 = 3;
        wordmath::Mont64 m64(n64);
        uint64_t a = gen() % n64, b = gen() % n64;
        ASSERT_EQ(m64.from(m64.mul(m64.to(a), m64.to(b))), static_cast<uint64_t>(static_cast<u128>(a) * b % n64));
        u128 n = make(gen() | 1, gen() | 1);
        wordmath::Mont128 m128(n);
        u128 x = make(gen(), gen()) % n, y = make(gen(), 0) % n;
        // x * y with y below 2^64 fits 192 bits: check via GMP.
        testnum::Mpz zx(x), zy(y), zn(n), zr;
        mpz_mul(zr.ptr(), zx.ptr(), zy.ptr());
        mpz_mod(zr.ptr(), zr.ptr(), zn.ptr());
        ASSERT_EQ(m128.from(m128.mul(m128.to(x), m128.to(y))), zr.get()) << dec(n);
    }
}

TEST(PollardRho, SplitsSemiprimesAndPrimePowers) {
    std::mt19937_64 gen(kSeed + 2);
    SCOPED_TRACE(kSeed + 2);
    for (int i = 0; i < 200; ++i) {
        int bits = 10 + static_cast<int>(gen() % 22);  // factors of 10 to 31 bits
        u128 p = testnum::gmpNextPrime(gen() >> (64 - bits));
        u128 q = testnum::gmpNextPrime(gen() >> (64 - bits - static_cast<int>(gen() % 30)));
        u128 n = p * q;
        u128 f = primequery::findFactor(n, 1u << 26);
        ASSERT_TRUE(f == p || f == q) << dec(n) << " gave " << dec(f);
    }
    u128 p = 1000003;
    EXPECT_EQ(primequery::findFactor(p * p * p, 1u << 20) % p, 0u);
    // A budget too small to finish gives 0, not a wrong factor.
    u128 big = static_cast<u128>(4294967291ull) * 4294967279ull;
    u128 f = primequery::findFactor(big, 16);
    EXPECT_TRUE(f == 0 || f == 4294967291ull || f == 4294967279ull);
}

TEST(U128Helpers, DivisionGcdAndRoot) {
    std::mt19937_64 gen(kSeed + 3);
    for (int i = 0; i < 2000; ++i) {
        u128 x = make(gen(), gen() >> (gen() % 64));
        uint64_t d = (gen() >> (gen() % 63)) | 1;
        uint64_t r;
        ASSERT_EQ(wordmath::divmod64(x, d, &r), x / d);
        ASSERT_EQ(r, static_cast<uint64_t>(x % d));
        ASSERT_EQ(wordmath::mod64(x, d), static_cast<uint64_t>(x % d));
        u128 s = wordmath::isqrt128(x);
        ASSERT_LE(s * s, x);
        if (s < ~0ull) {
            ASSERT_GT((s + 1) * (s + 1), x);
        }
        u128 a = make(gen(), gen() % 1000), b = make(gen(), 0);
        testnum::Mpz za(a), zb(b), zg;
        mpz_gcd(zg.ptr(), za.ptr(), zb.ptr());
        ASSERT_EQ(wordmath::gcd128(a, b), zg.get());
    }
    EXPECT_EQ(wordmath::isqrt128(make(~0ull, ~0ull)), ~0ull);
}

}  // namespace
