// Word-array comparisons that the long division rests on, against GMP.
#include <gtest/gtest.h>

#include "q64/m0_utilities.h"
#include "tests/numlib/gmp_support.h"

using namespace gmptest;

namespace {

TEST(WordCmp, ShiftedComparisonExamples) {
    const uint64_t eight = 8, one = 1, two = 2, ten = 10, three = 3;
    EXPECT_EQ(_0_cmp2n0(&eight, &one, 1, 3), 0);
    EXPECT_EQ(_0_cmp2n0(&eight, &two, 1, 63), -1);  // 2 * 2^63 leaves the word
    EXPECT_EQ(_0_n1mxn2n(&ten, &three, 1, 1), 1);   // 3 * 2 <= 10 < 3 * 4
    EXPECT_EQ(_0_n1mxn2n(&two, &three, 1, 1), -1);
    const uint64_t z[3] = {0, 0, 0}, lead[3] = {0, 0, 9};
    EXPECT_EQ(_0_cntzero(z, 3), 3);
    EXPECT_EQ(_0_cntzero(lead, 3), 2);
    EXPECT_EQ(_0_cmp(z, lead, 0), 0);
}

TEST(WordCmp, RandomAgainstGmp) {
    forEachSeed(4000, [&](Gen& g) {
        size_t n = 1 + g.below(10);
        Words b = g.divisor(n);
        Words a = g.withLead(n);
        uint64_t s = 1 + g.below(63);
        Z zb(b), shifted;
        mpz_mul_2exp(shifted, zb, s);
        if (g.coin()) {  // a tie or a near miss with B * 2^s
            Z near;
            mpz_fdiv_r_2exp(near, shifted, 64 * n);
            if (g.coin()) mpz_add_ui(near, near, g.below(2));
            a = toWords(near, n);
        }
        SCOPED_TRACE(hex(a) + " " + hex(b) + " s " + testing::PrintToString(s));
        Z za(a);

        EXPECT_EQ(_0_cntzero(a.data(), n), static_cast<int64_t>(leadingZeros(a)));
        EXPECT_EQ(_0_cmp(a.data(), b.data(), n), sign(mpz_cmp(za, zb)));
        EXPECT_EQ(_0_cmp2n0(a.data(), b.data(), n, s), sign(mpz_cmp(za, shifted)));

        // n + 1 words: a1 = (x, A) compared with B * 2^s.
        Words a1 = a;
        a1.insert(a1.begin(), g.coin() ? b[0] >> (64 - s) : g.below(4));
        Z za1(a1);
        EXPECT_EQ(_0_cmp2n1(a1.data(), b.data(), n, s), sign(mpz_cmp(za1, shifted)));

        // The largest shifts, whenever their preconditions hold.
        uint64_t t = topBit(b[0]);
        if (a[0] != 0) {
            EXPECT_EQ(_0_n1mxn2n(a.data(), b.data(), n, t), largestShift(zb, za));
        }
        if (a1[0] != 0) {
            EXPECT_EQ(_0_n1mxn2n1(a1.data(), b.data(), n, t), largestShift(zb, za1));
        }
    });
}
}  // namespace
