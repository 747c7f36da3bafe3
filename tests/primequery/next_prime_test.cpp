// The next prime against its literal loops and GMP.
#include <gtest/gtest.h>

#include <random>

#include "primequery/query_work.h"
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

constexpr u128 kFailed = literal::kFailed;

u128 q(Q2Value v) { return make(v.lo, v.hi); }
uint64_t lo(u128 x) { return static_cast<uint64_t>(x); }
uint64_t hi(u128 x) { return static_cast<uint64_t>(x >> 64); }

u128 fastNext(u128 n, const Table& t) { return q(_5_prmnext(lo(n), hi(n), t.head())); }

void expectSameNext(u128 n, const Table& t) {
    u128 fast = fastNext(n, t);
    ASSERT_EQ(fast, literal::prmnext(n, t.head())) << dec(n);
    // Whenever it answers, the answer is the next prime; it fails exactly
    // from E^2 on and when the next prime is not below P^2.
    bool fails = n >= t.limitSquare() || testnum::gmpNextPrime(n) >= t.largestSquare();
    if (n < 2) fails = false;
    ASSERT_EQ(fast == kFailed, fails) << dec(n);
    if (!fails) {
        ASSERT_EQ(fast, testnum::gmpNextPrime(n)) << dec(n);
    }
}

void expectSameTrialNext(u128 n, const Table& t) {
    ASSERT_EQ(q(_5_prmttnext(lo(n), hi(n), t.head())), literal::prmttnext(n, t.head())) << dec(n);
}

void compareAllRanges(const Table& t, int count, int heavyCount, uint64_t seed) {
    std::mt19937_64 gen(seed);
    SCOPED_TRACE(seed);
    const u128 e = t.limit(), p = t.largest(), pp = t.largestSquare(), ee = t.limitSquare();
    for (u128 n = 0; n < 300; ++n) expectSameNext(n, t);
    for (int i = 0; i < count; ++i) expectSameNext(testnum::between(gen, 211, e), t);
    for (int i = 0; i < heavyCount; ++i) {
        expectSameNext(testnum::between(gen, e, pp), t);
        expectSameNext(testnum::between(gen, pp, ee), t);
        expectSameTrialNext(testnum::between(gen, p, pp), t);
    }
    for (int i = 0; i < count; ++i) {
        expectSameNext(testnum::between(gen, ee, make(0, 1)), t);
        expectSameNext(testnum::between(gen, make(0, 1), make(~0ull, ~0ull)), t);
        // Below P the literal loop tries every candidate up to P, each prime
        // one with every prime below it: only small tables, close below P.
        if (p < 100000) expectSameTrialNext(testnum::between(gen, p - 300, p), t);
        expectSameTrialNext(testnum::between(gen, pp, make(~0ull, ~0ull)), t);
    }
    for (u128 n : {p - 1, p, p + 1, e - 1, e, e + 1, pp - 1, pp, ee - 1, ee, ee + 1}) {
        expectSameNext(n, t);
        expectSameTrialNext(n, t);
    }
    // Direct calls of the trial division with small numbers, and with
    // numbers so close to 2^128 that the next candidate wraps around.
    if (p < 2000)
        for (u128 n = 0; n < 40; ++n) expectSameTrialNext(n, t);
    for (u128 n = make(~0ull - 300, ~0ull); n != 0; ++n) expectSameTrialNext(n, t);
}

TEST(NextPrime, SmallAndBitmapExamples) {
    const Table& t = testtables::startTable();
    EXPECT_EQ(fastNext(0, t), 2u);
    EXPECT_EQ(fastNext(1, t), 2u);
    EXPECT_EQ(fastNext(2, t), 3u);
    EXPECT_EQ(fastNext(198, t), 199u);
    EXPECT_EQ(fastNext(199, t), 211u);
    EXPECT_EQ(fastNext(210, t), 211u);
    EXPECT_EQ(fastNext(211, t), 223u);
    EXPECT_EQ(q(_5_prmtnext(211, t.head())), 223u);
    // Past the last prime of the bitmap the search goes on by trial division.
    EXPECT_EQ(q(_5_prmtnext(36699233, t.head())), kFailed);
    EXPECT_EQ(fastNext(36699233, t), 36699251u);
    EXPECT_EQ(fastNext(36699251, t), testnum::gmpNextPrime(36699251));
    // At or above the printed limit P^2 the first candidate is already too big.
    EXPECT_EQ(fastNext(1346833702788289u, t), kFailed);
    EXPECT_EQ(fastNext(1346833702788289u + 1000, t), kFailed);
    EXPECT_EQ(fastNext(make(0, 1), t), kFailed);
    u128 lastPrime = 1346833702788289u - 1;
    while (!testnum::gmpPrime(lastPrime)) --lastPrime;
    EXPECT_EQ(fastNext(lastPrime, t), kFailed);
    EXPECT_EQ(fastNext(lastPrime - 1, t), lastPrime);
}

