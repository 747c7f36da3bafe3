// pi(x) by the combinatorial method and the n-th prime beyond the table:
// published values, a plain sieve in the test, and the two routines against
// each other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "numlib/m0_utilities/prime_test64.h"
#include "platform/work_memory.h"
#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"

namespace {

constexpr uint64_t kNone = ~uint64_t{0};

// The primes in [lo, hi] by a plain sieve of the window (hi - lo small).
uint64_t sieveWindow(uint64_t lo, uint64_t hi) {
    std::vector<bool> composite(hi - lo + 1);
    for (uint64_t p = 2; p * p <= hi; ++p) {
        uint64_t first = (lo + p - 1) / p * p;
        if (first < p * p) first = p * p;
        for (uint64_t m = first; m <= hi; m += p) composite[m - lo] = true;
    }
    uint64_t count = 0;
    for (uint64_t n = lo < 2 ? 2 : lo; n <= hi; ++n) count += !composite[n - lo];
    return count;
}

// Restores the default thread cap when a test ends.
struct ThreadCap {
    explicit ThreadCap(uint64_t cap) { _5_prmthreads(cap); }
    ~ThreadCap() { _5_prmthreads(0); }
};

const uint64_t kPublished[] = {4, 25, 168, 1229, 9592, 78498, 664579, 5761455, 50847534, 455052511,
                               4118054813, 37607912018, 346065536839, 3204941750802, 29844570422669,
                               279238341033925, 2623557157654233, 24739954287740860, 234057667276344607};

TEST(PrimeCount, PublishedPowersOfTen) {
    uint64_t x = 1;
    for (unsigned k = 1; k <= 13; ++k) {
        x *= 10;
        EXPECT_EQ(_5_prmpi(x), kPublished[k - 1]) << "10^" << k;
    }
}

TEST(PrimeCount, LargePublishedValuesWhenAsked) {
    if (std::getenv("Q64_LONG_COUNTS") == nullptr) GTEST_SKIP() << "set Q64_LONG_COUNTS to run";
    uint64_t x = 10000000000000;
    for (unsigned k = 14; k <= 19; ++k) {
        x *= 10;
        EXPECT_EQ(_5_prmpi(x), kPublished[k - 1]) << "10^" << k;
    }
    EXPECT_EQ(_5_prmpi(~uint64_t{0}), 425656284035217743u);
    EXPECT_EQ(_5_prmnthx(425656284035217743u), 18446744073709551557u);
}

// Every x below 2^24 at random and around the direct sieve's limit against
// one plain sieve; then windows at random x up to 10^11: pi(hi) - pi(lo - 1)
// against the sieve of [lo, hi].
TEST(PrimeCount, AgreesWithAPlainSieve) {
    constexpr uint64_t kTop = uint64_t{1} << 24;
    std::vector<uint32_t> pi(kTop + 1);
    std::vector<bool> composite(kTop + 1);
    uint32_t count = 0;
    for (uint64_t n = 0; n <= kTop; ++n) {
        if (n >= 2 && !composite[n]) {
            ++count;
            for (uint64_t m = n * n; m <= kTop; m += n) composite[m] = true;
        }
        pi[n] = count;
    }
    std::mt19937_64 gen(2201);
    for (uint64_t x = 0; x < 1000; ++x) ASSERT_EQ(_5_prmpi(x), pi[x]) << x;
    for (uint64_t shift = 21; shift <= 24; ++shift)
        for (uint64_t x = (uint64_t{1} << shift) - 40; x <= (uint64_t{1} << shift) && x <= kTop; ++x)
            ASSERT_EQ(_5_prmpi(x), pi[x]) << x;
    for (int i = 0; i < 200; ++i) {
        const uint64_t x = gen() % kTop;
        ASSERT_EQ(_5_prmpi(x), pi[x]) << x;
    }
    for (int i = 0; i < 24; ++i) {
        const uint64_t top = i < 8 ? 1000000000 : i < 16 ? 10000000000 : 100000000000;
        const uint64_t hi = kTop + gen() % top;
        const uint64_t lo = hi - gen() % 200000;
        ASSERT_EQ(_5_prmpi(hi) - _5_prmpi(lo - 1), sieveWindow(lo, hi)) << lo << ".." << hi;
    }
}

// Where y = alpha x^(1/3) and sqrt(x) step: cubes and squares and their
// neighbours, each against its neighbour and a sieve of the step.
TEST(PrimeCount, CubesAndSquares) {
    for (uint64_t r : {1291u, 2154u, 4641u, 10001u}) {
        const uint64_t cube = r * r * r;
        const uint64_t before = _5_prmpi(cube - 2);
        for (uint64_t x = cube - 1; x <= cube + 1; ++x)
            ASSERT_EQ(_5_prmpi(x), before + sieveWindow(cube - 1, x)) << x;
    }
    for (uint64_t r : {100003u, 316228u, 1000003u}) {
        const uint64_t square = r * r;
        const uint64_t before = _5_prmpi(square - 2);
        for (uint64_t x = square - 1; x <= square + 1; ++x)
            ASSERT_EQ(_5_prmpi(x), before + sieveWindow(square - 1, x)) << x;
    }
}

TEST(PrimeCount, SameAnswerOnEveryThreadCount) {
    const uint64_t xs[] = {123456789012, 999999999989, 3000000000000};
    uint64_t one[3];
    {
        ThreadCap cap(1);
        for (int i = 0; i < 3; ++i) one[i] = _5_prmpi(xs[i]);
    }
    for (uint64_t threads : {2u, 3u}) {
        ThreadCap cap(threads);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(_5_prmpi(xs[i]), one[i]) << threads << " threads, x = " << xs[i];
    }
    EXPECT_EQ(one[1], 37607912018u);  // 999999999989 is the last prime below 10^12
}

TEST(PrimeCount, RefusedMemoryGivesAllOnes) {
    platform::testing::refuseWorkMemory(true);
    const uint64_t pi = _5_prmpi(10000000000);
    const uint64_t nth = _5_prmnthx(1000000000);
    platform::testing::refuseWorkMemory(false);
    EXPECT_EQ(pi, kNone);
    EXPECT_EQ(nth, kNone);
    EXPECT_EQ(_5_prmpi(10000000000), 455052511u);
}

// The progress hook sees the pieces go by and may stop the count.
TEST(PrimeCount, TheProgressHookMayStopIt) {
    struct Seen {
        uint64_t calls = 0;
        uint64_t stopAt = 0;  // 0: never
    } seen;
    auto hook = [](uint64_t done, uint64_t total, void* context) -> int {
        Seen& s = *static_cast<Seen*>(context);
        EXPECT_LE(done, total);
        return ++s.calls == s.stopAt ? 1 : 0;
    };
    _5_prmprogress(hook, &seen);
    const uint64_t whole = _5_prmpi(100000000000);
    const uint64_t calls = seen.calls;
    seen = {0, calls / 2 + 1};
    const uint64_t stopped = _5_prmpi(100000000000);
    seen = {0, 3};
    const uint64_t nthStopped = _5_prmnthx(4000000000);
    _5_prmprogress(nullptr, nullptr);
    EXPECT_EQ(whole, 4118054813u);
    EXPECT_GT(calls, 4u);
    EXPECT_EQ(stopped, kNone);
    EXPECT_EQ(nthStopped, kNone);
}

TEST(NthPrimeCounted, FirstPrimesAndTheEnds) {
    const uint64_t first[] = {2, 3, 5, 7, 11};
    for (uint64_t k = 1; k <= 5; ++k) EXPECT_EQ(_5_prmnthx(k), first[k - 1]) << k;
    EXPECT_EQ(_5_prmnthx(0), kNone);
    EXPECT_EQ(_5_prmnthx(425656284035217744u), kNone);
    EXPECT_EQ(_5_prmnthx(~uint64_t{0}), kNone);
    EXPECT_EQ(_5_prmnthx(1000000000000), 29996224275833u);
}

// pi(p_K) = K, p_K prime and pi(p_K - 1) = K - 1 at random K of every size
// up to 10^11.
TEST(NthPrimeCounted, AgreesWithTheCount) {
    std::mt19937_64 gen(2202);
    for (int i = 0; i < 30; ++i) {
        const uint64_t scale = uint64_t{10} << (i % 11 * 3);
        const uint64_t k = 1 + gen() % scale;
        const uint64_t p = _5_prmnthx(k);
        ASSERT_NE(p, kNone) << k;
        ASSERT_TRUE(wordmath::isPrime64(p)) << k << " -> " << p;
        ASSERT_EQ(_5_prmpi(p), k) << p;
        ASSERT_EQ(_5_prmpi(p - 1), k - 1) << p;
    }
}

}  // namespace
