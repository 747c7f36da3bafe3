// The n-th prime against the literal word walk and GMP.
#include <gtest/gtest.h>

#include <random>

#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"
#include "reference/literal_query.h"
#include "tests/primequery/test_numbers.h"
#include "tests/primequery/test_tables.h"

namespace {

using testtables::Table;
constexpr uint64_t kNone = ~uint64_t{0};

void compareWithLiteral(const Table& t, int count, uint64_t seed) {
    std::mt19937_64 gen(seed);
    SCOPED_TRACE(seed);
    const uint64_t primes = static_cast<uint64_t>(_5_prmtcnt(t.head()));
    ASSERT_EQ(_5_prmnoth(primes, t.head()), t.largest());
    ASSERT_EQ(_5_prmnoth(primes + 1, t.head()), kNone);
    ASSERT_EQ(_5_prmnoth(~uint64_t{0}, t.head()), kNone);
    for (uint64_t n = 1; n < 200 && n <= primes; ++n) ASSERT_EQ(_5_prmnoth(n, t.head()), literal::prmnoth(n, t.head()));
    for (int i = 0; i < count; ++i) {
        uint64_t n = 1 + gen() % primes;
        uint64_t p = _5_prmnoth(n, t.head());
        ASSERT_EQ(p, literal::prmnoth(n, t.head())) << n;
        ASSERT_TRUE(testnum::gmpPrime(p)) << n;
        if (n < primes) {
            ASSERT_EQ(_5_prmnoth(n + 1, t.head()), testnum::gmpNextPrime(p)) << n;
        }
    }
}

TEST(NthPrime, SmallListAndFirstBit) {
    const Table& t = testtables::startTable();
    EXPECT_EQ(_5_prmnoth(1, t.head()), 2u);
    EXPECT_EQ(_5_prmnoth(2, t.head()), 3u);
    EXPECT_EQ(_5_prmnoth(46, t.head()), 199u);
    EXPECT_EQ(_5_prmnoth(47, t.head()), 211u);
    // There is no 0-th prime, and nothing before the small list is read.
    EXPECT_EQ(_5_prmnoth(0, t.head()), kNone);
}

TEST(NthPrime, StartTableCountGivesTheLargestPrime) {
    const Table& t = testtables::startTable();
    ASSERT_EQ(_5_prmtcnt(t.head()), 2244426);
    EXPECT_EQ(_5_prmnoth(2244426, t.head()), 36699233u);
    EXPECT_EQ(_5_prmnoth(2244427, t.head()), kNone);
    compareWithLiteral(t, 200, 31);
}

TEST(NthPrime, ChainsAcrossBlockBoundaries) {
    compareWithLiteral(Table({5}), 200, 32);
    Table chain({5, 5, 8});
    compareWithLiteral(chain, 500, 33);
    EXPECT_EQ(_5_prmtcnt(chain.head()), 290);
    // Words of 4 at a time: blocks whose bitmaps are not multiples of 4.
    Table odd({9, 6, 7, 13, 1000});
    compareWithLiteral(odd, 2000, 34);
    uint64_t n = 1;
    for (uint64_t p = 2; p != kNone; p = _5_prmnoth(++n, odd.head()))
        ASSERT_EQ(p, literal::prmnoth(n, odd.head())) << n;
    EXPECT_EQ(n - 1, static_cast<uint64_t>(_5_prmtcnt(odd.head())));
}

}  // namespace
