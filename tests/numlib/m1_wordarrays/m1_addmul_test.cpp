// Addition, subtraction, negation and multiplication of word arrays: the
// boundary cases, then random operands against GMP.
#include <gtest/gtest.h>

#include "q64/m1_wordarrays.h"
#include "tests/numlib/gmp_support.h"

using namespace gmptest;

namespace {
constexpr uint64_t kOnes = ~uint64_t{0};

TEST(WordsAddSub, CarryAndBorrowLeaveTheFrontOnlyAsResult) {
    Words ones(4, kOnes);
    EXPECT_EQ(_1_addn(ones.data(), 4, 1), 1);
    EXPECT_EQ(ones, Words(4, 0));
    Words zeros(4, 0);
    EXPECT_EQ(_1_subn(zeros.data(), 4, 1), -1);
    EXPECT_EQ(zeros, Words(4, kOnes));
    // Position k addresses word k-1; the words behind it are not touched.
    Words w{0, kOnes, 5};
    EXPECT_EQ(_1_addn(w.data(), 2, 1), 0);
    EXPECT_EQ(w, (Words{1, 0, 5}));
    EXPECT_EQ(_1_subn(w.data(), 2, 1), 0);
    EXPECT_EQ(w, (Words{0, kOnes, 5}));
}

TEST(WordsAddSub, NegationOfZeroAndOne) {
    Words z(3, 0);
    EXPECT_EQ(_1_neg(z.data(), 3), 1);
    EXPECT_EQ(z, Words(3, 0));
    Words one{0, 0, 1};
    EXPECT_EQ(_1_neg(one.data(), 3), 0);
    EXPECT_EQ(one, Words(3, kOnes));
}

TEST(WordsMul, SquareOfA64BitPrimeInFourWords) {
    const uint64_t p = 18446744073709551557ull;  // the largest 64-bit prime
    uint64_t r[4] = {0, p, 0xDEAD, 0xBEEF};      // room words need not be clear
    const uint64_t m[2] = {0, p};
    EXPECT_EQ(_1_mul(r, 2, m, 2), 4u);
    unsigned __int128 sq = static_cast<unsigned __int128>(p) * p;
    EXPECT_EQ(r[0], 0u);
    EXPECT_EQ(r[1], 0u);
    EXPECT_EQ(r[2], static_cast<uint64_t>(sq >> 64));
    EXPECT_EQ(r[3], static_cast<uint64_t>(sq));
}

TEST(WordsMul, OneWordMultipliers) {
    Words a{1, 0};
    EXPECT_EQ(_1_muln(a.data(), 1, kOnes), 2u);
    EXPECT_EQ(a, (Words{0, kOnes}));
    Words b{kOnes, kOnes, 0};
    EXPECT_EQ(_1_mul10n(b.data(), 2, 19), 3u);
    Z want(Words{kOnes, kOnes});
    mpz_mul_ui(want, want, 10000000000000000000ull);
    EXPECT_EQ(b, toWords(want, 3));
    Words c{7, 0};
    EXPECT_EQ(_1_mul10n(c.data(), 1, 0), 2u);
    EXPECT_EQ(c, (Words{0, 7}));
}

TEST(WordsAddSub, RandomAgainstGmp) {
    forEachSeed(3000, [&](Gen& g) {
        size_t na = 1 + g.below(40), nb = 1 + g.below(na);
        Words a = g.withLead(na), b = g.withLead(nb);
        Z za(a), zb(b);
        SCOPED_TRACE(hex(a) + " " + hex(b));

        Words s = a;
        const int64_t carry = _1_add(s.data(), na, b.data(), nb);
        expectSum(s, carry, za, zb);
        Words d = a;
        const int64_t borrow = _1_sub(d.data(), na, b.data(), nb);
        expectDifference(d, borrow, za, zb);

        // A single word at a random position, carrying or borrowing.
        uint64_t k = 1 + g.below(na), x = g.edgeWord();
        Z xs;
        mpz_set_ui(xs, x);
        mpz_mul_2exp(xs, xs, 64 * (na - k));
        Words an = a;
        const int64_t carried = _1_addn(an.data(), k, x);
        expectSum(an, carried, za, xs);
        Words sn = a;
        const int64_t borrowed = _1_subn(sn.data(), k, x);
        expectDifference(sn, borrowed, za, xs);

        Words ng = a;
        Z wrapped;
        mpz_ui_pow_ui(wrapped, 2, 64 * na);
        mpz_sub(wrapped, wrapped, za);
        EXPECT_EQ(_1_neg(ng.data(), na), za.sign() == 0 ? 1 : 0);
        EXPECT_EQ(ng, toWords(wrapped, na));
    });
}

TEST(WordsMul, RandomAgainstGmp) {
    forEachSeed(2000, [&](Gen& g) {
        size_t nr = 1 + g.below(40), na = 1 + g.below(40);
        Words r = g.withLead(nr), a = g.withLead(na);
        SCOPED_TRACE(hex(r) + " " + hex(a));
        Z zr(r), za(a), prod;
        mpz_mul(prod, zr, za);

        Words out = r;
        out.resize(nr + na, 0x5A5A5A5A5A5A5A5Aull);  // room holds rubbish
        EXPECT_EQ(_1_mul(out.data(), nr, a.data(), na), nr + na);
        EXPECT_EQ(out, toWords(prod, nr + na));

        uint64_t m = g.edgeWord();
        Z zm;
        mpz_mul_ui(zm, za, m);
        Words one = a;
        one.push_back(0x1234);
        EXPECT_EQ(_1_muln(one.data(), na, m), na + 1);
        EXPECT_EQ(one, toWords(zm, na + 1));

        // r[0..n] += A * m, the carry beyond r[0] dropped.
        Words acc = g.operand(na + 1);
        Z zacc(acc);
        mpz_add(zacc, zacc, zm);
        EXPECT_EQ(_1_mul1n(acc.data(), a.data(), na, m), na + 1);
        EXPECT_EQ(acc, toWords(zacc, na + 1));

        uint64_t k = g.below(20);
        Z z10;
        mpz_ui_pow_ui(z10, 10, k);
        mpz_mul(z10, z10, za);
        Words ten = a;
        ten.push_back(0);
        EXPECT_EQ(_1_mul10n(ten.data(), na, k), na + 1);
        EXPECT_EQ(ten, toWords(z10, na + 1));
    });
}
}  // namespace
