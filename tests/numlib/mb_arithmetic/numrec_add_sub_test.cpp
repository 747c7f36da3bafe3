// Addition and subtraction of NumRecs: window rules, carries at full
// capacity, signs, and one-word operands at every exponent.
#include <gtest/gtest.h>

#include "q64/mb_arithmetic.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using nrtest::Rec;
using nrtest::Words;
using nrtest::workingUsed;
constexpr uint64_t kOnes = ~uint64_t{0};

TEST(NumRecAddSub, ExponentsMustBeEqual) {
    Rec x(false, 0, {1}, 4);
    Rec y(false, 1, {1}, 4);
    Words before = x.w;
    EXPECT_EQ(_b_add(x.p(), y.p()), -1);
    EXPECT_EQ(_b_sub(x.p(), y.p()), -1);
    EXPECT_EQ(x.w, before);
}

TEST(NumRecAddSub, ZeroOperandTakesTheOtherMagnitude) {
    Rec x(false, 0, {}, 4);
    Rec five(false, 0, {5}, 3);
    EXPECT_EQ(_b_sub(x.p(), five.p()), 0);
    EXPECT_TRUE(x.negative());
    EXPECT_EQ(x.mantissaWords(), (Words{5}));
    Rec z(false, 0, {0}, 4);
    Rec minusFive(true, 0, {5}, 3);
    EXPECT_EQ(_b_add(z.p(), minusFive.p()), 0);
    EXPECT_TRUE(z.negative());
    EXPECT_EQ(z.mantissaWords(), (Words{5}));
}

TEST(NumRecAddSub, DifferencesOfEqualAndSmallerMagnitudes) {
    Rec x(false, 0, {5}, 3);
    Rec five(false, 0, {5}, 3);
    EXPECT_EQ(_b_sub(x.p(), five.p()), 0);
    EXPECT_EQ(x.lenv(), 1u);
    EXPECT_EQ(x.w[2], 0u);
    Rec three(false, 0, {3}, 3);
    EXPECT_EQ(_b_subnp(three.p(), five.p()), 1);
    EXPECT_EQ(three.w[2], 2u);
    Rec t(false, 0, {3}, 3);
    EXPECT_EQ(_b_sub(t.p(), five.p()), 0);
    EXPECT_TRUE(t.negative());
    EXPECT_EQ(t.mantissaWords(), (Words{2}));
}

TEST(NumRecAddSub, CarryAtFullCapacity) {
    Rec one(false, 0, {1}, 3);
    Rec full(false, 0, {kOnes}, 3);
    EXPECT_EQ(_b_add(full.p(), one.p()), -1);  // the record is lost
    Rec roomy(false, 0, {kOnes}, 4);
    EXPECT_EQ(_b_add(roomy.p(), one.p()), 0);
    EXPECT_EQ(roomy.mantissaWords(), (Words{1, 0}));
    Rec lead(false, 0, {0, kOnes}, 4);
    EXPECT_EQ(_b_add(lead.p(), one.p()), 0);
    EXPECT_EQ(lead.mantissaWords(), (Words{1, 0}));
    EXPECT_TRUE(roomy.guardsIntact() && lead.guardsIntact());
}

TEST(NumRecAddSub, ShortFirstOperandIsWidenedInFront) {
    Rec y(false, 0, {1, 2, 3}, 5);
    Rec x(false, 0, {7}, 5);
    EXPECT_EQ(_b_add(x.p(), y.p()), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{1, 2, 10}));
    Rec small(false, 0, {7}, 4);
    Words before = small.w;
    EXPECT_EQ(_b_add(small.p(), y.p()), -1);
    EXPECT_EQ(_b_sub(small.p(), y.p()), -1);
    EXPECT_EQ(small.w, before);
    Rec wide(true, 0, {0, 0, 7}, 5);  // L = 3 already: the whole mantissa is the window
    EXPECT_EQ(_b_add(wide.p(), y.p()), 0);
    EXPECT_FALSE(wide.negative());
    EXPECT_EQ(wide.mantissaWords(), (Words{1, 1, kOnes - 3}));
}

TEST(NumRecAddSub, RecordWithItself) {
    Rec x(true, 2, {0, kOnes, 1}, 6);
    EXPECT_EQ(_b_add(x.p(), x.p()), 0);
    EXPECT_EQ(x.mantissaWords(), (Words{1, kOnes - 1, 2}));
    EXPECT_TRUE(x.negative());
    EXPECT_EQ(_b_sub(x.p(), x.p()), 0);
    EXPECT_EQ(x.mantissa().sign(), 0);
}

TEST(NumRecAddSub, OneWordAtEachExponent) {
    uint64_t used = workingUsed();
    Rec e1(false, 1, {4}, 4);
    EXPECT_EQ(_b_addnum(e1.p(), NUMREC_PETA - 1), 0);
    EXPECT_EQ(e1.mantissaWords(), (Words{4}));
    EXPECT_EQ(_b_addnum(e1.p(), 3 * NUMREC_PETA + 5), 0);
    EXPECT_EQ(e1.mantissaWords(), (Words{7}));
    EXPECT_EQ(_b_subnum(e1.p(), 9 * NUMREC_PETA), 0);
    EXPECT_TRUE(e1.negative());
    EXPECT_EQ(e1.mantissaWords(), (Words{2}));

    Rec e2(false, 2, {4}, 4);
    Words before = e2.w;
    EXPECT_EQ(_b_addnum(e2.p(), kOnes), 0);
    EXPECT_EQ(e2.w, before);

    Rec neg(false, -1, {4}, 5);
    EXPECT_EQ(_b_addnum(neg.p(), 1000), 0);
    nrtest::Z expect(1000);
    mpz_mul(expect, expect, nrtest::petaPower(1));
    mpz_add(expect, expect, nrtest::Z(4));
    EXPECT_EQ(mpz_cmp(neg.mantissa(), expect), 0);
    EXPECT_EQ(neg.exp(), -1);

    Rec zeroAdd(false, -3, {4}, 5);
    before = zeroAdd.w;
    EXPECT_EQ(_b_addnum(zeroAdd.p(), 0), 0);  // x + 0 is x at any exponent
    EXPECT_EQ(zeroAdd.w, before);

    Rec s(false, 0, {10}, 4);
    EXPECT_EQ(_b_addsnum(s.p(), 0), 0);
    EXPECT_EQ(_b_addsnum(s.p(), -25), 0);
    EXPECT_TRUE(s.negative());
    EXPECT_EQ(s.mantissaWords(), (Words{15}));
    EXPECT_EQ(_b_addsnum(s.p(), INT64_MIN), 0);
    EXPECT_EQ(s.mantissaWords(), (Words{(uint64_t{1} << 63) + 15}));
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumRecAddSub, SignSetters) {
    Rec x(true, 0, {1}, 3);
    EXPECT_EQ(_b_toposnum(x.p()), 0);
    EXPECT_FALSE(x.negative());
    EXPECT_EQ(_b_tonegnum(x.p()), 1);
    EXPECT_TRUE(x.negative());
    EXPECT_EQ(_b_torevnum(x.p()), 0);
    EXPECT_EQ(_b_torevnum(x.p()), 1);
}

}  // namespace
