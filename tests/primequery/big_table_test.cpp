// Numbers of 2^64 and more below P^2, which take a table whose largest
// prime exceeds 2^32: one block of 128 MB (largest prime 4697619557).
#include <gtest/gtest.h>

#include <random>

#include "q64/m5_primequery.h"
#include "tests/primequery/test_numbers.h"
#include "tests/primequery/test_tables.h"

namespace {

using testnum::dec;
using testnum::make;
using testtables::Table;
using u128 = unsigned __int128;

// Sieving 128 MB takes about a minute in an unoptimised sanitizer build; the
// paths these tests reach run under the sanitizers with the smaller tables.
#if defined(__SANITIZE_ADDRESS__)
#define Q64_SKIP_BIG_TABLE() GTEST_SKIP() << "the 128 MB table is sieved in optimised builds only"
#else
#define Q64_SKIP_BIG_TABLE() (void)0
#endif

const Table& bigTable() {
    static const Table table({16777216});
    return table;
}

int64_t test(u128 n) {
    return _5_primetst(static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), bigTable().head());
}

TEST(BigTable, PrimesAbove2To64AreDecidedBelowPSquared) {
    Q64_SKIP_BIG_TABLE();
    const Table& t = bigTable();
    ASSERT_EQ(t.largest(), 4697619557u);
    const u128 pp = t.largestSquare();
    ASSERT_GT(pp >> 64, 0u);
    std::mt19937_64 gen(51);
    SCOPED_TRACE(51);
    for (int i = 0; i < 300; ++i) {
        u128 n = testnum::between(gen, make(0, 1), pp);
        int64_t expected = testnum::gmpPrime(n) ? 0 : 1;
        ASSERT_EQ(test(n), expected) << dec(n);
        u128 p = testnum::gmpNextPrime(n);
        if (p < pp) {
            ASSERT_EQ(test(p), 0) << dec(p);
        }
    }
    u128 above = testnum::gmpNextPrime(pp);
    EXPECT_EQ(test(above), -1);
}

TEST(BigTable, NextPrimesAcross2To64) {
    Q64_SKIP_BIG_TABLE();
    const Table& t = bigTable();
    u128 n = make(~0ull - 200, 0);
    for (int i = 0; i < 20; ++i) {
        u128 next = make(_5_prmnext(static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head()).lo,
                         _5_prmnext(static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head()).hi);
        ASSERT_EQ(next, testnum::gmpNextPrime(n)) << dec(n);
        n = next;
    }
    EXPECT_GT(n >> 64, 0u);
}

TEST(BigTable, TwiceAPrimeAbove2To64HasItAsCofactor) {
    Q64_SKIP_BIG_TABLE();
    const Table& t = bigTable();
    const u128 q = testnum::gmpNextPrime(make(0, 1));  // 2^64 + 13
    FactorList list;
    u128 n = 2 * q;
    ASSERT_EQ(_5_prmfct(&list, static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head()), 2);
    EXPECT_EQ(factorCount(&list), 1u);
    EXPECT_EQ(cofactorCount(&list), 1u);
    char buf[256];
    EXPECT_STREQ(_5_prmfctput(buf, &list), ("2 * " + dec(q)).c_str());
    // A prime factor below P times one above it: refused exactly when the
    // part from P on exceeds P^2.
    std::mt19937_64 gen(52);
    SCOPED_TRACE(52);
    const u128 p = t.largest();
    for (int i = 0; i < 40; ++i) {
        u128 small = testnum::gmpNextPrime(1000 + gen() % (p - 2000));
        u128 large = testnum::gmpNextPrime(p + gen() % (p * (1 + gen() % 3)));
        u128 m = small * large;
        int64_t rc = _5_prmfct(&list, static_cast<uint64_t>(m), static_cast<uint64_t>(m >> 64), t.head());
        ASSERT_EQ(rc, 2) << dec(m);
        EXPECT_EQ(list.word[0], static_cast<uint64_t>(small));
        u128 refusedProduct = large * testnum::gmpNextPrime(large);  // both above P
        rc = _5_prmfct(&list, static_cast<uint64_t>(refusedProduct), static_cast<uint64_t>(refusedProduct >> 64),
                       t.head());
        ASSERT_EQ(rc, refusedProduct <= t.largestSquare() ? 2 : -1) << dec(refusedProduct);
    }
}

}  // namespace
