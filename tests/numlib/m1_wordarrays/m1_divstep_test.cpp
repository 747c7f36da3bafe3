// The pieces of one quotient step: the trial quotient, the largest divisor
// shift under a window, and the multiple and shifted subtractions; and the
// step put together from them, bit-by-bit correction included, against
// _1_div12.
#include <gtest/gtest.h>

#include "q64/m1_wordarrays.h"
#include "tests/numlib/gmp_support.h"

using namespace gmptest;

namespace {
constexpr uint64_t kOnes = ~uint64_t{0};

// A window of nb + 1 words below B * 2^64 (w[0..nb-1] < B), often close to
// a shifted or multiplied copy of B so that comparisons tie.
Words window(Gen& g, const Words& b) {
    size_t nb = b.size();
    Z zb(b), zw;
    switch (g.below(3)) {
        case 0: {  // B * m + small, m one word
            mpz_mul_ui(zw, zb, g.edgeWord());
            break;
        }
        case 1: {  // B * 2^k + small
            mpz_mul_2exp(zw, zb, g.below(64));
            break;
        }
        default: {
            mpz_set(zw, Z(g.operand(nb + 1)));
            break;
        }
    }
    if (g.coin()) mpz_add_ui(zw, zw, g.below(3));
    else if (mpz_cmp_ui(zw, 3) >= 0) mpz_sub_ui(zw, zw, g.below(3));
    Z limit;
    mpz_mul_2exp(limit, zb, 64);
    mpz_mod(zw, zw, limit);
    return toWords(zw, nb + 1);
}

TEST(WordsDivStep, TrialQuotientFollowsItsRuleAndNeverOvershoots) {
    forEachSeed(3000, [&](Gen& g) {
        size_t nb = 2 + g.below(6);
        Words b = g.divisor(nb), w = window(g, b);
        SCOPED_TRACE(hex(w) + " / " + hex(b));
        int s = topBit(b[0]);
        uint64_t want;
        if (s == 63) {
            want = b[0] == kOnes ? w[0] : static_cast<uint64_t>(
                (static_cast<unsigned __int128>(w[0]) << 64 | w[1]) / (static_cast<unsigned __int128>(b[0]) + 1));
        } else {
            Z top(b.data(), 2), wtop(w.data(), 3), q;
            mpz_fdiv_q_2exp(top, top, s + 1);
            mpz_fdiv_q_2exp(wtop, wtop, s + 1);
            ASSERT_LE(mpz_sizeinbase(top, 2), 64u);
            if (mpz_get_ui(top) == kOnes) {
                want = 0;
            } else {
                mpz_add_ui(top, top, 1);
                mpz_fdiv_q(q, wtop, top);
                want = mpz_get_ui(q);
            }
        }
        uint64_t got = _1_divtr(w.data(), b.data(), s);
        EXPECT_EQ(got, want);
        Z zw(w), zb(b), q;
        mpz_fdiv_q(q, zw, zb);
        EXPECT_LE(got, mpz_get_ui(q));
    });
}

TEST(WordsDivStep, LargestShiftUnderAWindow) {
    forEachSeed(3000, [&](Gen& g) {
        size_t nb = 1 + g.below(8);
        Words b = g.divisor(nb), w = window(g, b);
        if (g.below(8) == 0) {  // beyond the window's precondition: W >= B * 2^64
            w = Words(b);
            w.push_back(g.word());
        }
        SCOPED_TRACE(hex(w) + " / " + hex(b));
        EXPECT_EQ(_1_n1mxn2n(w.data(), b.data(), nb, topBit(b[0])), largestShift(Z(b), Z(w)));
    });
}

TEST(WordsDivStep, SubtractMultiplesAgainstGmp) {
    forEachSeed(3000, [&](Gen& g) {
        size_t nb = 1 + g.below(12);
        Words b = g.withLead(nb), w = g.operand(nb + 1);
        uint64_t q = g.edgeWord(), k = g.below(64);
        SCOPED_TRACE(hex(w) + " " + hex(b) + " q " + testing::PrintToString(q) + " k " +
                     testing::PrintToString(k));
        Z zw(w), zb(b), t, diff;

        mpz_mul_ui(t, zb, q);
        Words w1 = w;
        const int64_t multiple = _1_sub12n(w1.data(), b.data(), nb, q);
        expectDifference(w1, multiple, zw, t);

        mpz_mul_2exp(t, zb, k);
        Words w2 = w;
        const int64_t shifted = _1_sub122n(w2.data(), b.data(), nb, k);
        expectDifference(w2, shifted, zw, t);

        // n words: w[0..nb-1] -= (B * 2^k) mod 2^(64nb); the bits above are the result.
        Words w3(w.begin(), w.begin() + nb);
        Z low(w3), above, cut;
        mpz_fdiv_q_2exp(above, t, 64 * nb);
        mpz_fdiv_r_2exp(cut, t, 64 * nb);
        mpz_sub(diff, low, cut);
        int64_t want = above.sign() != 0 ? static_cast<int64_t>(mpz_get_ui(above))
                                           : (diff.sign() < 0 ? -1 : 0);
        EXPECT_EQ(_1_sub122(w3.data(), b.data(), nb, k), want);
        mpz_fdiv_r_2exp(diff, diff, 64 * nb);
        EXPECT_EQ(w3, toWords(diff, nb));
    });
}

// One quotient word the long way: trial quotient, one multiple subtracted,
// then powers of two of B subtracted while one still fits.
uint64_t stepByParts(uint64_t* w, const Words& b) {
    const uint64_t nb = b.size(), s = topBit(b[0]);
    uint64_t q = _1_divtr(w, b.data(), s);
    if (q != 0) {
        EXPECT_EQ(_1_sub12n(w, b.data(), nb, q), 0);
    }
    uint64_t u = 0;
    int64_t last = 64;
    for (int64_t k; (k = _1_n1mxn2n(w, b.data(), nb, s)) >= 0;) {
        EXPECT_LT(k, last);  // each shift below the one before
        if (k >= last) break;
        last = k;
        u |= uint64_t{1} << k;
        EXPECT_EQ(_1_sub122n(w, b.data(), nb, k), 0);
    }
    w[0] = q + u;
    return q + u;
}

TEST(WordsDivStep, QuotientWordByPartsEqualsDiv12) {
    forEachSeed(3000, [&](Gen& g) {
        size_t nb = 2 + g.below(10);
        Words b = g.divisor(nb), w = window(g, b);
        SCOPED_TRACE(hex(w) + " / " + hex(b));
        Words byParts = w, direct = w;
        uint64_t want = stepByParts(byParts.data(), b);
        EXPECT_EQ(_1_div12(direct.data(), b.data(), nb, topBit(b[0])), want);
        EXPECT_EQ(direct, byParts);
    });
}
}  // namespace
