// Word-array shifts, bit length and the comparison with 10^16: the boundary
// cases, then random operands against GMP.
#include <gtest/gtest.h>

#include "q64/m0_utilities.h"
#include "tests/numlib/gmp_support.h"

using namespace gmptest;

namespace {

constexpr uint64_t kOnes = ~uint64_t{0};
constexpr uint64_t kPeta = 10000000000000000u;

TEST(UtilShift, LeftAndRightReportTheBitsThatLeave) {
    Words a{0x8000000000000001u};
    EXPECT_EQ(_0_bitshtl(a.data(), 1, 1), 1);
    EXPECT_EQ(a, Words{2});
    Words b{0, 3};
    EXPECT_EQ(_0_bitshtr(b.data(), 2, 1), 1);
    EXPECT_EQ(b, (Words{0, 1}));
    Words c{1, 0x8000000000000000u};
    EXPECT_EQ(_0_bitshtl(c.data(), 2, 1), 0);
    EXPECT_EQ(c, (Words{3, 0}));
    Words d{kOnes, kOnes};
    EXPECT_EQ(_0_bitshtl(d.data(), 2, 0), 0);  // s = 0 moves nothing
    EXPECT_EQ(_0_bitshtr(d.data(), 2, 0), 0);
    EXPECT_EQ(d, (Words{kOnes, kOnes}));
    EXPECT_EQ(_0_bitshtr(d.data(), 2, 63), 1);
    EXPECT_EQ(d, (Words{1, kOnes}));  // 2^128 - 1 over 2^63 is 2^65 - 1
}

TEST(UtilShift, RefusesEmptyArraysAndCountsAbove63) {
    Words a{5, 6, 0};
    for (auto shift : {_0_bitshtl, _0_bitshtr, _0_bitshtlex, _0_bitshtrex}) {
        EXPECT_EQ(shift(a.data(), 0, 1), -1);
        EXPECT_EQ(shift(a.data(), 2, 64), -1);
    }
    EXPECT_EQ(a, (Words{5, 6, 0}));
}

TEST(UtilShift, ExactShiftsGrowTheArrayByOneWord) {
    Words a{0x8000000000000001u, 0xDEAD};
    EXPECT_EQ(_0_bitshtlex(a.data(), 1, 1), 1);
    EXPECT_EQ(a, (Words{1, 2}));  // the value doubled, in two words
    Words b{0x4000000000000000u, 7, 0xDEAD};
    EXPECT_EQ(_0_bitshtlex(b.data(), 2, 1), 0);  // nothing leaves: no growth
    EXPECT_EQ(b, (Words{0x8000000000000000u, 14, 0xDEAD}));
    Words c{0xF0, 0x0F, 0xDEAD};
    EXPECT_EQ(_0_bitshtrex(c.data(), 2, 8), 1);
    EXPECT_EQ(c, (Words{0, 0xF000000000000000u, 0x0F00000000000000u}));
    Words d{0xF0, 0xF00, 0xDEAD};
    EXPECT_EQ(_0_bitshtrex(d.data(), 2, 8), 0);
    EXPECT_EQ(d, (Words{0, 0xF000000000000000u | 0xF, 0xDEAD}));
}

TEST(UtilShift, BitLengthAndComparisonWithPeta) {
    EXPECT_EQ(_0_bitlen(nullptr, 0), 0u);
    EXPECT_EQ(_0_bitlen(Words{0, 0}.data(), 2), 0u);
    EXPECT_EQ(_0_bitlen(Words{0, 1}.data(), 2), 1u);
    EXPECT_EQ(_0_bitlen(Words{0, 1, 0}.data(), 3), 65u);
    EXPECT_EQ(_0_bitlen(Words{kOnes, 0}.data(), 2), 128u);
    EXPECT_EQ(_0_cmpeta(nullptr, 0), -1);
    EXPECT_EQ(_0_cmpeta(Words{0, 0}.data(), 2), -1);
    EXPECT_EQ(_0_cmpeta(Words{0, kPeta - 1}.data(), 2), -1);
    EXPECT_EQ(_0_cmpeta(Words{0, 0, kPeta}.data(), 3), 0);
    EXPECT_EQ(_0_cmpeta(Words{kPeta + 1}.data(), 1), 1);
    EXPECT_EQ(_0_cmpeta(Words{0, 1, 0}.data(), 3), 1);
}

TEST(UtilShift, RandomShiftsAgreeWithGmp) {
    const uint64_t seed = 0x5eed0049;
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    Gen gen(seed);
    for (int round = 0; round < 4000; ++round) {
        const size_t n = 1 + gen.below(6);
        const uint64_t s = gen.below(64);
        const Words a = gen.withLead(n);
        SCOPED_TRACE(::testing::Message() << "A = " << hex(a) << " s = " << s);
        Z value(a);
        Z expect;

        Words left = a;
        mpz_mul_2exp(expect, value, s);
        int64_t lost = mpz_sizeinbase(expect, 2) > 64 * n && expect.sign() != 0;
        ASSERT_EQ(_0_bitshtl(left.data(), n, s), lost);
        ASSERT_EQ(left, toWords(expect, n));

        Words grown = a;
        grown.push_back(0xABCDEF);
        ASSERT_EQ(_0_bitshtlex(grown.data(), n, s), lost);
        if (lost) {
            ASSERT_EQ(grown, toWords(expect, n + 1));
        } else {
            ASSERT_EQ(Words(grown.begin(), grown.end() - 1), toWords(expect, n));
            ASSERT_EQ(grown.back(), 0xABCDEFu);
        }

        Words right = a;
        Z low;
        mpz_fdiv_r_2exp(low, value, s);
        const int64_t dropped = low.sign() != 0;
        mpz_fdiv_q_2exp(expect, value, s);
        ASSERT_EQ(_0_bitshtr(right.data(), n, s), dropped);
        ASSERT_EQ(right, toWords(expect, n));

        Words kept = a;
        kept.push_back(0xABCDEF);
        ASSERT_EQ(_0_bitshtrex(kept.data(), n, s), dropped);
        if (dropped) {  // the n + 1 words hold A * 2^(64 - s)
            mpz_mul_2exp(expect, value, 64 - s);
            ASSERT_EQ(kept, toWords(expect, n + 1));
        } else {
            ASSERT_EQ(kept.back(), 0xABCDEFu);
        }

        const uint64_t bits = value.sign() == 0 ? 0 : mpz_sizeinbase(value, 2);
        ASSERT_EQ(_0_bitlen(a.data(), n), bits);
    }
}

}  // namespace
