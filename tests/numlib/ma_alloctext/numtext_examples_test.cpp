// Text conversion of records on known values: the three written forms and
// reading.
#include <gtest/gtest.h>

#include "q64/m2_scratch.h"
#include "tests/numlib/numtext_oracle.h"

namespace {
using nrtest::Rec;
using nrtest::Words;
using nrtest::workingUsed;
using nttest::digitsText;
using nttest::exponentText;
using nttest::plainText;
constexpr uint64_t kPeta = NUMREC_PETA;

TEST(NumText, TheThreeForms) {
    Rec r(false, 0, {12345}, 4);
    EXPECT_EQ(plainText(r), "+12345");
    EXPECT_EQ(exponentText(r), "+1.2345e+4");
    EXPECT_EQ(digitsText(r, 3), "+1.23e+4");
    EXPECT_EQ(digitsText(r, 7), "+1.234500e+4");
    EXPECT_EQ(digitsText(r, 1), "+1.e+4");
    EXPECT_EQ(digitsText(r, 0), "+1e+4");

    EXPECT_EQ(plainText(Rec(false, -1, {5}, 3)), "+0.0000000000000005");
    EXPECT_EQ(plainText(Rec(true, -1, {0, kPeta + 1}, 5)), "-1.0000000000000001");
    EXPECT_EQ(plainText(Rec(false, 1, {1}, 3)), "+10000000000000000");
    EXPECT_EQ(plainText(Rec(false, 0, {kPeta}, 3)), "+10000000000000000");
    EXPECT_EQ(plainText(Rec(false, -2, {0, 7}, 4)), "+0.00000000000000000000000000000007");
    EXPECT_EQ(exponentText(Rec(false, -1, {1}, 3)), "+1.e-16");
    EXPECT_EQ(exponentText(Rec(true, -2, {0, 120}, 4)), "-1.20e-30");
}

TEST(NumText, ZeroRecords) {
    for (Rec z : {Rec(true, 3, {}, 2), Rec(false, -4, {0, 0}, 4)}) {
        EXPECT_EQ(plainText(z), "0");
        EXPECT_EQ(exponentText(z), z.negative() ? "-0.0" : "+0.0");
        EXPECT_EQ(digitsText(z, 4), z.negative() ? "-0.000e0" : "+0.000e0");
        EXPECT_EQ(digitsText(z, 1), z.negative() ? "-0" : "+0");
        EXPECT_STREQ(_a_prtenum(z.p(), 9), "0.0e0");
        EXPECT_STREQ(_a_prtnum(z.p()), "0");
    }
    EXPECT_EQ(_a_prtnum(nullptr), nullptr);
    EXPECT_EQ(_a_prtenum(nullptr, 3), nullptr);
}

TEST(NumText, ReadingTheInputForm) {
    int64_t status;
    Rec r = nttest::readText("12.34e2", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(r.lenv(), 2u);
    EXPECT_EQ(r.w[2], 0u);
    EXPECT_EQ(r.w[3], 12340000000000000000u);
    EXPECT_EQ(r.exp(), -1);

    r = nttest::readText("-0.5", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(r.negative());
    EXPECT_EQ(r.mantissa().str(), nrtest::Z(5 * kPeta / 10).str());
    EXPECT_EQ(r.exp(), -1);

    for (const char* half : {".5", "0.5", "+.5", "5e-1", "50E-2", ".05e+1"}) {
        Rec h = nttest::readText(half, &status);
        EXPECT_EQ(status, 0) << half;
        EXPECT_TRUE(nttest::sameValue(h.p(), Rec(false, -1, {5 * kPeta / 10}, 3).p())) << half;
        EXPECT_TRUE(h.guardsIntact()) << half;
    }
    for (const char* one : {"5.", "1e", "1e-0", "1E+000", "1e+", "0001"}) {
        Rec h = nttest::readText(one, &status);
        EXPECT_EQ(status, 0) << one;
        const uint64_t v = one[0] == '5' ? 5 : 1;
        EXPECT_TRUE(nttest::sameValue(h.p(), Rec(false, 0, {v}, 3).p())) << one;
    }
    r = nttest::readText(".", &status);  // a point alone reads as zero
    EXPECT_EQ(status, 0);
    EXPECT_EQ(r.mantissa().sign(), 0);
    for (const char* bad : {"1.2.3", "-", "+", "", "e5", "-e5", "1e5.", "1e--5", "1x", "1.x", "1e2e3", "+-1"}) {
        nttest::readText(bad, &status);
        EXPECT_EQ(status, -1) << bad;
    }
}

TEST(NumText, ReadingRefusesAreasAndExponentsThatDoNotFit) {
    Rec small(false, 0, {}, 4);
    EXPECT_EQ(_a_struztor(small.p(), 0, "123456789012345678901234567890"), -1);
    EXPECT_EQ(_a_strtor(small.p(), 1, "5", 1), -1);
    EXPECT_EQ(_a_strtor(small.p(), NUMREC_LENL_MAX + 1, "5", 1), -1);
    int64_t status;
    // 2^68 and more, also when the digits would wrap around 128 bits (2^128 + 1).
    for (const char* huge : {"1e295147905179352825856", "1e-295147905179352825856",
                             "1e340282366920938463463374607431768211457"}) {
        nttest::readText(huge, &status);
        EXPECT_EQ(status, -1) << huge;
    }
    Rec tiny = nttest::readText("1e-00000000000000000000000000000000000000000000016", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(tiny.exp(), -1);
    // X div 16 = 2^63 - 1 reaches the largest exponent; one more digit overflows.
    Rec top = nttest::readText("1e147573952589676412912", &status);  // 16 (2^63 - 1)
    EXPECT_EQ(status, 0);
    EXPECT_EQ(top.exp(), INT64_MAX);
    nttest::readText("10e147573952589676412912", &status);  // the 10 stays in M
    EXPECT_EQ(status, 0);
    nttest::readText("0.1e147573952589676412912", &status);  // e = -1 + 2^63 - 1
    EXPECT_EQ(status, 0);
    nttest::readText("1e147573952589676412928", &status);  // 16 * 2^63
    EXPECT_EQ(status, -1);
}

TEST(NumText, ScalingByTenRefusesWhatTheExponentCannotHold) {
    Rec r(false, 0, {5}, 4);
    // X div 16 = 2^63: refused, although e + X div 16 would wrap to a valid e.
    EXPECT_EQ(_a_mul10n(r.p(), 0, 8), -1);
    EXPECT_EQ(_a_mul10n(r.p(), 0, 16), -1);  // X = 2^68
    EXPECT_EQ(r.exp(), 0);
    EXPECT_EQ(r.lenv(), 1u);
    Rec low(false, INT64_MIN + 2, {5}, 4);
    EXPECT_EQ(_a_div10n(low.p(), 32, 0), -1);  // would reach -2^63, the invalid marker
    EXPECT_EQ(_a_div10n(low.p(), 15, 0), 0);
    EXPECT_EQ(low.exp(), INT64_MIN + 1);
    EXPECT_EQ(low.mantissa().str(), nrtest::Z(50).str());
    Rec full(false, 0, {5, 6}, 4);  // no free word for the factor 10^r
    EXPECT_EQ(_a_mul10n(full.p(), 3, 0), -1);
    EXPECT_EQ(_a_mul10n(full.p(), 32, 0), 0);
    EXPECT_EQ(full.exp(), 2);
    Rec big(false, 3, {1}, 4);  // ceil(X / 16) = 2^63 is not a signed word, e - 2^63 is
    EXPECT_EQ(_a_div10n(big.p(), 0, 8), 0);
    EXPECT_EQ(big.exp(), INT64_MIN + 3);
}

TEST(NumText, SizeOfThePlainForm) {
    // f = 16|e| equals p, and M has fewer digits: "+0." and 32 digits.
    Rec r(false, -2, {12345}, 3);
    EXPECT_EQ(_a_prdsize(r.p()), 36u);
    EXPECT_EQ(plainText(r).size() + 1, 36u);
    // 49 words of ones have 945 digits, a peta digit more than 2^3135 has.
    Rec ones(true, 0, Words(49, ~uint64_t{0}), 51);
    EXPECT_EQ(plainText(ones).size() + 1, 947u);
    EXPECT_GE(_a_prdsize(ones.p()), 947u);
    // An exponent whose text could never be written.
    Rec far(false, int64_t{1} << 60, {1}, 3);
    EXPECT_EQ(_a_prdsize(far.p()), ~uint64_t{0});
    uint64_t used = workingUsed();
    EXPECT_EQ(_a_prtnum(far.p()), nullptr);
    EXPECT_EQ(workingUsed(), used);
    EXPECT_EQ(_a_prdsize(Rec(false, 5, {}, 2).p()), 16u);
}

TEST(NumText, PrintingKeepsTheStackAndTheRecord) {
    uint64_t used = workingUsed();
    // Ten words shortened for five digits give a text longer than five words.
    Rec ten(false, 7, Words(10, ~uint64_t{0}), 12);
    const std::vector<uint64_t> before = ten.w;
    const char* text = _a_prtenum(ten.p(), 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), nttest::exponentOracle(ten, 5));
    EXPECT_EQ(workingUsed(), used);
    EXPECT_EQ(ten.w, before);
    text = _a_prtnum(ten.p());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), nttest::plainOracle(ten));
    EXPECT_EQ(workingUsed(), used);
    EXPECT_EQ(ten.w, before);
    EXPECT_EQ(_a_prtenum(ten.p(), uint64_t{1} << 40), nullptr);
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumText, PrintingFailsCleanlyWhenTheScratchAreaIsFull) {
    Rec r(true, -3, {1, 2, 3}, 5);
    uint64_t used = workingUsed();
    // Leave room for the copy but not for the text, then for nothing.
    for (uint64_t leave : {12u, 6u, 2u}) {
        uint64_t* fill = _2_alocs(static_cast<uint64_t>(_2_left()) - leave);
        ASSERT_NE(fill, nullptr);
        EXPECT_EQ(_a_prtnum(r.p()), nullptr) << leave;
        EXPECT_EQ(_a_prtenum(r.p(), 40), nullptr) << leave;
        _2_frees();
        EXPECT_EQ(workingUsed(), used);
    }
    // With room for the copy and 71 text words, one word less than _2_left
    // then reports, the 67 characters come out.
    uint64_t* fill = _2_alocs(static_cast<uint64_t>(_2_left()) - 80);
    ASSERT_NE(fill, nullptr);
    const char* text = _a_prtnum(r.p());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), nttest::plainOracle(r));
    _2_frees();
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumText, BitBudgetOfTheDigitForm) {
    EXPECT_EQ(_a_pbtsize(0), 54u);
    EXPECT_EQ(_a_pbtsize(3), 107u);
    EXPECT_EQ(_a_pbtsize(913), 3136u);  // 59 peta digits: a multiple of 64 bits
    Words a(50, 0);
    a[1] = uint64_t{1} << 63;  // exactly 3136 bits in 49 words: too long already
    EXPECT_EQ(_a_bit2num(a.data() + 1, 49, 3136), 1u);
    a[1] = ~uint64_t{0} >> 1;
    EXPECT_EQ(_a_bit2num(a.data() + 1, 49, 3136), 0u);
    EXPECT_EQ(_a_bit2num(a.data() + 2, 48, 3136), 0u);
    a[0] = 1;
    EXPECT_EQ(_a_bit2num(a.data(), 50, 3136), 1u);
    Words b = {uint64_t{1} << 43, 0, 0};  // 107 bits fit, 108 do not
    EXPECT_EQ(_a_bit2num(b.data(), 2, 107), 1u);
    b[0] -= 1;
    EXPECT_EQ(_a_bit2num(b.data(), 2, 107), 0u);
    EXPECT_EQ(_a_bit2num(b.data(), 3, 107), 1u);
    EXPECT_EQ(_a_bit2num(b.data(), 0, 107), 0u);

    // Divisions stop at the first quotient that fits.
    Words ones(6, ~uint64_t{0});
    const nrtest::Z before(ones.data(), 6);
    const uint64_t count = _a_divpetan(ones.data(), 6, 107);
    nrtest::Z expected;
    mpz_tdiv_q(expected, before, nrtest::petaPower(count));
    EXPECT_EQ(nrtest::Z(ones.data(), 6).str(), expected.str());
    EXPECT_LE(mpz_sizeinbase(expected, 2), 107u);
    mpz_tdiv_q(expected, before, nrtest::petaPower(count - 1));
    EXPECT_GT(mpz_sizeinbase(expected, 2), 107u);
}

TEST(NumText, ExponentsAtTheEndsOfTheirRange) {
    for (int64_t e : {INT64_MAX, INT64_MAX - 1, INT64_MIN + 1, int64_t{-1}}) {
        for (const Words& m : {Words{7}, Words(10, ~uint64_t{0})}) {
            Rec r(e < 0, e, m, 14);
            SCOPED_TRACE(r.describe());
            EXPECT_EQ(exponentText(r), nttest::exponentOracle(r));
            for (uint64_t d : {0u, 5u, 40u}) {
                // Near the top, e cannot take the dropped peta digits: X does.
                EXPECT_EQ(digitsText(r, d), nttest::exponentOracle(r, static_cast<int64_t>(d))) << d;
            }
        }
    }
}

}  // namespace
