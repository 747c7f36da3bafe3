// Decimal digit tokens to 64- and 128-bit values (module _0_).
#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "q64/m0_utilities.h"

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};
const std::string kMaxQ2 = "340282366920938463463374607431768211455";  // 2^128 - 1
const std::string kTwoTo128 = "340282366920938463463374607431768211456";

TEST(TextNumber, DgtlenCountsLeadingAsciiDigits) {
    EXPECT_EQ(_0_dgtlen("0017x"), 4u);
    EXPECT_EQ(_0_dgtlen("x17"), 0u);
    EXPECT_EQ(_0_dgtlen(""), 0u);
    EXPECT_EQ(_0_dgtlen("12 3"), 2u);
    EXPECT_EQ(_0_dgtlen("\x82\x4f"), 0u);  // full-width 0 is not a digit
    EXPECT_EQ(_0_dgtlen("9/:"), 1u);       // the bytes next to the digits
}

TEST(TextNumber, StrtonumWrapsModulo2To64) {
    EXPECT_EQ(_0_strtonum("0017", 4), 17u);
    EXPECT_EQ(_0_strtonum("12345", 3), 123u);
    EXPECT_EQ(_0_strtonum("18446744073709551615", 20), kAllOnes);
    EXPECT_EQ(_0_strtonum("18446744073709551616", 20), 0u);
}

TEST(TextNumber, StrtobignumCarriesIntoTheHighWordFrom19Digits) {
    Q2Value v = _0_strtobignum("999999999999999999", 18);
    EXPECT_EQ(v.lo, 999999999999999999u);
    EXPECT_EQ(v.hi, 0u);
    v = _0_strtobignum("9999999999999999999", 19);
    EXPECT_EQ(v.lo, 9999999999999999999u);
    EXPECT_EQ(v.hi, 0u);
    v = _0_strtobignum("18446744073709551616", 20);  // 2^64
    EXPECT_EQ(v.lo, 0u);
    EXPECT_EQ(v.hi, 1u);
    v = _0_strtobignum(kMaxQ2.c_str(), 39);
    EXPECT_EQ(v.lo, kAllOnes);
    EXPECT_EQ(v.hi, kAllOnes);
    v = _0_strtobignum(kTwoTo128.c_str(), 39);  // modulo 2^128
    EXPECT_EQ(v.lo, 0u);
    EXPECT_EQ(v.hi, 0u);
}

TEST(TextNumber, StrtobigarAcceptsUpTo2To128Minus1) {
    Q2Value v{5, 5};
    ASSERT_EQ(_0_strtobigar(&v, kMaxQ2.c_str(), 39), &v);
    EXPECT_EQ(v.lo, kAllOnes);
    EXPECT_EQ(v.hi, kAllOnes);

    v = Q2Value{5, 6};
    EXPECT_EQ(_0_strtobigar(&v, kTwoTo128.c_str(), 39), nullptr);
    EXPECT_EQ(v.lo, 5u);
    EXPECT_EQ(v.hi, 6u);
    EXPECT_EQ(_0_strtobigar(&v, ("1" + kMaxQ2).c_str(), 0), nullptr);
    EXPECT_EQ(_0_strtobigar(&v, "999999999999999999999999999999999999999", 0), nullptr);
    EXPECT_EQ(v.lo, 5u);

    // Leading zeros do not count against the 39 digits.
    std::string sevenWithZeros = std::string(39, '0') + "7";
    ASSERT_NE(_0_strtobigar(&v, sevenWithZeros.c_str(), 40), nullptr);
    EXPECT_EQ(v.lo, 7u);
    EXPECT_EQ(v.hi, 0u);
    ASSERT_NE(_0_strtobigar(&v, ("000" + kMaxQ2).c_str(), 0), nullptr);
    EXPECT_EQ(v.hi, kAllOnes);
    ASSERT_NE(_0_strtobigar(&v, std::string(60, '0').c_str(), 0), nullptr);
    EXPECT_EQ(v.lo, 0u);
    EXPECT_EQ(v.hi, 0u);
}

TEST(TextNumber, StrtobigarDigitCounts) {
    Q2Value v{1, 1};
    ASSERT_NE(_0_strtobigar(&v, "12345 6", 0), nullptr);  // n = 0: all leading digits
    EXPECT_EQ(v.lo, 12345u);
    EXPECT_EQ(v.hi, 0u);
    ASSERT_NE(_0_strtobigar(&v, "12345", 3), nullptr);  // exactly n, the rest ignored
    EXPECT_EQ(v.lo, 123u);
    v = Q2Value{9, 9};
    EXPECT_EQ(_0_strtobigar(&v, "12x45", 3), nullptr);  // fewer than n digits
    EXPECT_EQ(_0_strtobigar(&v, "x", 0), nullptr);      // no digit at all
    EXPECT_EQ(_0_strtobigar(&v, "", 0), nullptr);
    EXPECT_EQ(v.lo, 9u);
    EXPECT_EQ(v.hi, 9u);
}

// Random values with long runs of zero and one bits, parsed from GMP's text
// (with and without leading zeros) and printed back.
TEST(TextNumber, RoundTripAgainstGmp) {
    const uint32_t seed = 20240611;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 rng(seed);
    auto runs = [&rng] {
        uint64_t w = 0;
        for (int bit = 0; bit < 64;) {
            int len = 1 + static_cast<int>(rng() % 24);
            if (rng() & 1) w |= (len >= 64 ? kAllOnes : ((uint64_t{1} << len) - 1)) << bit;
            bit += len;
        }
        return w;
    };
    mpz_t z;
    mpz_init(z);
    for (int i = 0; i < 4000; ++i) {
        Q2Value want{runs(), (i % 4 == 0) ? 0 : runs() >> (rng() % 64)};
        mpz_set_ui(z, want.hi);
        mpz_mul_2exp(z, z, 64);
        mpz_add_ui(z, z, want.lo);
        char digits[48];
        mpz_get_str(digits, 10, z);
        std::string text = std::string(i % 3, '0') + digits;
        SCOPED_TRACE(text);

        Q2Value got{};
        ASSERT_EQ(_0_strtobigar(&got, text.c_str(), 0), &got);
        EXPECT_EQ(got.lo, want.lo);
        EXPECT_EQ(got.hi, want.hi);

        char out[40];
        uint64_t n = _0_numq2tostr(out, want.lo, want.hi);
        EXPECT_EQ(std::string(out, n), digits);
        EXPECT_EQ(_0_numq2decsz(want.lo, want.hi), (want.lo | want.hi) ? n : 0u);
    }
    mpz_clear(z);
}

}  // namespace
