// Multiplication of NumRecs: the exact product and its room rules, products
// brought to an exponent or shortened, one-word factors, powers of ten and two.
#include <gtest/gtest.h>

#include "q64/m2_scratch.h"
#include "q64/mb_arithmetic.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using nrtest::Rec;
using nrtest::StackFiller;
using nrtest::Words;
using nrtest::workingUsed;
using nrtest::Z;
constexpr uint64_t kOnes = ~uint64_t{0};
constexpr uint64_t kTop = uint64_t{1} << 63;

TEST(NumRecMul, ZeroOperands) {
    Rec zero(false, 7, {0}, 4);
    Rec y(true, 3, {9}, 3);
    Words before = zero.w;
    EXPECT_EQ(_b_mul(zero.p(), y.p()), 0);
    EXPECT_EQ(zero.w, before);
    Rec x(false, 7, {9, 9}, 5);
    Rec yz(true, 3, {}, 3);
    EXPECT_EQ(_b_mul(x.p(), yz.p()), 0);
    EXPECT_EQ(x.lenv(), 0u);
    EXPECT_EQ(x.exp(), 7);
}

TEST(NumRecMul, ExponentsAddAndSignsCombine) {
    Rec x(true, 2, {kOnes}, 5);
    Rec y(false, -5, {kOnes}, 3);
    EXPECT_EQ(_b_mul(x.p(), y.p()), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{kOnes - 1, 1}));
    EXPECT_EQ(x.exp(), -3);
    EXPECT_TRUE(x.negative());
    Rec n(true, 0, {3}, 3);
    EXPECT_EQ(_b_mul(x.p(), n.p()), 0);
    EXPECT_FALSE(x.negative());
    Rec top(false, INT64_MAX, {2}, 4);
    Rec one(false, 1, {2}, 3);
    Words before = top.w;
    EXPECT_EQ(_b_mul(top.p(), one.p()), -1);  // exponent overflow: checked before any word changes
    EXPECT_EQ(top.w, before);
}

TEST(NumRecMul, LeadingZerosMakeRoomButNotMore) {
    Rec y(false, 0, {3, 4}, 4);
    Rec x(false, 0, {0, 0, 1, 2}, 6);  // capacity 4 = nx + ny
    EXPECT_EQ(_b_mul(x.p(), y.p()), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{0, 3, 10, 8}));
    Rec tight(false, 0, {0, 1, 2}, 5);  // capacity 3 = nx + ny - 1
    Words before = tight.w;
    EXPECT_EQ(_b_mul(tight.p(), y.p()), -1);
    EXPECT_EQ(tight.w, before);
}

TEST(NumRecMul, SquareOfARecordByItself) {
    Rec x(true, 1, {kOnes, 5}, 6);
    Z v = x.mantissa();
    mpz_mul(v, v, v);
    EXPECT_EQ(_b_mul(x.p(), x.p()), 0);
    EXPECT_EQ(mpz_cmp(x.mantissa(), v), 0);
    EXPECT_EQ(x.exp(), 2);
    EXPECT_FALSE(x.negative());
}

TEST(NumRecMul, ProductBroughtToAnExponent) {
    Rec y(false, 1, {kOnes}, 3);
    Rec x(false, 1, {kOnes}, 6);
    EXPECT_EQ(_b_mulrnd(x.p(), y.p(), 2), 0);
    Z v(kOnes);
    mpz_mul(v, v, v);
    EXPECT_EQ(mpz_cmp(x.mantissa(), v), 0);
    Rec x3(false, 1, {kOnes}, 6);
    EXPECT_EQ(_b_mulrnd(x3.p(), y.p(), 3), 0);
    mpz_tdiv_q(v, v, nrtest::petaPower(1));
    EXPECT_EQ(mpz_cmp(x3.mantissa(), v), 0);
    EXPECT_EQ(x3.exp(), 3);
    // Through a temporary: the product of two words does not fit one.
    Rec small(false, 1, {kOnes}, 3);
    EXPECT_EQ(_b_mulrnd(small.p(), y.p(), 2), 1);  // (2^64-1)^2 / 10^32 fits one word
    mpz_mul_ui(v, Z(kOnes), kOnes);
    mpz_tdiv_q(v, v, nrtest::petaPower(2));
    EXPECT_EQ(mpz_cmp(small.mantissa(), v), 0);
    EXPECT_EQ(small.exp(), 4);
}

