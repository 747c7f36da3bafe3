// Text conversion against GMP on thousands of random records: every written
// form equals the text of the exact value, the plain and exponent forms read
// back to the same value, random input texts read to GMP's value, and the
// working stack is balanced after every call.
#include <gtest/gtest.h>

#include "q64/m2_scratch.h"
#include "tests/numlib/numtext_oracle.h"

namespace {
using gmptest::forEachTrial;
using gmptest::Gen;
using nrtest::Rec;
using nrtest::Words;
using nrtest::workingUsed;
using nrtest::Z;

constexpr uint64_t kSeed = 0x7E47C0DE;

TEST(NumTextDiff, WrittenFormsEqualTheExactValue) {
    forEachTrial(kSeed, 4000, [&](Gen& shapes, int i) {
        const size_t words = i % 100 == 0 ? 60 : 12;
        const Rec r = nrtest::randomRec(shapes, words, i % 3 == 0 ? 40 : 4);
        const uint64_t d = shapes.below(i % 5 == 0 ? 400 : 40);
        SCOPED_TRACE(r.describe() + " d " + std::to_string(d));
        const uint64_t used = workingUsed();
        const std::string plain = nttest::plainOracle(r);
        EXPECT_EQ(nttest::plainText(r), plain);
        EXPECT_EQ(nttest::exponentText(r), nttest::exponentOracle(r));
        EXPECT_EQ(nttest::digitsText(r, d), nttest::exponentOracle(r, static_cast<int64_t>(d)));

        Rec original = r;
        const char* printed = _a_prtnum(original.p());
        if (plain.size() < 16384) {
            ASSERT_NE(printed, nullptr);
            EXPECT_EQ(std::string(printed), plain);
        }
        EXPECT_EQ(workingUsed(), used);
        const char* printedN = _a_prtenum(original.p(), d);
        ASSERT_NE(printedN, nullptr);
        const std::string expectedN =
            r.mantissa().sign() == 0 ? "0.0e0" : nttest::exponentOracle(r, static_cast<int64_t>(d));
        EXPECT_EQ(std::string(printedN), expectedN);
        EXPECT_EQ(workingUsed(), used);
        EXPECT_EQ(original.w, r.w);  // printing works on a copy
    });
}

TEST(NumTextDiff, PlainAndExponentTextsReadBackToTheSameValue) {
    forEachTrial(kSeed + 1, 4000, [&](Gen& shapes, int i) {
        const Rec r = nrtest::randomRec(shapes, i % 100 == 0 ? 60 : 12, 20);
        SCOPED_TRACE(r.describe());
        const uint64_t used = workingUsed();
        for (const std::string& text : {nttest::plainText(r), nttest::exponentText(r)}) {
            int64_t status = 1;
            Rec back = nttest::readText(text, &status);
            ASSERT_EQ(status, 0) << text;
            EXPECT_TRUE(nttest::sameValue(back.p(), r.w.data())) << text << " read as " << back.describe();
            EXPECT_TRUE(back.guardsIntact()) << text;
            // The reading needs no more words than the compact mantissa plus
            // the scaling word and the room _4_ndsize keeps for a partial group.
            EXPECT_LE(back.lenv() + 2, back.lenl()) << text;
        }
        EXPECT_EQ(workingUsed(), used);
    });
}

// A random text in the input form, or near it, and its value when it is one
// (a text of a sign alone is refused by the grammar below).
struct InputCase {
    std::string text;
    bool known;         // false: a stray character, the value is not tracked
    Z numerator;        // the digits without the point
    uint64_t fraction;  // digits behind the point
    int64_t exponent;   // the decimal exponent
    bool negative;
};

InputCase randomInput(Gen& s) {
    InputCase c{"", true, Z(), 0, 0, false};
    auto digits = [&](uint64_t n) {
        std::string t;
        const bool zeros = s.below(4) == 0;
        for (uint64_t i = 0; i < n; ++i) t += zeros && i < n / 2 ? '0' : static_cast<char>('0' + s.below(10));
        return t;
    };
    const uint64_t signKind = s.below(3);
    if (signKind != 0) c.text += signKind == 1 ? '+' : '-';
    c.negative = signKind == 2;
    const std::string whole = digits(s.below(4) == 0 ? 0 : s.below(60));
    const bool point = s.coin();
    const std::string fraction = point ? digits(s.below(4) == 0 ? 0 : s.below(60)) : "";
    c.text += whole;
    if (point) c.text += "." + fraction;
    const std::string all = whole + fraction;
    if (!all.empty()) mpz_set_str(c.numerator, all.c_str(), 10);
    c.fraction = fraction.size();
    if (s.coin()) {
        c.text += s.coin() ? 'e' : 'E';
        const uint64_t expSign = s.below(3);
        if (expSign != 0) c.text += expSign == 1 ? '+' : '-';
        const std::string e = digits(s.below(4));
        c.text += e;
        c.exponent = e.empty() ? 0 : std::stoll(e);
        if (expSign == 2) c.exponent = -c.exponent;
    }
    if (s.below(20) == 0) {  // a stray character somewhere
        const char stray = ".e+-x "[s.below(6)];
        const size_t at = s.below(c.text.size() + 1);
        c.text.insert(c.text.begin() + static_cast<std::ptrdiff_t>(at), stray);
        c.known = false;  // only the verdict is checked, against the grammar
    }
    return c;
}

// The verdict on a text from the input form itself, independent of the
// reader: [sign] digits [. digits] [(e|E) [sign] digits], at least one
// character besides the sign in front of the letter, and a decimal exponent
// below 2^66 (2^68 and more is refused; the texts here have fewer than 200
// fraction digits, so only exponents near 2^67 could overflow e).
int64_t expectedStatus(const std::string& t) {
    auto digitsFrom = [&](size_t i) {
        while (i < t.size() && isdigit(static_cast<unsigned char>(t[i]))) ++i;
        return i;
    };
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const size_t start = i;
    i = digitsFrom(i);
    if (i < t.size() && t[i] == '.') i = digitsFrom(i + 1);
    if (i == start) return -1;
    if (i == t.size()) return 0;
    if (t[i] != 'e' && t[i] != 'E') return -1;
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const size_t exponent = i;
    if ((i = digitsFrom(i)) != t.size()) return -1;
    if (exponent == t.size()) return 0;
    Z x, limit;
    mpz_set_str(x, t.c_str() + exponent, 10);
    mpz_ui_pow_ui(limit, 2, 66);
    return mpz_cmp(x, limit) < 0 ? 0 : -1;
}

TEST(NumTextDiff, RandomTextsReadToTheirValue) {
    forEachTrial(kSeed + 2, 6000, [&](Gen& shapes, int) {
        const InputCase c = randomInput(shapes);
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\"");
        const uint64_t used = workingUsed();
        int64_t status = 1;
        Rec r = nttest::readText(c.text, &status);
        EXPECT_EQ(workingUsed(), used);
        EXPECT_TRUE(r.guardsIntact());
        ASSERT_EQ(status, expectedStatus(c.text));
        if (status != 0 || !c.known) return;
        // value = numerator * 10^(exponent - fraction)
        nrtest::Q expected;
        Z num(c.numerator), den(1);
        const int64_t scale = c.exponent - static_cast<int64_t>(c.fraction);
        Z power;
        mpz_ui_pow_ui(power, 10, static_cast<unsigned long>(scale < 0 ? -scale : scale));
        if (scale >= 0) mpz_mul(num, num, power);
        else mpz_set(den, power);
        if (c.negative) mpz_neg(num, num);
        mpq_set_num(expected, num);
        mpq_set_den(expected, den);
        mpq_canonicalize(expected);
        nrtest::Q got;
        nrtest::valueOf(got, r.p());
        EXPECT_TRUE(mpq_equal(expected, got)) << r.describe();
        EXPECT_EQ(r.negative(), c.negative);
    });
}

}  // namespace
