// Decimal output of 64- and 128-bit values and the powers-of-ten table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "q64/m0_utilities.h"

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};
constexpr uint64_t kE16 = 10000000000000000ull;

std::string q2Text(uint64_t lo, uint64_t hi) {
    char buf[48];
    std::memset(buf, '#', sizeof buf);
    uint64_t n = _0_numq2tostr(buf, lo, hi);
    EXPECT_EQ(buf[n], '#') << "no byte past the digits is written";
    return std::string(buf, n);
}

unsigned __int128 q2(uint64_t lo, uint64_t hi) {
    return (static_cast<unsigned __int128>(hi) << 64) | lo;
}

TEST(DecimalOutput, EdgeValuesOfEachCase) {
    EXPECT_EQ(q2Text(0, 0), "0");
    EXPECT_EQ(q2Text(kAllOnes, 0), "18446744073709551615");
    EXPECT_EQ(q2Text(0, 1), "18446744073709551616");  // 2^64: quotient 1844
    EXPECT_EQ(q2Text(7766279631452241925ull, 5), "100000000000000000005");  // 10^20 + 5
    // 10^32 - 1 is the last value of one division, 10^32 the first of three.
    EXPECT_EQ(q2Text(0x85ACEF80FFFFFFFFull, 0x4EE2D6D415Bull), std::string(32, '9'));
    EXPECT_EQ(q2Text(0x85ACEF8100000000ull, 0x4EE2D6D415Bull), "1" + std::string(32, '0'));
    EXPECT_EQ(q2Text(kAllOnes, kAllOnes), "340282366920938463463374607431768211455");
    // A value whose middle piece is zero and whose lowest is not.
    unsigned __int128 v = q2(0, 0) + 7;
    for (int i = 0; i < 32; ++i) v *= 10;
    v += 42;  // 7 * 10^32 + 42
    EXPECT_EQ(q2Text(static_cast<uint64_t>(v), static_cast<uint64_t>(v >> 64)),
              "7" + std::string(30, '0') + "42");
}

TEST(DecimalOutput, NumtostrAndNumtostr16) {
    char buf[24];
    EXPECT_EQ(_0_numtostr(buf, 0), 1u);
    EXPECT_EQ(buf[0], '0');
    EXPECT_EQ(_0_numtostr(buf, kAllOnes), 20u);
    EXPECT_EQ(std::string(buf, 20), "18446744073709551615");
    EXPECT_EQ(_0_numtostr16(buf, 5), 16u);
    EXPECT_EQ(std::string(buf, 16), "0000000000000005");
    EXPECT_EQ(_0_numtostr16(buf, 0), 16u);
    EXPECT_EQ(std::string(buf, 16), std::string(16, '0'));
    EXPECT_EQ(_0_numtostr16(buf, kE16 - 1), 16u);
    EXPECT_EQ(std::string(buf, 16), std::string(16, '9'));
}

TEST(DecimalOutput, ByteMoves) {
    char text[] = "abcde";
    EXPECT_EQ(_0_strxchch(text, 5), 0);
    EXPECT_STREQ(text, "edcba");
    EXPECT_EQ(_0_strxchch(text, 1), 0);
    EXPECT_STREQ(text, "edcba");
    char area[] = "1234xyz";
    EXPECT_EQ(_0_strshr(area, 4, 2), 2u);  // overlapping move
    EXPECT_STREQ(area, "121234z");
}

TEST(DecimalOutput, DigitCounts) {
    EXPECT_EQ(_0_numqdecsz(0), 0u);
    EXPECT_EQ(_0_numqdecsz(9), 1u);
    EXPECT_EQ(_0_numqdecsz(10), 2u);
    EXPECT_EQ(_0_numqdecsz(pow10tab[18]), 19u);
    EXPECT_EQ(_0_numqdecsz(pow10tab[19] - 1), 19u);
    EXPECT_EQ(_0_numqdecsz(pow10tab[19]), 20u);
    EXPECT_EQ(_0_numqdecsz(kAllOnes), 20u);
    // Every power of ten up to 10^38 and the value just below it.
    unsigned __int128 p = 1;
    for (uint64_t digits = 1; digits <= 39; ++digits, p *= 10) {
        SCOPED_TRACE("10^" + std::to_string(digits - 1));
        auto lo = static_cast<uint64_t>(p), hi = static_cast<uint64_t>(p >> 64);
        EXPECT_EQ(_0_numq2decsz(lo, hi), digits);
        auto below = p - 1;
        EXPECT_EQ(_0_numq2decsz(static_cast<uint64_t>(below), static_cast<uint64_t>(below >> 64)),
                  digits - 1);
    }
    EXPECT_EQ(_0_numq2decsz(kAllOnes, kAllOnes), 39u);
}

TEST(DecimalOutput, FixedWidth) {
    char buf[48];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(_0_numq2tostrn(buf, 5, 42, 0), 0);
    EXPECT_EQ(std::string(buf, 6), std::string("   42\0", 6));
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(_0_numq2tostrn(buf, 1, 42, 0), -1);
    EXPECT_EQ(buf[0], '#');
    EXPECT_EQ(_0_numq2tostrn(buf, 0, 0, 0), 0);
    EXPECT_STREQ(buf, "0");
    EXPECT_EQ(_0_numq2tostrn(buf, 3, 0, 0), 0);
    EXPECT_STREQ(buf, "  0");
    EXPECT_EQ(_0_numq2tostrn(buf, 0, 0, 1), 0);
    EXPECT_STREQ(buf, "18446744073709551616");
    EXPECT_EQ(_0_numq2tostrn(buf, 39, kAllOnes, kAllOnes), 0);
    EXPECT_STREQ(buf, "340282366920938463463374607431768211455");
    EXPECT_EQ(_0_numq2tostrn(buf, 38, kAllOnes, kAllOnes), -1);
    EXPECT_EQ(_0_numq2tostrn(buf, 40, 0, 1), 0);
    EXPECT_EQ(std::string(buf), std::string(20, ' ') + "18446744073709551616");
}

TEST(PowersOfTen, TableAndAccessors) {
    uint64_t p = 1;
    for (uint64_t i = 0; i < 20; ++i, p *= 10) {
        EXPECT_EQ(pow10tab[i], p);
        EXPECT_EQ(pow10val(i), p);
        EXPECT_EQ(pow10ptr(i), &pow10tab[i]);
    }
    EXPECT_EQ(pow10val(19), 10000000000000000000ull);
    EXPECT_EQ(pow10val(20), kAllOnes);
    EXPECT_EQ(pow10val(kAllOnes), kAllOnes);
}

}  // namespace
