// Primality, factorisation and next and previous primes of every number
// below 2^128 without a table, against GMP: random numbers of every bit
// length 1 to 128 in several shapes, and the known traps.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "q64/m5_primequery.h"
#include "tests/primequery/test_numbers.h"

namespace {

using testnum::dec;
using testnum::make;
using u128 = unsigned __int128;

// The sanitizer build runs the quadratic sieve many times slower: fewer
// numbers there.
#ifdef Q64_CHECKS
constexpr int kPerLength = 2;
#else
constexpr int kPerLength = 6;
#endif

uint64_t lo(u128 x) { return static_cast<uint64_t>(x); }
uint64_t hi(u128 x) { return static_cast<uint64_t>(x >> 64); }

u128 bits(std::mt19937_64& gen, int b) {
    const u128 top = u128{1} << (b - 1);
    return b == 128 ? testnum::between(gen, top, ~u128{0}) | top : testnum::between(gen, top, top << 1);
}

// The answers of _5_primetstx and _5_prmfctx for n against GMP: the
// verdict, a list of ascending primes below 2^64 with the one prime of 2^64
// or more as cofactor, whose product is n.
void expectRight(u128 n) {
    const int64_t verdict = _5_primetstx(lo(n), hi(n));
    ASSERT_EQ(verdict, n < 2 ? -1 : (testnum::gmpPrime(n) ? 0 : 1)) << dec(n);
    ASSERT_EQ(_5_prmprobx(lo(n), hi(n)), verdict) << dec(n);
    static FactorList list;
    list.header = 0x1234;
    const int64_t count = _5_prmfctx(&list, lo(n), hi(n));
    if (n < 2) {
        ASSERT_EQ(count, -1);
        ASSERT_EQ(list.header, 0x1234u) << "the list of n < 2 is left alone";
        return;
    }
    ASSERT_EQ(list.header >> 56, 0xFFu);
    ASSERT_EQ(count, static_cast<int64_t>(factorCount(&list) + cofactorCount(&list))) << dec(n);
    ASSERT_EQ(count == 1, verdict == 0) << dec(n);
    u128 product = 1;
    for (uint64_t i = 0; i < factorCount(&list); ++i) {
        ASSERT_TRUE(testnum::gmpPrime(list.word[i])) << dec(n);
        if (i > 0) {
            ASSERT_LE(list.word[i - 1], list.word[i]) << dec(n);
        }
        product *= list.word[i];
    }
    if (cofactorCount(&list) == 1) {
        const u128 cofactor = make(list.word[factorCount(&list)], list.word[factorCount(&list) + 1]);
        ASSERT_GT(hi(cofactor), 0u) << dec(n);
        ASSERT_TRUE(testnum::gmpPrime(cofactor)) << dec(n);
        product *= cofactor;
    }
    ASSERT_EQ(product, n) << dec(n);
}

// The next prime above n and the previous one below it against GMP.
void expectNeighbours(u128 n) {
    const Q2Value next = _5_prmnextx(lo(n), hi(n));
    const u128 largest = make(~0ull - 158, ~0ull);
    if (n >= largest) {
        ASSERT_TRUE(next.lo == ~0ull && next.hi == ~0ull) << dec(n);
    } else {
        ASSERT_EQ(make(next.lo, next.hi), testnum::gmpNextPrime(n)) << dec(n);
    }
    const Q2Value previous = _5_prmprevx(lo(n), hi(n));
    if (n <= 2) {
        ASSERT_TRUE(previous.lo == ~0ull && previous.hi == ~0ull) << dec(n);
        return;
    }
    const u128 p = make(previous.lo, previous.hi);
    ASSERT_LT(p, n);
    ASSERT_TRUE(testnum::gmpPrime(p)) << dec(n);
    if (p != largest) {  // GMP's next prime after the largest wraps past 2^128
        ASSERT_GE(testnum::gmpNextPrime(p), n) << dec(n) << ": a prime lies between " << dec(p) << " and it";
    }
}

TEST(BeyondTheTable, RandomNumbersOfEveryLength) {
    std::mt19937_64 gen(81);
    SCOPED_TRACE(81);
    for (int b = 1; b <= 128; ++b) {
        for (int i = 0; i < kPerLength; ++i) {
            const u128 n = bits(gen, b);
            expectRight(n);
            const u128 prime = testnum::gmpNextPrime(n);  // wraps past 2^128 - 159
            if (prime > n) expectRight(prime);
            if (i == 0) expectNeighbours(n);
        }
        // Products of two primes, the split moving with the length.
        if (b >= 4) {
            const int a = 2 + (b * 7) % (b / 2 - 1 > 0 ? b / 2 - 1 : 1);
            const u128 p = testnum::gmpNextPrime(bits(gen, a) - 1);
            const u128 q = testnum::gmpNextPrime(bits(gen, b - a) - 1);
            if (p * q / q == p) expectRight(p * q);
        }
    }
}

TEST(BeyondTheTable, BalancedSemiprimesAtEverySplit) {
    std::mt19937_64 gen(82);
    SCOPED_TRACE(82);
    for (int b = 34; b <= 128; b += (kPerLength > 2 ? 6 : 18)) {
        for (int a = 17; a <= b / 2; a += 9) {
            const u128 p = testnum::gmpNextPrime(bits(gen, a)), q = testnum::gmpNextPrime(bits(gen, b - a));
            if (p * q / q == p) expectRight(p * q);
        }
    }
}

TEST(BeyondTheTable, KnownTraps) {
    const u128 p42 = testnum::gmpNextPrime(u128{1} << 42), p64 = testnum::gmpNextPrime(u128{1} << 63);
    const u128 top64 = 18446744073709551557ull;  // the largest prime below 2^64
    const std::vector<u128> traps = {
        0, 1, 2, 3, 4, 561, 1105, 1729, 2047, 41041, 825265, 321197185, 3825123056546413051ull,
        make(16800704772356552677ull, 17274),  // 318665857834031151167461, strong to the bases 2 .. 37
        make(5885577656943027709ull, 179817),  // 3317044064679887385961981, strong to the bases 2 .. 41
        p42 * p42, p42 * p42 * p42, p64 * p64, top64 * top64, top64 * 3, p42 * p42 * p64,
        make(0, 1) - 1, make(0, 1), make(1, 1), make(13, 1), make(0, 1) + 1, make(0, 1) - 59,  // 2^64 +- small
        (u128{1} << 127) - 1, u128{1} << 127, ~u128{0}, ~u128{0} - 158, ~u128{0} - 1,
    };
    for (u128 n : traps) expectRight(n);
    EXPECT_EQ(_5_primetstx(lo(~u128{0} - 158), hi(~u128{0} - 158)), 0);
    EXPECT_EQ(_5_primetstx(lo((u128{1} << 127) - 1), hi((u128{1} << 127) - 1)), 0);
}

TEST(BeyondTheTable, NextAndPreviousAroundTheEdges) {
    const u128 two64 = make(0, 1), largest = make(~0ull - 158, ~0ull);
    for (u128 n : {u128{0}, u128{1}, u128{2}, u128{3}, u128{4}, u128{65520}, u128{65521}, u128{65536},
                   u128{65537}, u128{65539}})
        expectNeighbours(n);
    for (u128 d = 0; d < 80; d += 7) {
        expectNeighbours(two64 - d);
        expectNeighbours(two64 + d);
        expectNeighbours(largest - 200 + d);
    }
    for (u128 n : {largest - 1, largest, largest + 1, ~u128{0} - 1, ~u128{0}}) expectNeighbours(n);
    // Walking up to the last prime, and down from the top.
    u128 p = largest - 400;
    int steps = 0;
    for (Q2Value next; !((next = _5_prmnextx(lo(p), hi(p))).lo == ~0ull && next.hi == ~0ull); ++steps)
        p = make(next.lo, next.hi);
    EXPECT_EQ(p, largest);
    EXPECT_GT(steps, 1);
    const Q2Value down = _5_prmprevx(~0ull, ~0ull);
    EXPECT_EQ(make(down.lo, down.hi), largest);
}

}  // namespace