TEST(NextPrime, ResultOnlyStoredOnSuccess) {
    const Table& t = testtables::startTable();
    Q2Value in{36699233, 0}, out{7, 7};
    EXPECT_EQ(_5_prmnxnum(&out, &in, t.head()), 0);
    EXPECT_EQ(q(out), 36699251u);
    in = Q2Value{lo(1346833702788289u), 0};
    out = Q2Value{7, 7};
    EXPECT_EQ(_5_prmnxnum(&out, &in, t.head()), -1);
    EXPECT_EQ(q(out), make(7, 7));
}

TEST(NextPrime, WheelStepMatchesTheLiteralOne) {
    std::mt19937_64 gen(21);
    SCOPED_TRACE(21);
    for (int i = 0; i < 20000; ++i) {
        u128 n = i < 500 ? static_cast<u128>(i) : i < 1000 ? make(~0ull - (i - 500), ~0ull) : make(gen(), gen() >> (gen() % 64));
        ASSERT_EQ(q(_5_prmnmnte(lo(n), hi(n))), literal::prmnmnte(n)) << dec(n);
    }
    EXPECT_EQ(q(_5_prmnmnte(0, 0)), 1u);
    EXPECT_EQ(q(_5_prmnmnte(1, 0)), 11u);
    EXPECT_EQ(q(_5_prmnmnte(209, 0)), 211u);
    EXPECT_EQ(q(_5_prmnmnte(~0ull, ~0ull)), 1u);  // 2^128 - 1 = 45 mod 210: wraps to 47 - 46
}

TEST(NextPrime, DivisorSearchMatchesTheLiteralLoop) {
    const Table five({5}), chain({5, 5, 8});
    for (const Table* t : {&five, &chain}) {
        std::mt19937_64 gen(22);
        SCOPED_TRACE(22);
        u128 bound = t->largestSquare();
        auto check = [&](u128 x) {
            primequery::setHead(t->head());
            primequery::queryWork.candidate = Q2Value{lo(x), hi(x)};
            primequery::queryWork.bound = Q2Value{lo(bound), hi(bound)};
            ASSERT_EQ(_5_prmchknum(), literal::prmchknum(x, bound, t->head())) << dec(x);
        };
        for (u128 x = 0; x < 5000; ++x) check(x);
        for (int i = 0; i < 3000; ++i) {
            check(make(gen(), gen() >> (gen() % 64)));
            u128 p = testnum::gmpNextPrime(gen() % (2 * t->largest()));
            u128 r = testnum::gmpNextPrime(make(gen(), gen() >> (gen() % 64)) / (p + 1));
            check(p * r);
        }
    }
}

TEST(NextPrime, MatchesTheLiteralLoopsOnAFiveWordTable) {
    Table t({5});
    compareAllRanges(t, 300, 300, 23);
    // The whole listing from the last prime of the bitmap to the failure.
    u128 n = t.largest();
    int listed = 0;
    for (;;) {
        u128 next = fastNext(n, t);
        ASSERT_EQ(next, literal::prmnext(n, t.head())) << dec(n);
        if (next == kFailed) break;
        ASSERT_EQ(next, testnum::gmpNextPrime(n));
        n = next;
        ++listed;
    }
    EXPECT_GT(testnum::gmpNextPrime(n), t.largestSquare());
    EXPECT_GT(listed, 20000);
}

TEST(NextPrime, MatchesTheLiteralLoopsOnChains) {
    compareAllRanges(Table({5, 5, 8}), 200, 200, 24);
    compareAllRanges(Table({200, 37, 64}), 100, 20, 25);
}

TEST(NextPrime, MatchesTheLiteralLoopsOnTheStartTable) {
    compareAllRanges(testtables::startTable(), 40, 1, 26);
}

}  // namespace
