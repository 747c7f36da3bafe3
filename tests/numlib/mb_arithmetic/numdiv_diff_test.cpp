// Differential test of the quotient routines against GMP: random records (0
// to 12 mantissa words, leading zero words, full and roomy, both signs) are
// divided, and every result must be the exact quotient truncated toward zero
// at the exponent the routine gives it, computed with GMP rationals. A -1 must
// come exactly where the rules say there is no room, and leave x as it was.
// After every call the working stack is back where it was and the words
// behind the record are untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "q64/mb_arithmetic.h"
#include "tests/numlib/numdiv_oracle.h"

namespace {
using divtest::Q;
using divtest::Rec;
using divtest::Z;
using divtest::expectHolds;
using divtest::run;
using gmptest::forEachTrial;
using gmptest::Gen;
using nrtest::wordsOf;

constexpr int kTrials = 3000;
constexpr uint64_t kSeed = 0x5EED0D17;

// x holds its value truncated at its own exponent and fills its capacity: at
// least 64(l-2) - 53 bits, since one more peta digit would not fit.
void expectFilled(const Rec& x, const Q& v) {
    expectHolds(x, divtest::truncAt(v, x.exp()), x.exp());
    const uint64_t cap = x.capacity();
    EXPECT_LE(wordsOf(x.mantissa()), cap);
    EXPECT_GE(mpz_sizeinbase(x.mantissa(), 2) + 53, 64 * cap);
}

// The rules of _b_div for a nonzero y; true when a quotient results.
bool divExpected(const Rec& x, const Rec& y, int64_t* status) {
    const Z mx = x.mantissa(), my = y.mantissa();
    const uint64_t nx = wordsOf(mx), ny = wordsOf(my);
    *status = 0;
    if (nx == 0 || nx < ny) return nx != 0;
    const bool front = nx == ny || divtest::topAtLeast(mx, nx, my, ny);
    if (front && x.w[2] != 0 && x.lenv() == x.capacity()) *status = -1;
    return *status == 0;
}

Rec dividend(Gen& s) { return nrtest::randomRec(s, 12, 6); }
Rec divisor(Gen& s) { return nrtest::randomRec(s, 8, 6); }

TEST(NumDivDiff, IntegerQuotients) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Rec a = dividend(s), b = divisor(s), before = a;
        SCOPED_TRACE(before.describe() + " / " + b.describe());
        const int64_t status = run(a, [&] { return _b_div(a.p(), b.p()); });
        if (b.mantissa().sign() == 0) {
            EXPECT_EQ(status, -1);
            EXPECT_EQ(a.w, before.w);
            return;
        }
        int64_t expected;
        const bool quotient = divExpected(before, b, &expected);
        EXPECT_EQ(status, expected);
        if (!quotient && expected == 0 && before.mantissa().sign() != 0) {
            EXPECT_EQ(a.mantissa().sign(), 0);  // nx < ny
        } else if (!quotient) {
            EXPECT_EQ(a.w, before.w);
        } else {
            expectHolds(a, divtest::tdivQ(divtest::signedMantissa(before), divtest::signedMantissa(b)),
                        before.exp() - b.exp());
        }
    });
}

TEST(NumDivDiff, QuotientsAtAnExponentAndFillingX) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Rec a = dividend(s), b = divisor(s), before = a;
        const int64_t d0 = a.exp() - b.exp();
        const int64_t e = d0 - 3 + static_cast<int64_t>(s.below(6));
        SCOPED_TRACE(before.describe() + " / " + b.describe() + " at e" + std::to_string(e));
        const int64_t status = run(a, [&] { return _b_divrnd(a.p(), b.p(), e); });
        Rec c = before;
        const int64_t sized = run(c, [&] { return _b_divrndsz(c.p(), b.p()); });
        if (b.mantissa().sign() == 0) {
            EXPECT_EQ(status, -1);
            EXPECT_EQ(a.w, before.w);
            EXPECT_EQ(sized, -1);
            EXPECT_EQ(c.w, before.w);
            return;
        }
        Q v;
        divtest::quotientOf(v, before.p(), b.p());
        if (d0 <= e) {
            int64_t expected;
            divExpected(before, b, &expected);
            EXPECT_EQ(status, expected);
        } else {
            const Z q = divtest::truncAt(v, e);
            const bool fits = before.mantissa().sign() == 0 || wordsOf(q) <= before.capacity();
            EXPECT_EQ(status, fits ? 0 : -1);
            if (fits) expectHolds(a, q, e);
            else EXPECT_EQ(a.w, before.w);
        }
        EXPECT_EQ(sized, 0);
        if (before.mantissa().sign() == 0) EXPECT_EQ(c.w, before.w);
        else expectFilled(c, v);
    });
}