TEST(NumRecMul, ShortenedProductCountsDroppedDigits) {
    uint64_t used = workingUsed();
    Rec x(true, 0, {kOnes, kOnes}, 4);
    Rec y(false, 0, {kOnes, kOnes}, 4);
    Z full = x.mantissa();
    mpz_mul(full, full, y.mantissa());
    EXPECT_EQ(_b_mulrndsz(x.p(), y.p()), 3);  // (2^128-1)^2 / 10^48 fits two words
    mpz_tdiv_q(full, full, nrtest::petaPower(3));
    EXPECT_EQ(mpz_cmp(x.mantissa(), full), 0);
    EXPECT_EQ(x.exp(), 3);
    EXPECT_TRUE(x.negative());
    EXPECT_EQ(workingUsed(), used);
    {
        StackFiller filler(3);
        Rec s(false, 0, {kOnes, kOnes}, 4);
        Words before = s.w;
        EXPECT_EQ(_b_squaresz(s.p()), -1);  // no copy
        EXPECT_EQ(_b_square(s.p()), -1);
        EXPECT_EQ(_b_mulrndsz(s.p(), y.p()), -1);  // no temporary
        EXPECT_EQ(s.w, before);
    }
    {
        StackFiller filler(5);  // room for the copy, not for the temporary
        Rec s(false, 0, {kOnes, kOnes}, 4);
        Words before = s.w;
        EXPECT_EQ(_b_squaresz(s.p()), -1);
        EXPECT_EQ(s.w, before);
    }
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumRecMul, OneWordFactors) {
    Rec x(false, 0, {5}, 4);
    EXPECT_EQ(_b_mulnum(x.p(), 0), 0);
    EXPECT_EQ(x.lenv(), 0u);
    Rec once(false, 0, {5, 0}, 4);  // full, first word significant
    EXPECT_EQ(_b_mulnum(once.p(), 3), 0);
    EXPECT_EQ(once.mantissaWords(), (Words{0, 9223 * 3}));
    EXPECT_EQ(once.exp(), 1);
    Rec twice(false, 0, {kTop, 0}, 4);
    EXPECT_EQ(_b_mulnum(twice.p(), 2), 0);
    EXPECT_EQ(twice.mantissaWords(), (Words{0, 1701411 * 2}));
    EXPECT_EQ(twice.exp(), 2);
    Rec none(false, 0, {}, 2);
    EXPECT_EQ(_b_mulnum(none.p(), 7), 0);
    EXPECT_EQ(none.lenv(), 0u);
    Rec lost(false, INT64_MAX, {kTop, 0}, 4);
    EXPECT_EQ(_b_mulnum(lost.p(), 2), -1);

    Rec s(false, 0, {7}, 4);
    EXPECT_EQ(_b_mulsnum(s.p(), -3), 0);
    EXPECT_TRUE(s.negative());
    EXPECT_EQ(_b_muladd(s.p(), 2, 50), 0);  // -21 * 2 + 50 = 8
    EXPECT_FALSE(s.negative());
    EXPECT_EQ(mpz_cmp(s.mantissa(), Z(8)), 0);
    EXPECT_EQ(_b_mulsub(s.p(), 3, 30), 0);  // 24 - 30 = -6
    EXPECT_TRUE(s.negative());
    EXPECT_EQ(mpz_cmp(s.mantissa(), Z(6)), 0);
}

TEST(NumRecMul, ConsecutiveIntegers) {
    Rec x(false, 0, {3}, 5);
    EXPECT_EQ(_b_mulnum2num(x.p(), 5, 1), 0);
    EXPECT_EQ(mpz_cmp(x.mantissa(), Z(360)), 0);
    Rec z(false, 0, {3}, 5);
    EXPECT_EQ(_b_mulnum2num(z.p(), 0, 3), 0);
    EXPECT_EQ(z.mantissa().sign(), 0);
    Rec f(false, 0, {1}, 12);
    EXPECT_EQ(_b_mulnum2num(f.p(), 1, 60), 0);  // 60! in several one-word steps
    Z fact;
    mpz_fac_ui(fact, 60);
    EXPECT_EQ(mpz_cmp(f.mantissa(), fact), 0);
    Rec top(false, 0, {1}, 4);
    EXPECT_EQ(_b_mulnum2num(top.p(), kOnes, kOnes - 1), 0);  // the loop ends at 2^64-1
    Z two(kOnes);
    mpz_mul_ui(two, two, kOnes - 1);
    EXPECT_EQ(mpz_cmp(top.mantissa(), two), 0);
}

