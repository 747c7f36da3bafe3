// The parts of the prime count on their own: the wheel sieve's windows
// (near 0 and near 2^64) and the pi table against isPrime64, the factor
// table against trial division, the integer roots at their edges, and the
// estimate of the n-th prime.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "numlib/m0_utilities/prime_test64.h"
#include "primequery/counting/counting_plan.h"
#include "primequery/counting/pi_table.h"
#include "primequery/counting/prime_pi.h"
#include "primequery/counting/riemann_inverse.h"
#include "primequery/counting/wheel30_sieve.h"
#include "primequery/counting/wheel30.h"

namespace {

using namespace counting;

// The numbers whose bits are set in the window [byteLo, byteHi).
std::vector<uint64_t> setNumbers(const std::vector<uint8_t>& window, uint64_t byteLo) {
    std::vector<uint64_t> numbers;
    for (uint64_t i = 0; i < window.size(); ++i)
        for (unsigned bit = 0; bit < 8; ++bit)
            if ((window[i] >> bit) & 1u) numbers.push_back(30 * (byteLo + i) + kResidue[bit]);
    return numbers;
}

std::vector<uint64_t> primesAbove5(uint64_t lo, uint64_t hi) {
    std::vector<uint64_t> primes;
    for (uint64_t n = lo; n <= hi && n >= lo; ++n)
        if (n > 5 && wordmath::isPrime64(n)) primes.push_back(n);
    return primes;
}

// Consecutive segments of uneven lengths from byte 0 hold exactly the primes.
TEST(CountingSieve, SegmentsHoldExactlyThePrimes) {
    uint64_t count;
    const uint32_t* primes = smallPrimes(&count);
    std::vector<CrossState> states(count);
    PrimeSegments segments(primes, count, states.data(), 0);
    uint64_t lo = 0;
    for (uint64_t bytes : {8u, 40u, 1000u, 4096u, 24u}) {
        std::vector<uint8_t> window(bytes);
        segments.sieve(window.data(), lo, lo + bytes);
        EXPECT_EQ(setNumbers(window, lo), primesAbove5(30 * lo, 30 * (lo + bytes) - 1)) << lo;
        lo += bytes;
    }
    // Near 2^64 a window keeps exactly the numbers with no factor below 2^16.
    std::mt19937_64 gen(2203);
    const uint64_t lastBytes = ~uint64_t{0} / 30 - 64;
    for (int i = 0; i < 12; ++i) {
        const uint64_t byteLo = i == 0 ? lastBytes : lastBytes - gen() % (lastBytes / 2);
        std::vector<uint8_t> window(64);
        presieve(window.data(), byteLo, byteLo + 64);
        for (uint64_t k = 0; k < count; ++k) {
            if (primes[k] < 17) continue;
            CrossState s = startCrossing(primes[k], 30 * byteLo, primes[k]);
            crossOff(window.data(), byteLo, byteLo + 64, s);
        }
        for (uint64_t j = 0; j < 64; ++j)
            for (unsigned bit = 0; bit < 8; ++bit) {
                const uint64_t n = 30 * (byteLo + j) + kResidue[bit];
                bool smallFactor = false;
                for (uint64_t k = 3; k < count && !smallFactor; ++k) smallFactor = n % primes[k] == 0;
                ASSERT_EQ(((window[j] >> bit) & 1u) != 0, !smallFactor) << n;
            }
    }
}

TEST(CountingSieve, PiTableCountsAndSteps) {
    CountingMemory memory;
    ASSERT_TRUE(memory.reserve(uint64_t{1} << 22));
    PiTable table;
    constexpr uint64_t kLimit = 1000003;
    ASSERT_TRUE(table.build(kLimit, memory, 2));
    uint64_t pi = 0, previous = 0;
    for (uint64_t v = 0; v <= kLimit; ++v) {
        if (wordmath::isPrime64(v)) {
            ++pi;
            if (v > 5) {
                ASSERT_EQ(table.primeAbove(previous > 5 ? previous : 5), v);
                previous = v;
            }
        }
        ASSERT_EQ(table.pi(v), pi) << v;
        if (v >= 7) {
            ASSERT_EQ(table.primeAtOrBelow(v), previous) << v;
        }
    }
    EXPECT_EQ(table.primeAbove(previous), 0u);
    std::vector<uint32_t> listed(pi + 2);
    EXPECT_EQ(table.listPrimes(kLimit, listed.data()), pi);
    EXPECT_EQ(listed[1], 2u);
    EXPECT_EQ(listed[pi], previous);
}

// mu(m) times the least prime factor of m, from trial division.
int64_t factorValue(uint64_t m) {
    if (m == 1) return kNoFactor;
    int64_t mu = 1, least = 0;
    for (uint64_t p = 2; p * p <= m; ++p) {
        if (m % p != 0) continue;
        if (least == 0) least = static_cast<int64_t>(p);
        m /= p;
        if (m % p == 0) return 0;
        mu = -mu;
    }
    if (m > 1) {
        if (least == 0) least = static_cast<int64_t>(m);
        mu = -mu;
    }
    return mu * least;
}

TEST(CountingSieve, FactorTableMatchesTrialDivision) {
    CountingPlan plan;
    plan.y = 200000;
    ASSERT_TRUE(plan.memory.reserve(uint64_t{1} << 22));
    ASSERT_TRUE(plan.pi.build(plan.y + 1000, plan.memory, 1));
    plan.primes = plan.memory.take<uint32_t>(plan.y);
    plan.primeCount = plan.pi.listPrimes(plan.y, plan.primes);
    plan.a = plan.pi.pi(plan.y);
    ASSERT_TRUE(buildFactorTable(plan));
    for (uint64_t i = 0; i < wheelCount(plan.y); ++i)
        ASSERT_EQ(plan.factors[i], factorValue(wheelNumber(i))) << wheelNumber(i);
}

TEST(CountingSieve, RootsAndQuotientsAtTheirEdges) {
    const uint64_t top = ~uint64_t{0};
    EXPECT_EQ(squareRootFloor(top), 4294967295u);
    EXPECT_EQ(cubeRoot(top), 2642245u);
    for (uint64_t r : {2u, 1000u, 4294967295u}) {
        EXPECT_EQ(squareRootFloor(r * r), r);
        EXPECT_EQ(squareRootFloor(r * r - 1), r - 1);
    }
    for (uint64_t r : {2u, 1000u, 2642245u}) {
        EXPECT_EQ(cubeRoot(r * r * r), r);
        EXPECT_EQ(cubeRoot(r * r * r - 1), r - 1);
    }
    std::mt19937_64 gen(2204);
    for (int i = 0; i < 100000; ++i) {
        const uint64_t q = 2 + gen() % 1000000000;
        const uint64_t a = gen() >> (i % 3 == 0 ? 0 : 12);
        ASSERT_EQ(divide(a, q), a / q) << a << " / " << q;
        if (a < kReciprocalLimit) {
            ASSERT_EQ(divideByReciprocal(a, q, 1.0 / static_cast<double>(q)), a / q);
        }
        // Exact multiples and their neighbours, where rounding bites.
        const uint64_t m = (a >> 20) / q * q;
        if (m > 0 && m < kReciprocalLimit) {
            ASSERT_EQ(divideByReciprocal(m, q, 1.0 / static_cast<double>(q)), m / q);
            ASSERT_EQ(divideByReciprocal(m - 1, q, 1.0 / static_cast<double>(q)), (m - 1) / q);
        }
    }
}

// R^-1(k) lies within a small part of sqrt(p_k) of the k-th prime, and the
// estimate of the last index stays below 2^64.
TEST(CountingSieve, RiemannEstimateIsClose) {
    const struct {
        uint64_t k, prime;
    } known[] = {{1000, 7919}, {1000000, 15485863}, {1000000000, 22801763489}, {1000000000000, 29996224275833}};
    for (const auto& c : known) {
        const double gap = std::fabs(static_cast<double>(riemannInverse(c.k)) - static_cast<double>(c.prime));
        EXPECT_LT(gap, std::sqrt(static_cast<double>(c.prime))) << c.k;
    }
    const uint64_t last = riemannInverse(425656284035217743);
    EXPECT_GT(last, 18446744000000000000u);
}

}  // namespace
