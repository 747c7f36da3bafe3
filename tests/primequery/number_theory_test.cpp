// Montgomery products, Pollard's rho and the 128-bit helpers against GMP.
#include <gtest/gtest.h>

#include <random>

#include "numlib/m0_utilities/montgomery.h"
#include "primequery/factoring/pollard_rho.h"
#include "numlib/m0_utilities/u128.h"
#include "tests/primequery/test_numbers.h"

namespace {

using testnum::dec;
using testnum::make;
using u128 = unsigned __int128;

constexpr uint64_t kSeed = 20240601;

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
        u128 f = factoring::rhoFactor(n, 1u << 26);
        ASSERT_TRUE(f == p || f == q) << dec(n) << " gave " << dec(f);
    }
    u128 p = 1000003;
    EXPECT_EQ(factoring::rhoFactor(p * p * p, 1u << 20) % p, 0u);
    // A budget too small to finish gives 0, not a wrong factor.
    u128 big = static_cast<u128>(4294967291ull) * 4294967279ull;
    u128 f = factoring::rhoFactor(big, 16);
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
