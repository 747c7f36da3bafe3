// Records from machine integers: plain, signed, rescaled, and integer powers.
#include <gtest/gtest.h>

#include "q64/m0_utilities.h"
#include "q64/ma_alloctext.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using nrtest::Rec;
using nrtest::Words;
using nrtest::Z;

TEST(NumFromInt, OneWordWithSign) {
    Rec r(true, 9, {1, 2, 3}, 6, 0x11);
    ASSERT_EQ(_a_numtor(r.p(), 0, 42), 0);
    EXPECT_EQ(r.w[0], NUMREC_HEADER(6) | 1);  // sign and reserved bits cleared
    EXPECT_EQ(r.exp(), 0);
    EXPECT_EQ(r.w[2], 42u);
    ASSERT_EQ(_a_numtor(r.p(), 4, 0), 0);
    EXPECT_EQ(r.w[0], NUMREC_HEADER(4));
    EXPECT_EQ(_a_numtor(r.p(), 2, 1), -1);
    EXPECT_EQ(_a_numtor(r.p(), NUMREC_LENL_MAX + 1, 1), -1);
    EXPECT_EQ(r.w[0], NUMREC_HEADER(4));

    for (uint64_t sign : {uint64_t{'-'}, uint64_t{'x'}, uint64_t{'+'}, uint64_t{0}, uint64_t{0x100 | '+'}}) {
        ASSERT_EQ(_a_numstor(r.p(), 0, 7, sign), 0);
        EXPECT_EQ(r.negative(), (sign & 0xFF) != '+' && (sign & 0xFF) != 0) << sign;
        EXPECT_EQ(r.w[2], 7u);
    }
    EXPECT_TRUE(r.guardsIntact());
}

TEST(NumFromInt, RescaledToTheDefaultScaleOrAGivenOne) {
    // The default scale reads -10 while no status was set: ten peta digits finer.
    ASSERT_EQ(statget(), -10);
    Rec r(false, 0, {}, 14);
    ASSERT_EQ(_a_numstorvt(r.p(), 0, 123, '-'), 0);
    EXPECT_TRUE(r.negative());
    EXPECT_EQ(r.exp(), -10);
    Z expected(123);
    mpz_mul(expected, expected, nrtest::petaPower(10));
    EXPECT_EQ(r.mantissa().str(), expected.str());
    Rec narrow(false, 0, {}, 6);  // no room for ten peta digits
    EXPECT_EQ(_a_numstorvt(narrow.p(), 0, 123, '+'), -1);

    statset(1);  // coarser by one peta digit: 123 drops to 0
    EXPECT_EQ(_a_numstorvt(r.p(), 0, 123, '+'), 0);
    EXPECT_EQ(r.exp(), 1);
    EXPECT_EQ(r.mantissa().sign(), 0);
    statset(uint64_t{1} << 63);  // back to "no status"
    ASSERT_EQ(statget(), -10);

    ASSERT_EQ(_a_numbintor(r.p(), 0, INT64_MIN, -1), 0);
    EXPECT_TRUE(r.negative());
    EXPECT_EQ(r.exp(), -1);
    Z big(uint64_t{1} << 63);
    mpz_mul(big, big, nrtest::petaPower(1));
    EXPECT_EQ(r.mantissa().str(), big.str());
    ASSERT_EQ(_a_numbintor(r.p(), 0, 25000000000000000, 1), 0);
    EXPECT_FALSE(r.negative());
    EXPECT_EQ(r.exp(), 1);
    EXPECT_EQ(r.mantissa().str(), Z(2).str());
    EXPECT_EQ(_a_numbintor(r.p(), 2, 5, 0), -1);
    EXPECT_TRUE(r.guardsIntact());
}

TEST(NumFromInt, IntegerPowers) {
    Rec r(true, 5, {}, 5, 0x3);
    ASSERT_EQ(_a_numpowtor(r.p(), 0, 2, 64), 0);
    EXPECT_EQ(r.mantissaWords(), (Words{1, 0}));
    EXPECT_EQ(r.exp(), 0);
    EXPECT_TRUE(r.negative());  // sign and reserved bits stay
    EXPECT_EQ(r.w[0] >> 56, 0x83u);
    EXPECT_EQ(_a_numpowtor(r.p(), 4, 2, 3), -1);

    struct Case {
        uint64_t base, exponent;
    };
    for (Case c : {Case{0, 0}, Case{0, 9}, Case{9, 0}, Case{1, 1000}, Case{10, 19}, Case{10, 20}, Case{3, 200},
                   Case{~uint64_t{0}, 5}, Case{7, 1000}}) {
        Rec p(false, 0, {}, 60);
        ASSERT_EQ(_a_numpowtor(p.p(), 0, c.base, c.exponent), 0) << c.base << "^" << c.exponent;
        Z expected;
        mpz_ui_pow_ui(expected, c.base, c.exponent);
        if (c.base == 0) mpz_set_ui(expected, 0);  // 0^0 too, unlike GMP
        EXPECT_EQ(p.mantissa().str(), expected.str()) << c.base << "^" << c.exponent;
        EXPECT_EQ(p.lenv(), std::max<uint64_t>(1, nrtest::wordsOf(expected)));
        EXPECT_TRUE(p.guardsIntact());
    }
    // 3^200 has 317 bits, five words, and every factor needs a word beyond M:
    // l = 8 holds it, l = 7 runs out of room once M fills five words.
    Rec eight(false, 0, {}, 8), seven(false, 0, {}, 7);
    EXPECT_EQ(_a_numpowtor(eight.p(), 0, 3, 200), 0);
    EXPECT_EQ(_a_numpowtor(seven.p(), 0, 3, 200), -1);
    EXPECT_TRUE(seven.guardsIntact());
}

}  // namespace