TEST(NumDivDiff, Inverses) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Rec a = dividend(s), before = a, c = a;
        SCOPED_TRACE(before.describe());
        const int64_t status = run(a, [&] { return _b_inverse(a.p()); });
        const int64_t sized = run(c, [&] { return _b_inversez(c.p()); });
        const Z m = before.mantissa();
        if (m.sign() == 0) {
            EXPECT_EQ(status, -1);
            EXPECT_EQ(sized, -1);
            EXPECT_EQ(a.w, before.w);
            EXPECT_EQ(c.w, before.w);
            return;
        }
        Q one, vx, v;
        mpq_set_ui(one, 1, 1);
        nrtest::valueOf(vx, before.p());
        mpq_div(v, one, vx);
        const int64_t e = std::min(-before.exp(), before.exp());
        const Z q = divtest::truncAt(v, e);
        // 1 / M at e = -ex needs a front word for the one-word 1, which a
        // one-word capacity cannot give.
        const bool noFront = before.exp() >= 0 && wordsOf(m) == 1 && before.capacity() == 1;
        const bool fits = wordsOf(q) <= before.capacity() && !noFront;
        EXPECT_EQ(status, fits ? 0 : -1);
        if (fits) {
            expectHolds(a, q, e);
        } else {
            Q after;
            nrtest::valueOf(after, a.p());
            EXPECT_TRUE(mpq_equal(after, vx)) << "x lost its value: " << a.describe();
        }
        EXPECT_EQ(sized, 0);
        expectFilled(c, v);
    });
}

TEST(NumDivDiff, OneWordDivisorsAndPowersOfTen) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Rec a = dividend(s), before = a, b = a, c = a;
        const uint64_t d = s.below(4) == 0 ? s.below(3) : s.runWord();
        int64_t k = static_cast<int64_t>(s.word() >> (1 + s.below(63))) * (s.coin() ? -1 : 1);
        if (s.below(8) == 0) k = s.below(2) == 0 ? 0 : INT64_MIN;
        const uint64_t tens = s.below(50);
        SCOPED_TRACE(before.describe() + " d " + std::to_string(d) + " k " + std::to_string(k) +
                     " tens " + std::to_string(tens));
        const int64_t status = run(a, [&] { return _b_divnum(a.p(), d); });
        const int64_t signedStatus = run(b, [&] { return _b_divsnum(b.p(), k); });
        const int64_t tenStatus = run(c, [&] { return _b_div10n(c.p(), tens); });
        const Z m = divtest::signedMantissa(before);
        if (d == 0) {
            EXPECT_EQ(status, -1);
            EXPECT_EQ(a.w, before.w);
        } else {
            EXPECT_EQ(status, 0);
            EXPECT_EQ(a.lenv(), before.lenv());
            expectHolds(a, divtest::tdivQ(m, Z(d)), before.exp());
        }
        if (k == 0) {
            EXPECT_EQ(signedStatus, -1);
            EXPECT_EQ(b.w, before.w);
        } else {
            EXPECT_EQ(signedStatus, 0);
            Z q = divtest::tdivQ(m, Z(k < 0 ? 0 - static_cast<uint64_t>(k) : static_cast<uint64_t>(k)));
            if (k < 0) mpz_neg(q, q);
            expectHolds(b, q, before.exp());
        }
        const uint64_t r = tens % 16;
        const Z mag = before.mantissa();
        // Only a mantissa without a free word goes through a product that may not fit.
        const bool full = wordsOf(mag) == before.capacity() && mag.sign() != 0;
        if (r != 0 && full) {
            Z scaled;
            mpz_ui_pow_ui(scaled, 10, 16 - r);
            mpz_mul(scaled, scaled, mag);
            EXPECT_EQ(tenStatus, wordsOf(scaled) <= before.capacity() ? 0 : -1);
        } else {
            EXPECT_EQ(tenStatus, 0);
        }
        if (tenStatus == 0) {
            Q want, got, p;
            nrtest::valueOf(want, before.p());
            Z ten;
            mpz_ui_pow_ui(ten, 10, tens);
            mpq_set_z(p, ten);
            mpq_div(want, want, p);
            nrtest::valueOf(got, c.p());
            EXPECT_TRUE(mpq_equal(want, got)) << c.describe();
        } else {
            EXPECT_EQ(c.w, before.w);
        }
    });
}

TEST(NumDivDiff, PowersOfTwo) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Rec a = dividend(s), before = a, b = a, c = a;
        const uint64_t k = s.below(4) == 0 ? 64 * s.below(5) : s.below(300);
        const int64_t e = a.exp() - 3 + static_cast<int64_t>(s.below(7));
        SCOPED_TRACE(before.describe() + " k " + std::to_string(k) + " e " + std::to_string(e));
        EXPECT_EQ(run(a, [&] { return _b_div2n(a.p(), k); }), 0);
        const int64_t atE = run(b, [&] { return _b_div2np(b.p(), k, e); });
        const int64_t sized = run(c, [&] { return _b_div2nsz(c.p(), k); });
        const Z m = divtest::signedMantissa(before);
        Z shifted;
        mpz_tdiv_q_2exp(shifted, m, k);
        expectHolds(a, shifted, before.exp());
        if (m.sign() == 0) {
            EXPECT_EQ(atE, 0);
            EXPECT_EQ(sized, 0);
            EXPECT_EQ(b.w, before.w);
            EXPECT_EQ(c.w, before.w);
            return;
        }
        Q v, two;
        nrtest::valueOf(v, before.p());
        Z power;
        mpz_setbit(power, k);
        mpq_set_z(two, power);
        mpq_div(v, v, two);
        const Z q = divtest::truncAt(v, e);
        const bool fits = wordsOf(q) <= before.capacity();
        EXPECT_EQ(atE, fits ? 0 : -1);
        if (fits) expectHolds(b, q, e);
        else EXPECT_EQ(b.w, before.w);
        EXPECT_EQ(sized, 0);
        expectFilled(c, v);
    });
}

}  // namespace
