// Long and short division of word arrays: statuses, the in-place layout of
// quotient and remainder, and random operands against GMP.
#include <gtest/gtest.h>

#include <algorithm>

#include "q64/m1_wordarrays.h"
#include "tests/numlib/gmp_support.h"

using namespace gmptest;

namespace {
constexpr uint64_t kOnes = ~uint64_t{0};

// A after a successful division of na words by B of nbs significant words:
// the quotient in the first na - nbs words, the remainder in the last nbs.
Words divided(const Words& a, const Words& b, size_t nbs) {
    Z za(a), zb(b), q, r;
    mpz_tdiv_qr(q, r, za, zb);
    EXPECT_TRUE(q.sign() == 0 || mpz_sizeinbase(q, 2) <= 64 * (a.size() - nbs)) << "no room for the quotient";
    Words out = toWords(q, a.size() - nbs);
    Words rw = toWords(r, nbs);
    out.insert(out.end(), rw.begin(), rw.end());
    return out;
}

TEST(WordsDiv, Statuses) {
    Words a{5, 6, 7};
    const Words before = a;
    Words zero(2, 0);
    EXPECT_EQ(_1_div(a.data(), 3, zero.data(), 2), -1);
    EXPECT_EQ(a, before);
    // No zero word in front and as long as the divisor: no room, even when the
    // dividend is the smaller.
    Words b3{9, 0, 0};
    EXPECT_EQ(_1_div(a.data(), 3, b3.data(), 3), -9);
    EXPECT_EQ(a, before);
    Words b2{5, 6};  // a[0..1] not below B
    EXPECT_EQ(_1_div(a.data(), 3, b2.data(), 2), -9);
    EXPECT_EQ(a, before);
    // Fewer significant words than the divisor: quotient zero, untouched.
    Words small{0, 0, 7};
    EXPECT_EQ(_1_div(small.data(), 3, b2.data(), 2), 0);
    EXPECT_EQ(small, (Words{0, 0, 7}));
    // As many significant words as the divisor but below it: 0 as well.
    Words below{0, 5, 5};
    EXPECT_EQ(_1_div(below.data(), 3, b2.data(), 2), 0);
    EXPECT_EQ(below, (Words{0, 5, 5}));
}

TEST(WordsDiv, QuotientTakesTheZeroWordInFront) {
    Words a{0, 1, 0};
    Words one{1};
    EXPECT_EQ(_1_div(a.data(), 3, one.data(), 1), 2);
    EXPECT_EQ(a, (Words{1, 0, 0}));
    // Leading zero words of the divisor are skipped: B' = (1), same result.
    Words a2{0, 1, 0};
    Words one2{0, 0, 1};
    EXPECT_EQ(_1_div(a2.data(), 3, one2.data(), 3), 2);
    EXPECT_EQ(a2, (Words{1, 0, 0}));
    // Equal significant lengths with A >= B: one quotient word in front.
    Words a3{0, 0, 7, 3}, b3{0, 2, 1};
    EXPECT_EQ(_1_div(a3.data(), 4, b3.data(), 3), 2);
    EXPECT_EQ(a3, divided(Words{0, 0, 7, 3}, b3, 2));
    EXPECT_EQ(a3[1], 3u);
}

TEST(WordsDiv, ShortDivisionStartsFromASmallFirstWord) {
    Words a{3, 5};
    EXPECT_EQ(_1_div1n(a.data(), 2, 4), 1u);
    EXPECT_EQ(a, (Words{0, (uint64_t{3} << 62) + 1}));
    Words one{kOnes};
    EXPECT_EQ(_1_div1n(one.data(), 1, 10), kOnes % 10);
    EXPECT_EQ(one[0], kOnes / 10);
}

TEST(WordsDiv, EstimateEdgesStillExact) {
    // Top divisor word all ones (the estimate is w[0]) and top 64 bits from
    // the top set bit all ones (the estimate is 0).
    const Words divisors[] = {
        {kOnes, kOnes, kOnes}, {kOnes, 0, 1}, {1, kOnes, 5}, {0x7F, ~uint64_t{0x7F} | 0x7F, 0},
        {0x7F, kOnes << 7, kOnes}, {kOnes, 1}, {1, kOnes}};
    for (const Words& b : divisors) {
        Words a(b.size() + 3, kOnes);
        a[0] = 0;
        a[1] = b[0] - 1;  // leading words just below B
        const Words before = a;
        SCOPED_TRACE(hex(b));
        EXPECT_EQ(_1_div(a.data(), a.size(), b.data(), b.size()), 3);
        EXPECT_EQ(a, divided(before, b, b.size()));
    }
}

// The status _1_div must give, by the rules of the division.
int64_t expectedStatus(const Words& a, const Words& b) {
    size_t za = leadingZeros(a), zb = leadingZeros(b);
    if (zb == b.size()) return -1;
    size_t nbs = b.size() - zb, na = a.size();
    Words bs(b.begin() + zb, b.end());
    if (za == 0) {
        if (na < nbs) return 0;
        if (na == nbs) return -9;
        if (Words(a.begin(), a.begin() + nbs) >= bs) return -9;  // same length: word order
        return static_cast<int64_t>(na - nbs);
    }
    size_t nas = na - za;
    if (nas < nbs) return 0;
    if (nas == nbs && Words(a.begin() + za, a.end()) < bs) return 0;
    return static_cast<int64_t>(na - nbs);
}

TEST(WordsDiv, RandomAgainstGmp) {
    int counts[4] = {0, 0, 0, 0};  // -1, -9, 0, quotient
    forEachSeed(4000, [&](Gen& g) {
        size_t na = 1 + g.below(40), nb = 1 + g.below(g.coin() ? 40 : na);
        Words a = g.withLead(na);
        Words b = g.coin() ? g.divisor(nb) : g.withLead(nb);
        size_t zb = g.below(nb);  // leading zero words in the divisor
        if (g.below(8) == 0) zb = nb;
        for (size_t i = 0; i < zb; ++i) b[i] = 0;
        // Make the dividend's top significant words tie with the divisor.
        size_t za = leadingZeros(a), nbs = nb - leadingZeros(b);
        if (nbs > 0 && g.below(4) == 0 && za + nbs <= na) {
            for (size_t i = 0; i < nbs; ++i) a[za + i] = b[nb - nbs + i];
            if (g.coin()) a[za + nbs - 1] -= 1;
        }
        SCOPED_TRACE(hex(a) + " / " + hex(b));
        const Words before = a;
        int64_t want = expectedStatus(a, b);
        int64_t got = _1_div(a.data(), na, b.data(), nb);
        ASSERT_EQ(got, want);
        if (got > 0) {
            EXPECT_EQ(a, divided(before, b, nb - leadingZeros(b)));
            ++counts[3];
        } else {
            EXPECT_EQ(a, before);
            ++counts[got == -1 ? 0 : got == -9 ? 1 : 2];
        }
    });
    if (HasFailure()) return;
    for (int c : counts) EXPECT_GT(c, 50);  // every status was reached
}

TEST(WordsDiv, DivisionLoopAndOneStepAgainstGmp) {
    forEachSeed(3000, [&](Gen& g) {
        size_t nb = 1 + g.below(g.coin() ? 4 : 30), na = nb + 1 + g.below(12);
        Words b = g.divisor(nb);
        Words a = g.operand(na);
        // The loop needs a[0..nb-1] < B: reduce the leading words modulo B.
        Z top(a.data(), nb), zb(b);
        mpz_mod(top, top, zb);
        Words reduced = toWords(top, nb);
        std::copy(reduced.begin(), reduced.end(), a.begin());
        if (g.below(4) == 0) {  // leading words just below B
            std::copy(b.begin(), b.end(), a.begin());
            Z t(a.data(), nb);
            mpz_sub_ui(t, t, 1);
            Words tw = toWords(t, nb);
            std::copy(tw.begin(), tw.end(), a.begin());
        }
        SCOPED_TRACE(hex(a) + " / " + hex(b));
        const Words before = a;
        EXPECT_EQ(_1_divmn(a.data(), na, b.data(), nb), static_cast<int64_t>(na - nb));
        EXPECT_EQ(a, divided(before, b, nb));
        Words viaDiv1 = before;
        EXPECT_EQ(_1_div1(viaDiv1.data(), na, b.data(), nb), static_cast<int64_t>(na - nb));
        EXPECT_EQ(viaDiv1, a);

        // One quotient word from the first window.
        Words w(before.begin(), before.begin() + nb + 1);
        Z zw(w), q, r;
        mpz_tdiv_qr(q, r, zw, zb);
        uint64_t qw = _1_div12(w.data(), b.data(), nb, topBit(b[0]));
        EXPECT_EQ(qw, mpz_get_ui(q));
        EXPECT_EQ(w[0], qw);
        EXPECT_EQ(Words(w.begin() + 1, w.end()), toWords(r, nb));
    });
}

TEST(WordsDiv, ShortDivisionAgainstGmp) {
    forEachSeed(3000, [&](Gen& g) {
        size_t n = 1 + g.below(40);
        Words a = g.withLead(n);
        uint64_t d = g.edgeWord();
        if (d == 0) d = 1;
        if (g.below(4) == 0) a[0] = d - g.below(2);  // first word at or just below d
        SCOPED_TRACE(hex(a) + testing::PrintToString(d));
        Z za(a), q;
        uint64_t rem = mpz_tdiv_q_ui(q, za, d);
        EXPECT_EQ(_1_div1n(a.data(), n, d), rem);
        EXPECT_EQ(a, toWords(q, n));
    });
}
}  // namespace
