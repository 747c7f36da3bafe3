// Decimal conversion by halves against the sixteen-digit steps it replaces:
// texts of word arrays and word arrays of texts around the thresholds and
// at random lengths (every word of the array after reading, the one the
// steps leave behind the number included), records of many digits against
// GMP, and the fall-back when the working stack is short.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numlib/m3_petapowers/peta_sizes.h"
#include "numlib/m4_petadigits/digits_dc.h"
#include "q64/m4_petadigits.h"
#include "q64/ma_alloctext.h"
#include "numlib/tuning.h"
#include "tests/numlib/numtext_oracle.h"
#include "tests/numlib/schoolbook_reference.h"

using namespace gmptest;

namespace {
constexpr uint64_t kGuard = 0xBB67AE8584CAA73Bu;

// The text of _4_numtostr (_4_numtozstr for wholeGroups) and the steps'.
std::string written(Words a, bool wholeGroups) {
    std::vector<char> out(20 * a.size() + 32);
    const uint64_t k = wholeGroups ? _4_numtozstr(out.data(), a.data(), a.size())
                                   : _4_numtostr(out.data(), a.data(), a.size());
    return std::string(out.data(), k);
}
std::string byTheSteps(Words a, bool wholeGroups) {
    std::vector<char> out(20 * a.size() + 32);
    return std::string(out.data(), reference::numtostr(out.data(), a.data(), a.size(), wholeGroups));
}

// Digits with runs of zeros and nines.
std::string digitText(Gen& g, uint64_t count) {
    std::string s(count, '0');
    const uint64_t shape = g.below(4);
    for (char& c : s) c = shape == 1 ? '9' : static_cast<char>('0' + g.below(10));
    if (shape == 2) s.replace(0, g.below(count + 1), g.below(count + 1), '0');
    if (shape == 3) s.replace(g.below(count), std::min<uint64_t>(count, 200), 200, '9');
    s.resize(count, '0');
    return s;
}

// A word array of n words or fewer from digits with long runs of zeros, so
// that the halves below the top one start with zero digits.
Words withZeroRuns(Gen& g, uint64_t n) {
    std::string text = digitText(g, 19 * n);
    for (uint64_t i = 0; i < 4; ++i) text.replace(g.below(text.size()), 40 + g.below(300), 40 + g.below(300), '0');
    text.resize(19 * n, '0');
    text[0] = '1';
    Z z;
    mpz_set_str(z, text.c_str(), 10);
    return toWords(z, wordsOf(z));
}

TEST(TextByHalves, WritingAgainstTheSixteenDigitSteps) {
    const uint64_t t = tuning::kToTextDC;
    for (uint64_t n : {uint64_t{1}, uint64_t{2}, t - 1, t, t + 1, 2 * t, 3 * t + 1, uint64_t{100}, uint64_t{250}}) {
        SCOPED_TRACE(testing::Message() << n << " words");
        forEachSeed(6, [&](Gen& g) {
            const uint64_t shape = g.below(3);
            const Words a = shape == 0 ? g.withLead(n) : shape == 1 ? g.significant(n) : withZeroRuns(g, n);
            for (bool wholeGroups : {false, true}) EXPECT_EQ(written(a, wholeGroups), byTheSteps(a, wholeGroups));
        });
    }
}

TEST(TextByHalves, ReadingAgainstOnePetaDigitAtATime) {
    uint64_t g0 = 2;
    while (peta::wordLength(g0) < tuning::kFromTextDC) ++g0;  // the first run read by halves
    std::vector<uint64_t> counts;
    for (uint64_t g : {g0 - 1, g0, g0 + 1, 2 * g0 + 1}) counts.insert(counts.end(), {16 * g - 1, 16 * g, 16 * g + 1});
    counts.insert(counts.end(), {5000, 9001});
    for (uint64_t count : counts) {
        SCOPED_TRACE(testing::Message() << count << " digits");
        forEachSeed(3, [&](Gen& g) {
            const std::string text = digitText(g, count);
            const Words prefix = g.significant(g.below(3) == 0 ? 0 : 1 + g.below(4));
            for (bool fromLeft : {false, true}) {
                Words a(prefix.size() + peta::wordLength(count / 16 + 1) + 4, kGuard);
                std::copy(prefix.begin(), prefix.end(), a.begin());
                Words b = a;
                const uint64_t got = fromLeft ? _4_strlntonumr(a.data(), prefix.size(), text.data(), count)
                                              : _4_strntonumr(a.data(), prefix.size(), text.data(), count);
                const uint64_t want = reference::readDigits(b.data(), prefix.size(), text.data(), count, fromLeft);
                EXPECT_EQ(got, want) << (fromLeft ? "from the left" : "from the right");
                EXPECT_EQ(a, b) << (fromLeft ? "from the left" : "from the right");
            }
        });
        if (HasFailure()) return;
    }
}

// The digits of 2^(64k) 10^16 + r: the number's top word is exactly 10^16,
// where a step that multiplies by a power of 10^16 carries into the word
// after the number. From k = 36 on the run is read by halves. The words in
// and after the number, and the length, must be those of the steps.
TEST(TextByHalves, ReadingATopWordOfExactlyTenToTheSixteen) {
    Gen g(11);
    for (uint64_t k : {uint64_t{36}, uint64_t{37}, uint64_t{48}, uint64_t{71}, uint64_t{72}, uint64_t{150}}) {
        SCOPED_TRACE(testing::Message() << "k = " << k);
        Z n;
        mpz_ui_pow_ui(n, 10, 16);
        mpz_mul_2exp(n, n, 64 * k);
        Z r;
        const Words low = g.below(2) == 0 ? Words(k, 0) : g.significant(k);
        mpz_import(r, low.size(), 1, sizeof(uint64_t), 0, 0, low.data());
        mpz_add(n, n, r);
        std::vector<char> digits(mpz_sizeinbase(n, 10) + 2);
        mpz_get_str(digits.data(), 10, n);
        const std::string text(digits.data());
        for (bool fromLeft : {false, true}) {
            Words a(k + 8, kGuard), b = a;
            const uint64_t got = fromLeft ? _4_strlntonumr(a.data(), 0, text.data(), text.size())
                                          : _4_strntonumr(a.data(), 0, text.data(), text.size());
            const uint64_t want = reference::readDigits(b.data(), 0, text.data(), text.size(), fromLeft);
            EXPECT_EQ(got, want) << (fromLeft ? "from the left" : "from the right");
            EXPECT_EQ(a, b) << (fromLeft ? "from the left" : "from the right");
            if (!fromLeft) {
                ASSERT_EQ(got, k + 1);
                EXPECT_EQ(a[0], uint64_t{10000000000000000});
                EXPECT_EQ(Words(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(got)), toWords(n, got));
            }
        }
    }
}

TEST(TextByHalves, RecordsOfManyDigitsAgainstGmp) {
    Gen g(3);
    for (uint64_t count : {uint64_t{2000}, uint64_t{30000}}) {
        std::string text = digitText(g, count);
        text[0] = '7';
        int64_t status = 1;
        nrtest::Rec rec = nttest::readText(text, &status);
        ASSERT_EQ(status, 0);
        Z want;
        mpz_set_str(want, text.c_str(), 10);
        EXPECT_EQ(mpz_cmp(rec.mantissa(), want), 0);
        EXPECT_EQ(nttest::plainText(rec), "+" + text);
    }
}

// Below the words the method takes before it starts, the steps run (no
// working-stack word written); both give the same words.
TEST(TextByHalves, FallsBackToTheStepsAtTheStackEdge) {
    Gen g(5);
    const Words a = g.significant(300);
    const uint64_t needOut = m4::digitsByHalvesStack(a.data(), a.size());
    const std::string text = digitText(g, 4000);
    const uint64_t needIn = m4::readByHalvesStack(0, 250);
    for (uint64_t extra : {0, 1}) {
        SCOPED_TRACE(testing::Message() << extra << " word(s) beyond the need");
        {
            nrtest::StackFiller filler(needOut + extra);
            nrtest::StackCanary canary;
            EXPECT_EQ(written(a, false), byTheSteps(a, false));
            EXPECT_EQ(canary.touched(), extra != 0);
        }
        nrtest::StackFiller filler(needIn + extra);
        nrtest::StackCanary canary;
        Words x(peta::wordLength(251) + 2, kGuard), y = x;
        EXPECT_EQ(_4_strntonumr(x.data(), 0, text.data(), 4000),
                  reference::readDigits(y.data(), 0, text.data(), 4000, false));
        EXPECT_EQ(x, y);
        EXPECT_EQ(canary.touched(), extra != 0);
    }
}

}  // namespace
