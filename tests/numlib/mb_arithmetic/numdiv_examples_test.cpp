// Division of NumRecs on small worked cases: the in-place layouts, the room
// rules, the one-word encodings and the failures that leave x unchanged.
#include <gtest/gtest.h>

#include "q64/m3_petapowers.h"
#include "q64/mb_arithmetic.h"
#include "tests/numlib/numdiv_oracle.h"

namespace {
using divtest::Rec;
using divtest::StackFiller;
using divtest::Words;
using divtest::Z;
using nrtest::workingUsed;
constexpr uint64_t kOnes = ~uint64_t{0};
constexpr uint64_t kPeta = NUMREC_PETA;

TEST(NumDiv, SmallQuotientsTruncate) {
    Rec x(false, 0, {7}, 4), y(false, 0, {2}, 3);
    EXPECT_EQ(_b_div(x.p(), y.p()), 0);
    EXPECT_EQ(mpz_get_ui(x.mantissa()), 3u);
    EXPECT_EQ(x.exp(), 0);
    Rec small(false, 0, {2}, 4), seven(true, 3, {7}, 3);
    EXPECT_EQ(_b_div(small.p(), seven.p()), 0);
    EXPECT_EQ(small.mantissa().sign(), 0);
    Rec neg(true, 5, {kOnes, 0}, 5), d(false, 2, {kOnes}, 3);
    EXPECT_EQ(_b_div(neg.p(), d.p()), 0);
    EXPECT_EQ(neg.mantissaWords(), (Words{1, 0}));  // 2^64 exactly, the zero word kept in front
    EXPECT_EQ(neg.exp(), 3);
    EXPECT_TRUE(neg.negative());
}

TEST(NumDiv, FrontWordRules) {
    Rec full(false, 0, {7}, 3), y(false, 0, {2}, 3);  // capacity 1: no front word
    Words before = full.w;
    EXPECT_EQ(_b_div(full.p(), y.p()), -1);
    EXPECT_EQ(full.w, before);
    Rec big(false, 0, {kOnes}, 4), one(false, 0, {1}, 3);
    EXPECT_EQ(_b_div(big.p(), one.p()), 0);
    EXPECT_EQ(big.mantissaWords(), (Words{kOnes}));
    Rec lead(false, 0, {0, kOnes}, 4);  // full, but its leading zero word takes the quotient word
    EXPECT_EQ(_b_div(lead.p(), one.p()), 0);
    EXPECT_EQ(mpz_cmp(lead.mantissa(), Z(kOnes)), 0);
    Rec equalTop(false, 0, {5, 7}, 5), five(false, 0, {5}, 3);  // leading word equal to y: a front word
    EXPECT_EQ(_b_div(equalTop.p(), five.p()), 0);
    EXPECT_EQ(equalTop.mantissaWords(), (Words{1, 1}));
    Rec equalTop2(false, 0, {5, 7}, 5);
    EXPECT_EQ(_b_divrmd(equalTop2.p(), five.p()), 2);
    EXPECT_EQ(equalTop2.mantissaWords(), (Words{1, 1, 2}));
    Rec zeroY(false, 0, {0}, 3);
    before = big.w;
    EXPECT_EQ(_b_div(big.p(), zeroY.p()), -1);
    EXPECT_EQ(big.w, before);
    Rec top(false, INT64_MIN + 1, {9}, 4), up(false, 2, {3}, 3);
    before = top.w;
    EXPECT_EQ(_b_div(top.p(), up.p()), -1);  // exponent overflow, checked before any word changes
    EXPECT_EQ(top.w, before);
}

TEST(NumDiv, RecordByItself) {
    Rec x(true, -4, {0, 12, 34}, 6);
    EXPECT_EQ(_b_div(x.p(), x.p()), 0);
    EXPECT_EQ(mpz_get_ui(x.mantissa()), 1u);
    EXPECT_EQ(x.exp(), 0);
    EXPECT_FALSE(x.negative());
    Rec r(false, 1, {5, 6}, 5);
    EXPECT_EQ(_b_reminder(r.p(), r.p()), 1);
    EXPECT_EQ(r.mantissa().sign(), 0);
    EXPECT_EQ(workingUsed(), 0u);
}

TEST(NumDiv, FixedPointQuotient) {
    Rec x(false, 0, {7}, 6), y(false, 0, {2}, 3);
    EXPECT_EQ(_b_divrnd(x.p(), y.p(), 0), 0);  // e = ex - ey: _b_div
    EXPECT_EQ(mpz_get_ui(x.mantissa()), 3u);
    Rec z(false, 0, {7}, 6);
    EXPECT_EQ(_b_divrnd(z.p(), y.p(), -1), 0);  // one peta digit more
    EXPECT_EQ(mpz_get_ui(z.mantissa()), 35 * kPeta / 10);
    EXPECT_EQ(z.exp(), -1);
    Rec tight(false, 0, {kOnes}, 3), three(false, 0, {3}, 3);  // 10^16 / 3 * (2^64-1): two words
    Words before = tight.w;
    EXPECT_EQ(_b_divrnd(tight.p(), three.p(), -1), -1);
    EXPECT_EQ(tight.w, before);
    EXPECT_EQ(workingUsed(), 0u);
}

TEST(NumDiv, InversesOfZeroFail) {
    Rec zero(true, 3, {0, 0}, 5);
    Words before = zero.w;
    EXPECT_EQ(_b_inverse(zero.p()), -1);
    EXPECT_EQ(_b_inversez(zero.p()), -1);
    EXPECT_EQ(zero.w, before);
    Rec three(true, -1, {3}, 5);  // -3 * 10^-16: the inverse is -3333333333333333.33...
    EXPECT_EQ(_b_inverse(three.p()), 0);
    EXPECT_EQ(mpz_cmp(three.mantissa(), divtest::tdivQ(nrtest::petaPower(2), Z(3))), 0);
    EXPECT_EQ(three.exp(), -1);
    EXPECT_TRUE(three.negative());
    Rec full(false, -1, {3}, 3);  // the inverse needs two words
    before = full.w;
    EXPECT_EQ(_b_inverse(full.p()), -1);
    EXPECT_EQ(mpz_get_ui(full.mantissa()), 3u);
    EXPECT_EQ(full.exp(), -1);
    EXPECT_EQ(workingUsed(), 0u);
}

TEST(NumDiv, OneWordDivisors) {
    Rec x(false, 2, {kOnes, 5}, 5);
    Words before = x.w;
    EXPECT_EQ(_b_divnum(x.p(), 1), 0);
    EXPECT_EQ(_b_divnum(x.p(), 0), -1);
    EXPECT_EQ(_b_divsnum(x.p(), 0), -1);
    EXPECT_EQ(x.w, before);
    EXPECT_EQ(_b_divsnum(x.p(), -2), 0);
    EXPECT_TRUE(x.negative());
    EXPECT_EQ(x.mantissaWords(), (Words{kOnes >> 1, (uint64_t{1} << 63) | 2}));
    Z expect = divtest::tdivQ(x.mantissa(), Z(kOnes));
    EXPECT_EQ(_b_divnum(x.p(), kOnes), 0);
    EXPECT_EQ(x.lenv(), 2u);  // the first word became zero and stays
    EXPECT_EQ(x.w[2], 0u);
    EXPECT_EQ(mpz_cmp(x.mantissa(), expect), 0);
    EXPECT_EQ(x.exp(), 2);
    Rec m(false, 0, {1}, 3);
    EXPECT_EQ(_b_divsnum(m.p(), INT64_MIN), 0);
    EXPECT_EQ(m.mantissa().sign(), 0);
}

TEST(NumDiv, PowersOfTen) {
    Rec x(false, 3, {12345}, 4);
    EXPECT_EQ(_b_div10n(x.p(), 16), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{12345}));
    EXPECT_EQ(x.exp(), 2);
    EXPECT_EQ(_b_div10n(x.p(), 1), 0);
    EXPECT_EQ(mpz_get_ui(x.mantissa()), 12345 * (kPeta / 10));
    EXPECT_EQ(x.exp(), 1);
    Rec full(false, 0, {kOnes}, 3);
    Words before = full.w;
    EXPECT_EQ(_b_div10n(full.p(), 5), -1);  // x * 10^11 does not fit
    EXPECT_EQ(full.w, before);
    Rec low(false, INT64_MIN + 1, {7}, 4);
    before = low.w;
    EXPECT_EQ(_b_div10n(low.p(), 17), -1);
    EXPECT_EQ(_b_div16n(low.p(), 2), -1);
    EXPECT_EQ(low.w, before);
}

