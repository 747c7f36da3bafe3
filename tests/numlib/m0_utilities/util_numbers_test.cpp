// Products and powers that stop before overflow, small-number helpers, the
// 128-bit pair routines (against unsigned __int128) and short digit texts.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "q64/m0_utilities.h"

namespace {

constexpr uint64_t kOnes = ~uint64_t{0};
using u128 = unsigned __int128;

u128 wide(Q2Value v) { return (u128{v.hi} << 64) | v.lo; }
Q2Value pair(u128 v) { return {static_cast<uint64_t>(v), static_cast<uint64_t>(v >> 64)}; }

TEST(UtilNumbers, ProductOfConsecutiveIntegersStopsBeforeOverflow) {
    Q2Value r = _0_numulnum(1, 25);
    EXPECT_EQ(r.lo, 2432902008176640000u);  // 20!
    EXPECT_EQ(r.hi, 20u);
    r = _0_numulnum(25, 1);  // the arguments are ordered first
    EXPECT_EQ(r.lo, 2432902008176640000u);
    EXPECT_EQ(r.hi, 20u);
    r = _0_numulnum(5, 5);
    EXPECT_EQ(r.lo, 5u);
    EXPECT_EQ(r.hi, 5u);
    r = _0_numulnum(3, 6);
    EXPECT_EQ(r.lo, 360u);
    EXPECT_EQ(r.hi, 6u);
    r = _0_numulnum(uint64_t{1} << 32, kOnes);  // only lo itself fits
    EXPECT_EQ(r.lo, uint64_t{1} << 32);
    EXPECT_EQ(r.hi, uint64_t{1} << 32);
    r = _0_numulnum((uint64_t{1} << 32) - 1, kOnes);  // (2^32 - 1) * 2^32 still fits
    EXPECT_EQ(r.lo, ((uint64_t{1} << 32) - 1) << 32);
    EXPECT_EQ(r.hi, uint64_t{1} << 32);
    r = _0_numulnum(0, kOnes);  // a product of 0 never overflows
    EXPECT_EQ(r.lo, 0u);
    EXPECT_EQ(r.hi, kOnes);
}

TEST(UtilNumbers, PowerStopsAtTheLastExponentThatFits) {
    auto pow = [](uint64_t b, uint64_t e) {
        Q2Value r = _0_pow64(b, e);
        return std::pair<uint64_t, uint64_t>(r.lo, r.hi);
    };
    using P = std::pair<uint64_t, uint64_t>;
    EXPECT_EQ(pow(10, 25), P(10000000000000000000u, 19));
    EXPECT_EQ(pow(10, 19), P(10000000000000000000u, 0));
    EXPECT_EQ(pow(10, 20), P(10000000000000000000u, 19));
    EXPECT_EQ(pow(3, 4), P(81, 0));
    EXPECT_EQ(pow(2, 64), P(uint64_t{1} << 63, 63));
    EXPECT_EQ(pow(2, 1000), P(uint64_t{1} << 63, 63));
    EXPECT_EQ(pow(2, 63), P(uint64_t{1} << 63, 0));
    EXPECT_EQ(pow(0, 5), P(0, 0));
    EXPECT_EQ(pow(0, 0), P(0, 0));
    EXPECT_EQ(pow(1, kOnes), P(1, 0));
    EXPECT_EQ(pow(kOnes, 0), P(1, 0));
    EXPECT_EQ(pow(kOnes, 1), P(kOnes, 0));
    EXPECT_EQ(pow(kOnes, 2), P(kOnes, 1));
    EXPECT_EQ(pow(uint64_t{1} << 32, 2), P(uint64_t{1} << 32, 1));
}

TEST(UtilNumbers, SmallHelpers) {
    EXPECT_EQ(_0_n10n(7, 0), 7u);
    EXPECT_EQ(_0_n10n(7, 3), 7000u);
    EXPECT_EQ(_0_n10n(1, 20), static_cast<uint64_t>(u128{10000000000000000000u} * 10));
    EXPECT_EQ(_0_n10n(3, 64), 0u);
    EXPECT_EQ(_0_n10n(3, kOnes), 0u);
    EXPECT_EQ(_0_range(INT64_MIN, -5, 5), INT64_MIN);
    EXPECT_EQ(_0_range(-6, 5, -5), -1);
    EXPECT_EQ(_0_range(-5, 5, -5), 0);
    EXPECT_EQ(_0_range(5, -5, 5), 0);
    EXPECT_EQ(_0_range(6, -5, 5), 1);
    EXPECT_EQ(_0_range(INT64_MIN + 1, INT64_MIN, 0), 0);
    EXPECT_EQ(_0_neg(1), kOnes);
    EXPECT_EQ(_0_neg(0), 0u);
    EXPECT_EQ(_0_abs(-7), 7);
    EXPECT_EQ(_0_abs(INT64_MIN), INT64_MIN);
    EXPECT_EQ(_0_abs(INT64_MAX), INT64_MAX);
    EXPECT_EQ(_0_max(kOnes, 1), kOnes);
    EXPECT_EQ(_0_rup8(0), 0u);
    EXPECT_EQ(_0_rup8(9), 16u);
    EXPECT_EQ(_0_rup8(16), 16u);
    EXPECT_EQ(_0_rup(10, 3), 12u);
    EXPECT_EQ(_0_rup(12, 3), 12u);
    EXPECT_EQ(_0_rup(5, 1), 5u);
    EXPECT_EQ(_0_rup(5, 0), kOnes);
    EXPECT_EQ(_0_rup(kOnes - 1, kOnes), kOnes);
}

TEST(UtilNumbers, PairArithmeticAgreesWithInt128) {
    const uint64_t seed = 0x5eed0128;
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    std::mt19937_64 rng(seed);
    auto edgy = [&rng] {
        switch (rng() % 4) {
            case 0: return uint64_t{0};
            case 1: return kOnes - rng() % 3;
            case 2: return rng() % 3;
            default: return static_cast<uint64_t>(rng());
        }
    };
    for (int i = 0; i < 20000; ++i) {
        const Q2Value v{edgy(), edgy()};
        const uint64_t x = edgy(), s = rng();
        SCOPED_TRACE(::testing::Message()
                     << std::hex << v.hi << ":" << v.lo << " x " << x << " s " << s);
        ASSERT_EQ(wide(_0_addq2(v, x)), wide(v) + x);
        ASSERT_EQ(wide(_0_subq2(v, x)), wide(v) - x);
        ASSERT_EQ(wide(_0_sftlq2(v, s)), wide(v) << (s % 64));
        const int64_t signedX = static_cast<int64_t>(x);
        ASSERT_EQ(wide(_0_cvtqtoq2(signedX)), static_cast<u128>(static_cast<__int128>(signedX)));
    }
    EXPECT_EQ(wide(_0_addq2(pair(~u128{0}), 1)), 0u);
    EXPECT_EQ(wide(_0_subq2(pair(0), 1)), ~u128{0});
}

TEST(UtilNumbers, LeadingDigitsOfASixteenDigitNumber) {
    EXPECT_EQ(_0_strltonum("125", 3), 1250000000000000u);
    EXPECT_EQ(_0_strltonum("9999999999999999", 16), 9999999999999999u);
    EXPECT_EQ(_0_strltonum("7xyz", 1), 7000000000000000u);
    EXPECT_EQ(_0_strltonum("1", 0), kOnes);
    EXPECT_EQ(_0_strltonum("12345678901234567", 17), kOnes);
}

TEST(UtilNumbers, DigitsToAWordAtTheEdgeOf64Bits) {
    EXPECT_EQ(_0_strdgt64num("000"), 0u);
    EXPECT_EQ(_0_strdgt64num(""), 0u);
    EXPECT_EQ(_0_strdgt64num("x1"), 0u);
    EXPECT_EQ(_0_strdgt64num("0042x"), 42u);
    EXPECT_EQ(_0_strdgt64num("18446744073709551614"), kOnes - 1);
    EXPECT_EQ(_0_strdgt64num("18446744073709551615"), kOnes);  // reads as the failure
    EXPECT_EQ(_0_strdgt64num("18446744073709551616"), kOnes);  // 2^64
    EXPECT_EQ(_0_strdgt64num("99999999999999999999"), kOnes);
    EXPECT_EQ(_0_strdgt64num("9999999999999999999"), 9999999999999999999u);
    EXPECT_EQ(_0_strdgt64num("100000000000000000000"), kOnes);  // 21 digits
    EXPECT_EQ(_0_strdgt64num("0000000000000000000000000012"), 12u);  // zeros are skipped first
    EXPECT_EQ(_0_strdgt64num("00018446744073709551614"), kOnes - 1);
}

}  // namespace
