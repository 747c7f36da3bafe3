// Powers of 10^16: the PetaPowers table, the size estimates, building large
// powers and the PetaCache rules.
#include <gtest/gtest.h>

#include <string>

#include "numlib/m3_petapowers/peta_cache.h"
#include "q64/m0_utilities.h"
#include "q64/m3_petapowers.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using nrtest::Z;

void emptyCache() { PetaCache[0] = PETA_CACHE_WORDS; }

// The reduced power read at a location: its words times 2^(64 floor(k/4)).
Z unreduced(const uint64_t* value, uint64_t k) {
    Z z(value, value[-1] & 0x7FFFFFFFu);
    mpz_mul_2exp(z, z, 64 * (k / 4));
    return z;
}

TEST(PetaPowers, EveryEntryIsTheReducedPower) {
    for (uint64_t k = 0; k <= 32; ++k) {
        SCOPED_TRACE(k);
        const uint64_t* v = _3_peta(k);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v[-1], _3_petaqw(k));
        EXPECT_NE(v[0], 0u);
        EXPECT_NE(v[v[-1] - 1], 0u);  // no trailing zero word left
        EXPECT_EQ(mpz_cmp(unreduced(v, k), nrtest::petaPower(k)), 0);
    }
    EXPECT_EQ(_3_peta(0)[0], 1u);
    EXPECT_EQ(_3_peta(1)[0], 0x2386F26FC10000u);
    EXPECT_EQ(_3_peta(4)[-1], 3u);
    EXPECT_EQ(_3_peta(32)[-1], 19u);
    EXPECT_EQ(_3_peta(33), nullptr);
}

TEST(PetaSizes, MatchTheExactPowers) {
    Z power(1);
    Z peta(NUMREC_PETA);
    for (uint64_t k = 0; k <= 4000; ++k) {
        SCOPED_TRACE(k);
        uint64_t bits = mpz_sizeinbase(power, 2);
        ASSERT_EQ(_3_petabitl(k), bits);
        ASSERT_EQ(_3_petaqwl(k), (bits + 63) / 64);
        ASSERT_EQ(_3_petaqw(k), (bits + 63) / 64 - k / 4);
        mpz_mul(power, power, peta);
    }
    EXPECT_EQ(_3_petabitl(1), 54u);
    EXPECT_EQ(_3_petaqwl(0), 1u);
    EXPECT_EQ(_3_petaqwl(2), 2u);
    EXPECT_EQ(_3_petaqwl(4), 4u);
    EXPECT_EQ(_3_petaqw(4), 3u);
    EXPECT_EQ(_3_petaqwl(33), 28u);
    EXPECT_EQ(_3_petabitl(~uint64_t{0}), ~uint64_t{0});  // saturates instead of wrapping
}

TEST(PetaSizes, DigitsOfTheSmallestNumberOfEachBitLength) {
    Z power(1);  // 2^(b-1)
    for (uint64_t b = 1; b <= 8000; ++b) {
        SCOPED_TRACE(b);
        uint64_t digits = 1;  // peta digits: the largest d with 10^(16(d-1)) <= 2^(b-1)
        while (mpz_cmp(nrtest::petaPower(digits), power) <= 0) ++digits;
        ASSERT_EQ(_3_bitpetal(b), digits);
        mpz_mul_2exp(power, power, 1);
    }
    EXPECT_EQ(_3_bitpetal(54), 1u);
    EXPECT_EQ(_3_bitpetal(64), 2u);
    EXPECT_EQ(_3_bitpetal(128), 3u);
}

TEST(PetaBuild, LargePowersStayWithinCountPlusOneWords) {
    for (uint64_t k : {0u, 5u, 32u, 33u, 63u, 64u, 65u, 96u, 97u, 127u, 200u, 531u}) {
        SCOPED_TRACE(k);
        uint64_t q = _3_petaqw(k);
        std::vector<uint64_t> dst(q + 1 + 4, 0x77);
        EXPECT_EQ(_3_mkpeta(dst.data(), k), q);
        for (size_t i = q + 1; i < dst.size(); ++i) EXPECT_EQ(dst[i], 0x77u);
        Z z(dst.data(), q);
        mpz_mul_2exp(z, z, 64 * (k / 4));
        EXPECT_EQ(mpz_cmp(z, nrtest::petaPower(k)), 0);
    }
}

TEST(PetaCacheRules, BuildsOnceThenFinds) {
    emptyCache();
    const uint64_t* a = _3_petaddr(33);
    ASSERT_EQ(a, &PetaCache[2]);
    EXPECT_EQ(PetaCache[1], (uint64_t{33} << 32) | 20);
    EXPECT_EQ(PetaCache[0] >> 32, 21u);
    EXPECT_EQ(mpz_cmp(unreduced(a, 33), nrtest::petaPower(33)), 0);
    PetaCache[2] ^= 1;  // a second call must not build the entry again
    EXPECT_EQ(_3_petaddr(33), a);
    EXPECT_NE(mpz_cmp(unreduced(a, 33), nrtest::petaPower(33)), 0);
    PetaCache[2] ^= 1;
    const uint64_t* b = _3_petaddr(1000);
    EXPECT_EQ(b, &PetaCache[23]);
    EXPECT_EQ(mpz_cmp(unreduced(b, 1000), nrtest::petaPower(1000)), 0);
    EXPECT_EQ(_3_petaddr(33), a);
    EXPECT_EQ(_3_petaddr(7), _3_peta(7));
}

TEST(PetaCacheRules, LargestPowerFitsAnEmptyCacheAndTheNextRefused) {
    emptyCache();
    EXPECT_EQ(_3_petaddr(3521), nullptr);
    EXPECT_EQ(PetaCache[0] >> 32, 0u);
    const uint64_t* big = _3_petaddr(3520);
    ASSERT_EQ(big, &PetaCache[2]);
    EXPECT_EQ(big[-1] & 0xFFFFFFFFu, 2044u);
    EXPECT_EQ(mpz_cmp(unreduced(big, 3520), nrtest::petaPower(3520)), 0);
    // No room for another entry: the cache is emptied and the new one put first.
    const uint64_t* next = _3_petaddr(40);
    EXPECT_EQ(next, &PetaCache[2]);
    EXPECT_EQ(PetaCache[0] >> 32, _3_petaqw(40) + 1);
    EXPECT_EQ(mpz_cmp(unreduced(next, 40), nrtest::petaPower(40)), 0);
    EXPECT_EQ(_3_petaddr(uint64_t{1} << 32), nullptr);
    emptyCache();
}

TEST(PetaCacheRules, EmptiesWhenTheNextEntryLeavesFewerThanTwoSpareWords) {
    emptyCache();
    // Fill with entries of k = 33 + i until the next one no longer fits.
    uint64_t inUse = 0;
    uint64_t k = 33;
    while (_3_petaqw(k) + 3 < PETA_CACHE_WORDS - inUse) {
        _3_petaddr(k);
        inUse += _3_petaqw(k) + 1;
        ASSERT_EQ(PetaCache[0] >> 32, inUse);
        ++k;
    }
    const uint64_t* v = _3_petaddr(k);
    EXPECT_EQ(v, &PetaCache[2]);
    EXPECT_EQ(mpz_cmp(unreduced(v, k), nrtest::petaPower(k)), 0);
    emptyCache();
}

}  // namespace