TEST(NumDiv, PowersOfTwo) {
    Rec two(false, 1, {5, 6}, 5);
    EXPECT_EQ(_b_div2n(two.p(), 64), 0);
    EXPECT_EQ(two.mantissaWords(), (Words{5}));
    Rec one(false, 1, {5}, 5);
    EXPECT_EQ(_b_div2n(one.p(), 64), 0);
    EXPECT_EQ(one.mantissa().sign(), 0);
    Rec zero(false, 1, {}, 5);
    Words before = zero.w;
    EXPECT_EQ(_b_div2n(zero.p(), 3), 0);
    EXPECT_EQ(zero.w, before);
    Rec x(false, 0, {1, 0}, 5);
    EXPECT_EQ(_b_div2n(x.p(), 65), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{0}));
    Rec y(false, 0, {1, 0}, 5);
    EXPECT_EQ(_b_div2np(y.p(), 1, -1), 0);  // 2^63 * 10^16 at exponent -1
    EXPECT_EQ(mpz_cmp(y.mantissa(), divtest::product(Z(uint64_t{1} << 63), Z(kPeta))), 0);
    EXPECT_EQ(y.exp(), -1);
}

TEST(NumDiv, RemainderInPlace) {
    Rec x(false, 0, {17}, 4), y(false, 0, {5}, 3);
    EXPECT_EQ(_b_reminder(x.p(), y.p()), 3);
    EXPECT_EQ(mpz_get_ui(x.mantissa()), 2u);
    Rec three(true, 0, {3}, 4);
    Words before = three.w;
    EXPECT_EQ(_b_reminder(three.p(), y.p()), 0);
    EXPECT_EQ(three.w, before);
    Rec wide(true, 0, {0, 7, 9, 11}, 6), d(false, 0, {2}, 3);  // a three-word quotient
    int64_t q = _b_reminder(wide.p(), d.p());
    EXPECT_LT(q, 0);
    EXPECT_NE(q, -1);
    EXPECT_EQ(static_cast<uint64_t>(q), (uint64_t{1} << 63) | 5);  // the low word 2^63 + 5, bit 62 clear
    EXPECT_EQ(mpz_get_ui(wide.mantissa()), 1u);
    EXPECT_TRUE(wide.negative());
    Rec other(false, 1, {5}, 3);
    EXPECT_EQ(_b_reminder(x.p(), other.p()), -1);  // exponents differ
}

