// Where the bucket primes start: the eight-lane computation against the
// plain one, bit for bit, on random blocks of primes of every size and spans
// anywhere below 2^64, and against the multiple's bit worked out directly
// (past hi, only that both lie past the span).
// (Where the processor has no 512-bit vectors, both sides are the plain one.)
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "numlib/m0_utilities/prime_test64.h"
#include "primetable/interval/bucket_starts.h"
#include "primetable/interval/interval_span.h"
#include "primetable/sieve_steps.h"
#include "primetable/wheel.h"

namespace {

// A block of n ascending primes from about `from` on (below 2^32).
std::vector<uint32_t> primesFrom(uint64_t from, uint64_t n, std::mt19937_64& random) {
    std::vector<uint32_t> primes;
    for (uint64_t candidate = from < 11 ? 11 : from; primes.size() < n; candidate += 1 + random() % 3000)
        while (candidate < (uint64_t{1} << 32)) {
            if (wordmath::isPrime64(candidate)) {
                primes.push_back(static_cast<uint32_t>(candidate));
                break;
            }
            ++candidate;
        }
    return primes;
}

interval::Starts startsOf(const std::vector<uint32_t>& primes, const interval::Span& span, bool vectors) {
    interval::testing::allowVectorStarts(vectors);
    interval::Starts out{};
    interval::computeStarts(primes.data(), primes.size(), span, out);
    interval::testing::allowVectorStarts(true);
    return out;
}

TEST(BucketStarts, VectorLanesAsThePlainComputationAndTheDirectBit) {
    std::mt19937_64 random(31);
    for (int round = 0; round < 400; ++round) {
        const uint64_t n = 1 + random() % interval::kStartBlock;
        uint64_t lo;
        std::vector<uint32_t> primes;
        if (round % 2 == 0) {
            // Anywhere.
            const unsigned magnitude = 1 + static_cast<unsigned>(random() % 64);
            lo = magnitude == 64 ? random() : random() >> (64 - magnitude);
            primes = primesFrom(random() >> (32 + random() % 22), n, random);
        } else {
            // Quotients just below 2^50, where the doubles' are off by the
            // most, some of them whole (lo a multiple of the first prime, or
            // one away).
            primes = primesFrom((uint64_t{1} << 13) + random() % (uint64_t{1} << 13), n, random);
            lo = (uint64_t{primes[0]} - 1) << 50 | (random() >> 14);
            if (round % 4 == 1) lo = lo / primes[0] * primes[0] + random() % 3 - 1;
        }
        // Now and then a span shorter than twice the first prime, where most
        // primes have no multiple.
        const uint64_t width = round % 3 == 0 ? random() % (2 * uint64_t{primes[0]}) : random() >> 24;
        const uint64_t hi = ~uint64_t{0} - lo < width ? ~uint64_t{0} : lo + width;
        const interval::Span span = interval::spanOf(lo, hi);
        const interval::Starts plain = startsOf(primes, span, false);
        const interval::Starts vector = startsOf(primes, span, true);
        for (uint64_t i = 0; i < n; ++i) {
            const uint64_t q = primes[i];
            // The first multiple q m at or above lo and q^2 with m prime to 210,
            // by 128-bit arithmetic, and its bit counted from lo's period.
            unsigned __int128 m = (static_cast<unsigned __int128>(lo) + q - 1) / q;
            if (m < q) m = q;
            while (!wheel::primeTo210(static_cast<uint64_t>(m % wheel::kModulus))) ++m;
            const unsigned __int128 multiple = m * q;
            if (multiple > hi) {
                EXPECT_GE(plain.bits[i], span.endBit) << lo << " " << q;
                EXPECT_GE(vector.bits[i], span.endBit) << lo << " " << q;
                continue;
            }
            ASSERT_EQ(plain.bits[i], vector.bits[i]) << lo << " " << q;
            ASSERT_EQ(plain.primes[i], vector.primes[i]) << lo << " " << q;
            ASSERT_EQ(plain.keys[i], vector.keys[i]) << lo << " " << q;
            const unsigned __int128 bit = multiple / wheel::kModulus * wheel::kSpokes +
                                          (WheelIndex[static_cast<uint64_t>(multiple % wheel::kModulus)] >> 32) -
                                          static_cast<unsigned __int128>(wheel::kSpokes) * span.period;
            ASSERT_EQ(plain.bits[i], static_cast<uint64_t>(bit)) << lo << " " << q;
            ASSERT_EQ(plain.keys[i] % wheel::kSpokes, WheelIndex[static_cast<uint64_t>(m % wheel::kModulus)] >> 32);
        }
    }
}

}  // namespace