TEST(NumRecMul, PowersOfTen) {
    Rec x(false, 1, {7}, 4);
    EXPECT_EQ(_b_mul10n(x.p(), 35), 0);
    EXPECT_EQ(x.exp(), 3);
    EXPECT_EQ(x.mantissaWords(), (Words{0, 7000}));
    Rec only(false, 1, {7}, 3);
    EXPECT_EQ(_b_mul10n(only.p(), 16), 0);
    EXPECT_EQ(only.exp(), 2);
    EXPECT_EQ(only.mantissaWords(), (Words{7}));
    Rec full(false, 0, {0, 7}, 4);  // compressed into the temporary, fits again
    EXPECT_EQ(_b_mul10n(full.p(), 3), 0);
    EXPECT_EQ(mpz_cmp(full.mantissa(), Z(7000)), 0);
    Rec grows(false, 4, {kOnes}, 3);
    Words before = grows.w;
    EXPECT_EQ(_b_mul10n(grows.p(), 33), -1);
    EXPECT_EQ(grows.w, before);  // the exponent step is taken back
    Rec top(false, INT64_MAX, {1}, 3);
    EXPECT_EQ(_b_mul10n(top.p(), 16), -1);
    EXPECT_EQ(top.exp(), INT64_MAX);
    EXPECT_EQ(_b_mul16n(top.p(), 0), 0);
}

TEST(NumRecMul, PowersOfTwoWithinCapacity) {
    Rec x(false, 0, {0, 3}, 6);
    Words before = x.w;
    EXPECT_EQ(_b_mul2n(x.p(), 0), 0);
    EXPECT_EQ(x.w, before);
    EXPECT_EQ(_b_mul2n(x.p(), 64), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{0, 3, 0}));
    EXPECT_EQ(_b_mul2n(x.p(), 63), 0);  // into the zero word in front
    EXPECT_EQ(x.mantissaWords(), (Words{1, kTop, 0}));
    before = x.w;
    EXPECT_EQ(_b_mul2n(x.p(), 128), -1);  // 3 * 2^127 has 129 bits: 127 are free
    EXPECT_EQ(x.w, before);
    EXPECT_EQ(_b_mul2n(x.p(), 127), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{3 * (kTop >> 1), 0, 0, 0}));
    Rec z(false, 0, {0}, 3);
    EXPECT_EQ(_b_mul2n(z.p(), 1000), 0);
    EXPECT_TRUE(x.guardsIntact());
}

TEST(NumRecMul, PowersOfTwoShortenedOrAtAnExponent) {
    uint64_t used = workingUsed();
    Rec x(false, 0, {5}, 3);
    EXPECT_EQ(_b_mul2nsz(x.p(), 130), 0);
    Z v(5);
    mpz_mul_2exp(v, v, 130);
    mpz_tdiv_q(v, v, nrtest::petaPower(2));
    EXPECT_EQ(mpz_cmp(x.mantissa(), v), 0);
    EXPECT_EQ(x.exp(), 2);
    Rec y(false, 0, {5}, 3);
    EXPECT_EQ(_b_mul2np(y.p(), 130, 2), 0);
    EXPECT_EQ(mpz_cmp(y.mantissa(), v), 0);  // 5 * 2^130 / 10^32 again
    EXPECT_EQ(y.exp(), 2);
    Rec z(false, 0, {5}, 3);
    Words before = z.w;
    EXPECT_EQ(_b_mul2np(z.p(), 130, 0), -1);  // 5 * 2^130 does not fit one word
    EXPECT_EQ(z.w, before);
    Rec w(false, 2, {5}, 8);
    EXPECT_EQ(_b_mul2np(w.p(), 3, 0), 0);
    Z exact(40);
    mpz_mul(exact, exact, nrtest::petaPower(2));
    EXPECT_EQ(mpz_cmp(w.mantissa(), exact), 0);
    EXPECT_EQ(w.exp(), 0);
    EXPECT_EQ(workingUsed(), used);
}

}  // namespace