TEST(NumDiv, RemainderLayoutAndQuotientRecord) {
    Rec x(false, -2, {kOnes, kOnes, 3}, 6), y(false, -2, {1, 0}, 5);
    EXPECT_EQ(_b_divrmd(x.p(), y.p()), 2);  // a front word is inserted: L = 4
    EXPECT_EQ(x.mantissaWords(), (Words{kOnes, kOnes, 0, 3}));
    Rec x2(false, -2, {kOnes, kOnes, 3}, 6), q(false, 0, {}, 6);
    q.w[0] |= NUMREC_SIGN_BIT;
    EXPECT_EQ(_b_divreminder(x2.p(), q.p(), y.p()), 0);
    EXPECT_EQ(q.mantissaWords(), (Words{kOnes, kOnes}));
    EXPECT_EQ(q.w[0], NUMREC_HEADER(6) | 2);
    EXPECT_EQ(q.exp(), 0);
    EXPECT_EQ(x2.mantissaWords(), (Words{0, 0, 0, 3}));
    Rec full(false, 0, {kOnes}, 3), one(false, 0, {1}, 3);
    Words before = full.w;
    EXPECT_EQ(_b_divrmd(full.p(), one.p()), -1);  // no front word can be had
    EXPECT_EQ(full.w, before);
}

