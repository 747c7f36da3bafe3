// Differential test of the remainder and integer-part routines against GMP:
// the in-place layouts (quotient or integer part in front, remainder or
// fractional part in the last words), the one-word encodings and the
// quotient records, on random records with leading zero words, full and
// roomy, of both signs. A -1 or an unchanged x must come exactly where the
// rules say so.
#include <gtest/gtest.h>

#include <string>

#include "q64/mb_arithmetic.h"
#include "tests/numlib/numdiv_oracle.h"

namespace {
using divtest::Rec;
using divtest::run;
using divtest::Z;
using gmptest::forEachTrial;
using gmptest::Gen;
using nrtest::wordsOf;

constexpr int kTrials = 3000;
constexpr uint64_t kSeed = 0x5EED0D18;

// The value of words [from, to) of x's mantissa.
Z wordsValue(const Rec& x, uint64_t from, uint64_t to) { return Z(x.w.data() + 2 + from, to - from); }

// How a division of M by a divisor of dWords words, whose leading part `top`
// of dTop words decides whether a front word is needed, must go in x: -1, 0
// (x unchanged), or the number r of words in front of the last dWords.
int64_t expectedSplit(const Rec& x, const Z& m, uint64_t dWords, const Z& top, uint64_t dTop) {
    const uint64_t n = wordsOf(m);
    if (n < dWords) return 0;
    const bool front = divtest::topAtLeast(m, n, top, dTop);
    if (!front && n == dWords) return 0;
    uint64_t lenv = x.lenv();
    if (front && x.w[2] != 0) {
        if (lenv == x.capacity()) return -1;
        ++lenv;
    }
    return static_cast<int64_t>(lenv - dWords);
}

// After a split into r words in front of the rest: the front holds M div D,
// the rest M mod D; sign and exponent stay.
void expectSplit(const Rec& before, const Rec& x, int64_t r, const Z& m, const Z& d) {
    const uint64_t lenv = x.lenv();
    ASSERT_GE(lenv, static_cast<uint64_t>(r));
    EXPECT_EQ(mpz_cmp(wordsValue(x, 0, static_cast<uint64_t>(r)), divtest::tdivQ(m, d)), 0);
    EXPECT_EQ(mpz_cmp(wordsValue(x, static_cast<uint64_t>(r), lenv), divtest::tdivR(m, d)), 0);
    EXPECT_EQ(x.negative(), before.negative());
    EXPECT_EQ(x.exp(), before.exp());
}

// q: non-negative, exponent 0, x's record length, L the quotient's words.
void expectQuotientRecord(const Rec& q, const Rec& x, const Z& value) {
    EXPECT_EQ(q.w[0], NUMREC_HEADER(x.lenl()) | wordsOf(value));
    EXPECT_EQ(q.exp(), 0);
    EXPECT_EQ(mpz_cmp(q.mantissa(), value), 0);
}

TEST(NumDivPartsDiff, Remainders) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Rec a = nrtest::randomRec(s, 10, 4), before = a, b = a, c = a;
        Rec y = nrtest::randomRec(s, 6, 4);
        if (s.below(8) != 0) y.w[1] = a.w[1];  // mostly equal exponents
        Rec q(true, 9, nrtest::Words(3, 0x77), a.lenl()), qBefore = q;
        SCOPED_TRACE(before.describe() + " mod " + y.describe());
        const int64_t split = run(a, [&] { return _b_divrmd(a.p(), y.p()); });
        const int64_t encoded = run(b, [&] { return _b_reminder(b.p(), y.p()); });
        const int64_t moved = run(c, [&] { return _b_divreminder(c.p(), q.p(), y.p()); });
        EXPECT_TRUE(q.guardsIntact());
        const Z m = before.mantissa(), d = y.mantissa();
        if (before.exp() != y.exp() || d.sign() == 0) {
            EXPECT_EQ(split, -1);
            EXPECT_EQ(encoded, -1);
            EXPECT_EQ(moved, -1);
            EXPECT_EQ(a.w, before.w);
            EXPECT_EQ(c.w, before.w);
            EXPECT_EQ(q.w, qBefore.w);
            return;
        }
        const int64_t r = expectedSplit(before, m, wordsOf(d), d, wordsOf(d));
        EXPECT_EQ(split, r);
        if (r == -1) {
            EXPECT_EQ(encoded, -1);
            EXPECT_EQ(moved, -1);
            EXPECT_EQ(q.w, qBefore.w);
        }
        if (r <= 0) {
            EXPECT_EQ(a.w, before.w);
            EXPECT_EQ(b.w, before.w);
            EXPECT_EQ(c.w, before.w);
            if (r == 0) {
                EXPECT_EQ(encoded, 0);
                EXPECT_EQ(moved, 0);
                expectQuotientRecord(q, before, Z());
            }
            return;
        }
        expectSplit(before, a, r, m, d);
        const Z quotient = divtest::tdivQ(m, d), rest = divtest::tdivR(m, d);
        EXPECT_EQ(encoded, divtest::encodeWord(quotient));
        EXPECT_NE(encoded, -1);
        EXPECT_EQ(mpz_cmp(b.mantissa(), rest), 0);
        EXPECT_EQ(b.negative(), before.negative());
        EXPECT_EQ(moved, 0);
        EXPECT_EQ(mpz_cmp(c.mantissa(), rest), 0);
        expectQuotientRecord(q, before, quotient);
    });
}

