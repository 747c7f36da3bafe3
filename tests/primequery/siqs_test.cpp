// The quadratic sieve on composites made with GMP, at every size it serves:
// balanced semiprimes, uneven splits, three primes, and primes just above the
// trial bound times a large prime. Each answer must be a proper divisor.
// Then the stages against GMP arithmetic, on the work record a run leaves:
// the factor base, every polynomial of a few a's with its sieve roots, and
// every relation kept.
#include <gtest/gtest.h>

#include <random>

#include "primequery/factoring/siqs.h"
#include "primequery/factoring/siqs_work.h"
#include "tests/primequery/test_numbers.h"

namespace {

using testnum::dec;
using u128 = unsigned __int128;

int bitLength(u128 x) {
    int bits = 0;
    for (; x != 0; x >>= 1) ++bits;
    return bits;
}

// A prime of exactly `bits` bits (2 <= bits <= 127).
u128 randomPrime(std::mt19937_64& gen, int bits) {
    const u128 low = static_cast<u128>(1) << (bits - 1);
    for (;;) {
        u128 p = testnum::gmpNextPrime(testnum::between(gen, low, 2 * low - low / 8));
        if (bitLength(p) == bits) return p;
    }
}

// The primes making a composite of about `bits` bits, by shape.
enum class Shape { kBalanced, kTwoToThree, kThreePrimes, kTrialBoundTimesLarge };

u128 composite(std::mt19937_64& gen, int bits, Shape shape) {
    switch (shape) {
        case Shape::kBalanced:
            return randomPrime(gen, bits / 2) * randomPrime(gen, bits - bits / 2);
        case Shape::kTwoToThree:
            return randomPrime(gen, bits * 2 / 5) * randomPrime(gen, bits - bits * 2 / 5);
        case Shape::kThreePrimes:
            return randomPrime(gen, bits / 3) * randomPrime(gen, bits / 3) * randomPrime(gen, bits - 2 * (bits / 3));
        case Shape::kTrialBoundTimesLarge: {
            u128 small = testnum::gmpNextPrime(factoring::kSiqsTrialBound - 1 + gen() % 3);
            u128 large = randomPrime(gen, bits - bitLength(small));
            return small * large;
        }
    }
    return 0;
}

TEST(Siqs, ProperDivisorAtEverySize) {
#ifdef Q64_CHECKS
    const int step = 11, seeds = 1;  // the sanitizer build: fewer sizes
#else
    const int step = 4, seeds = 2;
#endif
    const Shape shapes[] = {Shape::kBalanced, Shape::kTwoToThree, Shape::kThreePrimes, Shape::kTrialBoundTimesLarge};
    for (int bits = factoring::kSiqsMinBits; bits <= 128; bits = bits < 128 && bits + step > 128 ? 128 : bits + step) {
        for (int seed = 0; seed < seeds; ++seed) {
            for (Shape shape : shapes) {
                std::mt19937_64 gen(static_cast<uint64_t>(bits * 131 + seed * 7 + static_cast<int>(shape)));
                const u128 n = composite(gen, bits, shape);
                const u128 f = factoring::siqsFactor(n);
                ASSERT_TRUE(f > 1 && f < n && n % f == 0)
                    << "n = " << dec(n) << " (" << bits << " bits, seed " << seed << ", shape "
                    << static_cast<int>(shape) << ") gave " << dec(f);
                // Every dependency the matrix finds must be a square, though
                // one that is not only costs a dependency.
                ASSERT_EQ(factoring::siqsStats().notSquare, 0u) << "n = " << dec(n);
            }
        }
    }
}

using factoring::siqs::Work;
using testnum::Mpz;

// kN as a GMP value.
void setKn(const Work& w, Mpz& kn) {
    Mpz n(w.n);
    mpz_mul_ui(kn.ptr(), n.ptr(), w.fb.multiplier);
}

// Every odd prime up to the largest one is in the factor base exactly when
// kN is a square mod p or p divides k, with a root t of t^2 = kN mod p.
void expectFactorBase(const Work& w) {
    Mpz kn, p;
    setKn(w, kn);
    ASSERT_EQ(w.fb.prime[0], 2u);
    uint32_t j = 1;
    const uint32_t largest = w.fb.prime[w.fb.count - 1];
    for (mpz_set_ui(p.ptr(), 3); mpz_cmp_ui(p.ptr(), largest) <= 0; mpz_nextprime(p.ptr(), p.ptr())) {
        const uint32_t prime = static_cast<uint32_t>(mpz_get_ui(p.ptr()));
        const uint32_t knModP = static_cast<uint32_t>(mpz_fdiv_ui(kn.ptr(), prime));
        const bool belongs = w.fb.multiplier % prime == 0 || mpz_kronecker_ui(kn.ptr(), prime) == 1;
        if (!belongs) continue;
        ASSERT_EQ(w.fb.prime[j], prime);
        const uint64_t t = w.fb.root[j];
        ASSERT_EQ(t * t % prime, knModP) << prime;
        ++j;
    }
    ASSERT_EQ(j, w.fb.count);
}

// b^2 = kN mod a, c = (b^2 - kN) / a, and Q(x) = a x^2 + 2 b x + c is 0 mod
// p at both roots of every factor base prime not in a.
void expectPolynomial(const Work& w) {
    const auto& P = w.poly;
    Mpz kn, b(static_cast<u128>(P.b < 0 ? -P.b : P.b)), c(static_cast<u128>(P.c < 0 ? -P.c : P.c)), t;
    if (P.b < 0) mpz_neg(b.ptr(), b.ptr());
    if (P.c < 0) mpz_neg(c.ptr(), c.ptr());
    setKn(w, kn);
    mpz_mul(t.ptr(), b.ptr(), b.ptr());
    mpz_sub(t.ptr(), t.ptr(), kn.ptr());
    ASSERT_TRUE(mpz_divisible_ui_p(t.ptr(), P.a));
    mpz_divexact_ui(t.ptr(), t.ptr(), P.a);
    ASSERT_EQ(mpz_cmp(t.ptr(), c.ptr()), 0);
    for (uint32_t j = 1; j < w.fb.count; ++j) {
        if (P.root1[j] == factoring::siqs::kNoRoot) continue;
        const int64_t p = w.fb.prime[j];
        for (const uint32_t r : {P.root1[j], P.root2[j]}) {
            const int64_t x = static_cast<int64_t>(r) - P.half;
            const __int128 q = (static_cast<__int128>(P.a) * x + 2 * P.b) * x + P.c;
            ASSERT_EQ(static_cast<int64_t>(q % p), 0) << "prime " << p << ", b index " << P.bIndex;
        }
    }
}

// y^2 = (-1)^negative 2^twos (the primes of the relation) large (mod n).
void expectRelations(const Work& w) {
    Mpz n(w.n), left, right, p;
    for (uint32_t r = 0; r < w.rs.count; ++r) {
        const auto& rel = w.rs.rel[r];
        Mpz y(rel.y);
        mpz_powm_ui(left.ptr(), y.ptr(), 2, n.ptr());
        mpz_set_ui(right.ptr(), rel.large);
        mpz_mul_2exp(right.ptr(), right.ptr(), rel.twos);
        for (uint32_t k = 0; k < rel.count; ++k)
            mpz_mul_ui(right.ptr(), right.ptr(), w.fb.prime[w.rs.pool[rel.offset + k]]);
        if (rel.negative) mpz_neg(right.ptr(), right.ptr());
        mpz_mod(right.ptr(), right.ptr(), n.ptr());
        ASSERT_EQ(mpz_cmp(left.ptr(), right.ptr()), 0) << "relation " << r;
    }
}

TEST(Siqs, StagesAgreeWithPlainArithmetic) {
    for (int bits : {48, 80, 112, 128}) {
        std::mt19937_64 gen(static_cast<uint64_t>(bits));
        const u128 n = composite(gen, bits, Shape::kBalanced);
        SCOPED_TRACE("n = " + dec(n));
        ASSERT_NE(factoring::siqsFactor(n), 0u);
        Work& w = factoring::siqs::work;
        ASSERT_GT(w.rs.count, w.fb.count);
        expectFactorBase(w);
        expectRelations(w);
        factoring::siqs::setupPolynomials(w);
        for (int a = 0; a < 3; ++a) {
            ASSERT_TRUE(factoring::siqs::firstPolynomial(w));
            do expectPolynomial(w);
            while (!testing::Test::HasFatalFailure() && factoring::siqs::nextPolynomial(w));
        }
    }
}

}  // namespace