TEST(NumDiv, IntegerAndFractionalParts) {
    Rec x(false, -1, {3 * kPeta + 5}, 4);
    EXPECT_EQ(_b_divintpt(x.p()), 1);
    EXPECT_EQ(x.mantissaWords(), (Words{3, 5}));
    Rec y(true, -1, {3 * kPeta + 5}, 4);
    EXPECT_EQ(_b_integer(y.p()), 3);
    EXPECT_EQ(mpz_get_ui(y.mantissa()), 5u);
    EXPECT_EQ(y.exp(), -1);
    EXPECT_TRUE(y.negative());
    Rec below(false, -1, {kPeta - 1}, 4), q(false, 7, {1}, 4);
    Words before = below.w;
    EXPECT_EQ(_b_divinteger(below.p(), q.p()), 0);
    EXPECT_EQ(below.w, before);
    EXPECT_EQ(q.w[0], NUMREC_HEADER(4));
    Rec positive(false, 1, {5}, 4);
    before = positive.w;
    EXPECT_EQ(_b_divintpt(positive.p()), -1);
    EXPECT_EQ(positive.w, before);
    Rec whole(false, 0, {0, 9, 8}, 6);
    EXPECT_EQ(_b_divintpt(whole.p()), 3);
    EXPECT_EQ(static_cast<uint64_t>(_b_integer(whole.p())), (uint64_t{1} << 63) | 8);  // two words
    EXPECT_EQ(whole.mantissa().sign(), 0);
}

// 10^80 has 5 words, the stored power 4 (its one zero word left out): the
// last word of M is never part of the division.
TEST(NumDiv, IntegerPartWithAReducedPower) {
    Z m = divtest::product(nrtest::petaPower(5), Z(uint64_t{77}));
    mpz_add_ui(m, m, 123456789);
    Rec x = divtest::recordOf(m, -5, 12);
    ASSERT_EQ(_3_petaqwl(5), 5u);
    ASSERT_EQ(_3_petaqw(5), 4u);
    int64_t r = _b_divintpt(x.p());
    ASSERT_GE(r, 1);
    Words w = x.mantissaWords();
    EXPECT_EQ(w[static_cast<size_t>(r) - 1], 77u);
    EXPECT_EQ(mpz_cmp(Z(w.data() + r, w.size() - static_cast<size_t>(r)), Z(uint64_t{123456789})), 0);
    EXPECT_EQ(w.size() - static_cast<size_t>(r), 5u);
}

// Leading words equal to the stored power: the integer part is at least 1.
TEST(NumDiv, IntegerPartOfExactPowers) {
    Rec one(true, -1, {kPeta}, 4);
    EXPECT_EQ(_b_integer(one.p()), 1);
    EXPECT_EQ(one.mantissa().sign(), 0);
    Z m = nrtest::petaPower(5);
    mpz_add_ui(m, m, 3);
    Rec x = divtest::recordOf(m, -5, 9);
    EXPECT_EQ(_b_integer(x.p()), 1);
    EXPECT_EQ(mpz_get_ui(x.mantissa()), 3u);
}

TEST(NumDiv, NoTemporaryLeavesXUnchanged) {
    Rec x(false, 0, {kOnes, kOnes}, 4), y(false, 0, {3}, 3);
    Words before = x.w;
    {
        StackFiller fill(2);
        EXPECT_EQ(_b_divrndsz(x.p(), y.p()), -1);
        EXPECT_EQ(_b_divrnd(x.p(), y.p(), -3), -1);
        EXPECT_EQ(_b_inverse(x.p()), -1);
        EXPECT_EQ(_b_div2nsz(x.p(), 3), -1);
    }
    EXPECT_EQ(x.w, before);
    EXPECT_EQ(workingUsed(), 0u);
}

}  // namespace