TEST(NumDivPartsDiff, IntegerAndFractionalParts) {
    forEachTrial(kSeed + 1, kTrials, [&](Gen& s, int) {
        Rec a = nrtest::randomRec(s, 12, 0), before = a, b = a, c = a;
        a.w[1] = b.w[1] = c.w[1] = before.w[1] = static_cast<uint64_t>(1 - static_cast<int64_t>(s.below(12)));
        Rec q(false, -4, nrtest::Words(2, 0x99), a.lenl()), qBefore = q;
        SCOPED_TRACE(before.describe());
        const int64_t split = run(a, [&] { return _b_divintpt(a.p()); });
        const int64_t encoded = run(b, [&] { return _b_integer(b.p()); });
        const int64_t moved = run(c, [&] { return _b_divinteger(c.p(), q.p()); });
        const Z m = before.mantissa();
        const int64_t e = before.exp();
        if (m.sign() == 0 || e > 0) {
            const int64_t status = m.sign() == 0 ? 0 : -1;
            EXPECT_EQ(split, status);
            EXPECT_EQ(encoded, status);
            EXPECT_EQ(moved, status);
            EXPECT_EQ(a.w, before.w);
            EXPECT_EQ(b.w, before.w);
            if (status == -1) EXPECT_EQ(q.w, qBefore.w);
            else expectQuotientRecord(q, before, Z());
            return;
        }
        const uint64_t sp = static_cast<uint64_t>(-e);
        const Z power = nrtest::petaPower(sp);
        Z stored;  // the power without its sp/4 trailing zero words
        mpz_tdiv_q_2exp(stored, power, 64 * (sp / 4));
        const int64_t r = e == 0 ? static_cast<int64_t>(before.lenv())
                                 : expectedSplit(before, m, wordsOf(power), stored, wordsOf(stored));
        EXPECT_EQ(split, r);
        if (r <= 0) {
            EXPECT_EQ(a.w, before.w);
            if (r == -1) {
                EXPECT_EQ(encoded, -1);
                EXPECT_EQ(moved, -1);
                EXPECT_EQ(q.w, qBefore.w);
                return;
            }
        } else {
            expectSplit(before, a, r, m, power);
        }
        const Z whole = divtest::tdivQ(m, power), fraction = divtest::tdivR(m, power);
        EXPECT_EQ(encoded, divtest::encodeWord(whole));
        EXPECT_EQ(mpz_cmp(b.mantissa(), fraction), 0);
        EXPECT_EQ(b.negative(), before.negative());
        EXPECT_EQ(b.exp(), e);
        EXPECT_EQ(moved, 0);
        EXPECT_EQ(mpz_cmp(c.mantissa(), fraction), 0);
        expectQuotientRecord(q, before, whole);
    });
}

}  // namespace
