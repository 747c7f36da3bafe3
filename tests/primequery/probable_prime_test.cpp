// Baillie–PSW: the 64-bit test against the seven-base Miller–Rabin
// reference, the Lucas half against a plain strong Lucas test on GMP
// integers (U_k, V_k by the textbook doubling formulas), the 128-bit filter
// against GMP, and the Montgomery operations it rests on.
#include <gtest/gtest.h>

#include <random>

#include "numlib/m0_utilities/montgomery.h"
#include "numlib/m0_utilities/prime_test64.h"
#include "numlib/m0_utilities/probable_prime.h"
#include "tests/primequery/miller_rabin_reference.h"
#include "tests/primequery/test_numbers.h"

namespace {

using testnum::dec;
using testnum::make;
using testnum::Mpz;
using u128 = unsigned __int128;

// The strong Lucas test with Selfridge's parameters, literally.
bool strongLucasReference(u128 value) {
    Mpz n(value), d, u, v, qk, t, half;
    long dd = 5;
    for (;; dd = dd > 0 ? -(dd + 2) : -(dd - 2)) {
        mpz_set_si(t.ptr(), dd);
        const int j = mpz_jacobi(t.ptr(), n.ptr());
        if (j == -1) break;
        if (j == 0) return mpz_cmpabs_ui(n.ptr(), static_cast<unsigned long>(dd < 0 ? -dd : dd)) == 0;
    }
    const long q = (1 - dd) / 4;
    mpz_add_ui(d.ptr(), n.ptr(), 1);
    const unsigned long s = mpz_scan1(d.ptr(), 0);
    mpz_tdiv_q_2exp(d.ptr(), d.ptr(), s);
    mpz_add_ui(half.ptr(), n.ptr(), 1);
    mpz_tdiv_q_2exp(half.ptr(), half.ptr(), 1);  // 2^-1 mod n
    auto mod = [&](mpz_ptr x) { mpz_mod(x, x, n.ptr()); };
    mpz_set_ui(u.ptr(), 0);
    mpz_set_ui(v.ptr(), 2);
    mpz_set_ui(qk.ptr(), 1);
    for (long bit = static_cast<long>(mpz_sizeinbase(d.ptr(), 2)) - 1; bit >= 0; --bit) {
        mpz_mul(u.ptr(), u.ptr(), v.ptr());  // U_2k = U_k V_k
        mod(u.ptr());
        mpz_mul(v.ptr(), v.ptr(), v.ptr());  // V_2k = V_k^2 - 2 Q^k
        mpz_submul_ui(v.ptr(), qk.ptr(), 2);
        mod(v.ptr());
        mpz_mul(qk.ptr(), qk.ptr(), qk.ptr());
        mod(qk.ptr());
        if (mpz_tstbit(d.ptr(), static_cast<mp_bitcnt_t>(bit))) {
            mpz_add(t.ptr(), u.ptr(), v.ptr());  // U_k+1 = (P U_k + V_k)/2
            mpz_mul_si(u.ptr(), u.ptr(), dd);    // V_k+1 = (D U_k + P V_k)/2
            mpz_add(v.ptr(), u.ptr(), v.ptr());
            mpz_mul(u.ptr(), t.ptr(), half.ptr());
            mpz_mul(v.ptr(), v.ptr(), half.ptr());
            mod(u.ptr());
            mod(v.ptr());
            mpz_mul_si(qk.ptr(), qk.ptr(), q);
            mod(qk.ptr());
        }
    }
    if (mpz_sgn(u.ptr()) == 0 || mpz_sgn(v.ptr()) == 0) return true;
    for (unsigned long r = 1; r < s; ++r) {
        mpz_mul(v.ptr(), v.ptr(), v.ptr());
        mpz_submul_ui(v.ptr(), qk.ptr(), 2);
        mod(v.ptr());
        mpz_mul(qk.ptr(), qk.ptr(), qk.ptr());
        mod(qk.ptr());
        if (mpz_sgn(v.ptr()) == 0) return true;
    }
    return false;
}

// The library's Lucas half alone, for odd n > 1000 prime to 3 and no square.
template <class Mont, class Word>
bool strongLucas(Word n) {
    const Mont mont(n);
    bool negative;
    const uint64_t d = wordmath::selfridgeD(n, &negative);
    if (d < 5) return false;
    const Word qInverse = mont.to(wordmath::inverseOfSmall(negative ? (d + 1) / 4 : (d - 1) / 4, n));
    const Word pPrime = mont.sub(negative ? qInverse : mont.sub(0, qInverse), mont.add(mont.one(), mont.one()));
    wordmath::LucasLadder<Mont, Word> ladder(mont, pPrime);
    const int s = wordmath::ctz(static_cast<Word>(n + 1));
    const Word m = ((n + 1) >> s) >> 1;
    for (int bit = 8 * static_cast<int>(sizeof(Word)) - 1; bit >= 0; --bit) ladder.step(mont, (m >> bit) & 1);
    return ladder.strong(mont, s);
}

bool isSquare(u128 n) {
    const u128 r = wordmath::isqrt128(n);
    return r * r == n;
}

TEST(BailliePsw, LucasHalfMatchesTheLiteralTestUpTo40000) {
    // Among these the strong Lucas pseudoprimes 5459, 5777, 10877, 16109,
    // 18971, 22499, 24569, 25199 and 40309 pass, while composite.
    int pseudoprimes = 0;
    for (uint64_t n = 1001; n < 40400; n += 2) {
        if (n % 3 == 0 || isSquare(n)) continue;
        const bool literal = strongLucasReference(n);
        ASSERT_EQ((strongLucas<wordmath::Mont64, uint64_t>(n)), literal) << n;
        if (literal && !testnum::gmpPrime(n)) ++pseudoprimes;
    }
    EXPECT_EQ(pseudoprimes, 9);
}

TEST(BailliePsw, LucasHalfMatchesTheLiteralTestOnLargeNumbers) {
    std::mt19937_64 gen(71);
    SCOPED_TRACE(71);
    for (int i = 0; i < 3000; ++i) {
        const int bits = 11 + static_cast<int>(gen() % 117);
        u128 n = testnum::between(gen, u128{1} << (bits - 1), bits == 128 ? ~u128{0} : u128{1} << bits) | 1;
        if (i % 2) n = testnum::gmpNextPrime(n);  // primes pass both
        if (n % 3 == 0 || isSquare(n)) continue;
        const bool literal = strongLucasReference(n);
        if (n >> 64)
            ASSERT_EQ((strongLucas<wordmath::Mont128, u128>(n)), literal) << dec(n);
        else
            ASSERT_EQ((strongLucas<wordmath::Mont64, uint64_t>(static_cast<uint64_t>(n))), literal) << dec(n);
    }
}

TEST(BailliePsw, AgreesWithSevenBasesBelow2To64) {
    for (uint64_t n = 0; n < 300000; ++n) ASSERT_EQ(wordmath::isPrime64(n), mrreference::millerRabin7(n)) << n;
    std::mt19937_64 gen(72);
    SCOPED_TRACE(72);
    for (int i = 0; i < 200000; ++i) {
        const int bits = 2 + static_cast<int>(gen() % 63);
        uint64_t n = static_cast<uint64_t>(i % 2 ? testnum::runs(gen, bits) : gen() >> (64 - bits));
        ASSERT_EQ(wordmath::isPrime64(n), mrreference::millerRabin7(n)) << n;
    }
    // Base-2 strong pseudoprimes, Carmichael numbers, squares and the top.
    for (uint64_t n : {2047ull, 3277ull, 4033ull, 4681ull, 8321ull, 15841ull, 29341ull, 42799ull, 561ull, 1105ull,
                       1729ull, 41041ull, 825265ull, 321197185ull, 3825123056546413051ull, 1921077350011ull,
                       4294967291ull * 4294967291ull, 4294967279ull * 4294967291ull, 18446744073709551557ull,
                       18446744073709551615ull, 18446744073709551613ull, 18446744073709551533ull})
        EXPECT_EQ(wordmath::isPrime64(n), mrreference::millerRabin7(n)) << n;
}

TEST(BailliePsw, FilterAgreesWithGmpAbove2To64) {
    std::mt19937_64 gen(73);
    SCOPED_TRACE(73);
    auto filter = [](u128 n) {
        for (uint64_t p : {3, 5, 7, 11, 13})
            if (n % p == 0) return false;
        return wordmath::bailliePsw<wordmath::Mont128, u128>(wordmath::Mont128(n));
    };
    for (int i = 0; i < 4000; ++i) {
        const int bits = 65 + static_cast<int>(gen() % 64);
        u128 n = testnum::between(gen, u128{1} << (bits - 1), bits == 128 ? ~u128{0} : u128{1} << bits) | 1;
        if (i % 3 == 0) n = testnum::gmpNextPrime(n);
        if (i % 3 == 1) {  // a product of two primes of about half the size
            const u128 p = testnum::gmpNextPrime(n >> (bits / 2 + 1));
            n = p * testnum::gmpNextPrime(p + 2 * (gen() % 1000000));
        }
        ASSERT_EQ(filter(n), testnum::gmpPrime(n)) << dec(n);
    }
    // Strong pseudoprimes to the prime bases 2 .. 37 and 2 .. 41.
    for (u128 n : {make(16800704772356552677ull, 17274), make(5885577656943027709ull, 179817)})
        EXPECT_FALSE(filter(n)) << dec(n);
}

TEST(Montgomery, OperationsAgreeWithGmp) {
    std::mt19937_64 gen(74);
    SCOPED_TRACE(74);
    for (int i = 0; i < 20000; ++i) {
        const u128 n = (make(gen(), gen() >> (gen() % 64)) | 1) | (u128{1} << 64);
        const wordmath::Mont128 m(n);
        const u128 a = make(gen(), gen()) % n, b = make(gen(), gen()) % n, c = make(gen(), gen()) % n;
        Mpz za(a), zb(b), zn(n), zr;
        mpz_mul(zr.ptr(), za.ptr(), zb.ptr());
        mpz_mod(zr.ptr(), zr.ptr(), zn.ptr());
        ASSERT_EQ(m.from(m.mul(m.to(a), m.to(b))), zr.get()) << dec(n);
        mpz_mul(zr.ptr(), za.ptr(), za.ptr());
        mpz_mod(zr.ptr(), zr.ptr(), zn.ptr());
        ASSERT_EQ(m.from(m.square(m.to(a))), zr.get()) << dec(n);
        mpz_mul_2exp(zr.ptr(), zr.ptr(), 1);
        mpz_mod(zr.ptr(), zr.ptr(), zn.ptr());
        ASSERT_EQ(m.from(m.squareDoubled(m.to(a), 1)), zr.get()) << dec(n);
        ASSERT_EQ(m.from(m.mulSub(m.to(a), m.to(b), m.to(c))), m.from(m.sub(m.mul(m.to(a), m.to(b)), m.to(c))));
        const uint64_t n64 = static_cast<uint64_t>(gen() | 1 | (uint64_t{1} << (gen() % 64)));
        if (n64 < 3) continue;
        const wordmath::Mont64 m64(n64);
        const uint64_t x = gen() % n64, y = gen() % n64;
        const uint64_t xy = static_cast<uint64_t>(static_cast<u128>(x) * y % n64);
        ASSERT_EQ(m64.from(m64.mul(m64.to(x), m64.to(y))), xy) << n64;
        const uint64_t xx2 = static_cast<uint64_t>(static_cast<u128>(x) * x % n64 * 2 % n64);
        ASSERT_EQ(m64.from(m64.squareDoubled(m64.to(x), 1)), xx2) << n64;
        ASSERT_EQ(m64.from(m64.squareDoubled(m64.to(x), 0)), static_cast<uint64_t>(static_cast<u128>(x) * x % n64));
    }
}

}  // namespace
