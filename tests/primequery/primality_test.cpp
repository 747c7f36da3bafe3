// The primality test against its literal loop and GMP, and its examples on
// the start table.
#include <gtest/gtest.h>

#include <random>

#include "numlib/m0_utilities/u128.h"
#include "q64/m5_primequery.h"
#include "reference/literal_query.h"
#include "tests/primequery/test_numbers.h"
#include "tests/primequery/test_tables.h"

namespace {

using testnum::dec;
using testnum::make;
using testtables::Table;
using u128 = unsigned __int128;

int64_t fastTest(u128 n, const Table& t) {
    return _5_primetst(static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head());
}

void expectSame(u128 n, const Table& t) {
    int64_t fast = fastTest(n, t);
    ASSERT_EQ(fast, literal::primetst(n, t.head())) << dec(n);
    ASSERT_EQ(_5_primetst2(static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head()),
              literal::primetst2(n, t.head()))
        << "primetst2 " << dec(n);
    if (fast == 0 || fast == 1) {
        ASSERT_EQ(testnum::gmpPrime(n), fast == 0) << dec(n);
    }
}

// Random numbers of [lo, hi): plain ones, the primes that follow them, and
// products of a prime near sqrt with a prime (the slow cases of the loop).
void compareRange(const Table& t, u128 lo, u128 hi, int count, std::mt19937_64& gen) {
    for (int i = 0; i < count; ++i) {
        u128 n = testnum::between(gen, lo, hi);
        expectSame(n, t);
        u128 p = testnum::gmpNextPrime(n);
        if (p < hi) expectSame(p, t);
        uint64_t root = wordmath::isqrt128(n);
        u128 q = testnum::gmpNextPrime(root / 2 + 1);
        u128 r = testnum::gmpNextPrime(root * 2);
        if (q * r >= lo && q * r < hi) expectSame(q * r, t);
    }
}

void compareAllRanges(const Table& t, int count, int heavyCount, uint64_t seed) {
    std::mt19937_64 gen(seed);
    SCOPED_TRACE(seed);
    const u128 e = t.limit(), pp = t.largestSquare(), ee = t.limitSquare();
    for (u128 n = 0; n < 300; ++n) expectSame(n, t);
    compareRange(t, 211, e, count, gen);
    compareRange(t, e, pp, heavyCount, gen);
    compareRange(t, pp, ee + 1, heavyCount, gen);
    compareRange(t, ee + 1, make(0, 1), count, gen);
    compareRange(t, make(0, 1), make(~0ull, ~0ull), count, gen);
    for (u128 n : {e - 1, e, e + 1, pp - 1, pp, pp + 1, ee - 1, ee, ee + 1, make(~0ull, 0), make(0, 1),
                   make(~0ull, ~0ull)})
        expectSame(n, t);
}

TEST(PrimalityTest, MatchesTheLiteralLoopOnAFiveWordTable) {
    Table t({5});
    ASSERT_EQ(t.limit(), 491u);
    ASSERT_EQ(t.largest(), 487u);
    compareAllRanges(t, 300, 300, 11);
    // Every number up to a little above E^2.
    for (u128 n = 0; n < t.limitSquare() + 500; n += 1 + n / 997) expectSame(n, t);
}

TEST(PrimalityTest, MatchesTheLiteralLoopOnAChain) {
    Table t({5, 5, 8});
    EXPECT_EQ(t.largest(), 1889u);
    compareAllRanges(t, 200, 200, 12);
    Table wide({200, 37, 64});
    compareAllRanges(wide, 100, 40, 13);
}

TEST(PrimalityTest, MatchesTheLiteralLoopOnTheStartTable) {
    const Table& t = testtables::startTable();
    compareAllRanges(t, 40, 2, 14);
}

TEST(PrimalityTest, StartTableExamples) {
    const Table& t = testtables::startTable();
    ASSERT_EQ(t.largest(), 36699233u);
    ASSERT_EQ(t.limit(), 36699251u);
    ASSERT_EQ(t.largestSquare(), 1346833702788289u);
    EXPECT_EQ(fastTest(0, t), -1);
    EXPECT_EQ(fastTest(1, t), -1);
    EXPECT_EQ(fastTest(2, t), 0);
    EXPECT_EQ(fastTest(4, t), 1);
    EXPECT_EQ(fastTest(199, t), 0);
    EXPECT_EQ(fastTest(209, t), 1);
    EXPECT_EQ(fastTest(211, t), 0);
    EXPECT_EQ(fastTest(36699233, t), 0);  // the largest prime, from the bitmap
    EXPECT_EQ(fastTest(36699251, t), 0);  // E, by trial division
    EXPECT_EQ(fastTest(1346833702788289u, t), 1);  // P^2
    EXPECT_EQ(fastTest(1346835023961001u, t), 1);  // E^2
    for (u128 n = 1346835023961001u + 1; n < 1346835023961001u + 40; ++n) {
        bool primeTo210 = n % 2 && n % 3 && n % 5 && n % 7;
        EXPECT_EQ(fastTest(n, t), primeTo210 ? -1 : 1) << dec(n);
    }
    // A prime between the printed limit and E^2 cannot be decided; a
    // composite there with a factor up to P can.
    u128 prime = testnum::gmpNextPrime(1346833702788289u);
    ASSERT_LT(prime, 1346835023961001u);
    EXPECT_EQ(fastTest(prime, t), -1);
    EXPECT_EQ(fastTest(static_cast<u128>(36699233) * 36699233 + 36699233 * 2, t), 1);
    // Far above E^2 only 2, 3, 5 and 7 decide.
    EXPECT_EQ(fastTest(make(0, 1), t), 1);          // 2^64
    EXPECT_EQ(fastTest(make(0, 1) * 3 + 21, t), 1);  // divisible by 3 and 7
    EXPECT_EQ(fastTest(make(0, 1) + 1, t), -1);     // 274177 * 67280421310721
    EXPECT_EQ(fastTest(make(~0ull - 158, ~0ull), t), -1);  // 2^128 - 159, a prime
}

}  // namespace
