// The interval sieve against a plain sieve of Eratosthenes and the 64-bit
// primality test: counts and lists at random intervals of every size class
// and at the edges, in segments small enough to bring each kind of sieving
// prime (patterns, turn kernels by chunk and by segment, the checked kernel,
// bucket lists) into play, on any number of threads; and how runs stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "numlib/m0_utilities/prime_test64.h"
#include "platform/work_memory.h"
#include "platform/worker_threads.h"
#include "primetable/interval/bucket_starts.h"
#include "primetable/interval/interval_runs.h"
#include "primetable/interval/interval_span.h"
#include "primetable/interval/segment_bits.h"
#include "primetable/interval/segment_sieve.h"
#include "primetable/interval/short_interval.h"
#include "primetable/sieve_threads.h"
#include "q64/m5_primetable.h"
#include "tests/primetable/table_fixture.h"

namespace {

// Sets segment size, thread cap and chunk size for one scope; every interval
// is sieved, however short.
struct Setting {
    Setting(uint64_t segmentBytes, unsigned threads = 1, uint64_t chunkNumbers = 0) {
        interval::testing::allowTests(false);
        interval::testing::setSegmentBytes(segmentBytes);
        primetable::setSieveThreadCap(threads);
        interval::testing::setChunkNumbers(chunkNumbers);
    }
    ~Setting() {
        interval::testing::setSegmentBytes(0);
        primetable::setSieveThreadCap(0);
        interval::testing::setChunkNumbers(0);
        interval::testing::sharePrimesAlways(false);
        platform::testing::limitThreadStarts(platform::kMaxThreads);
        _5_prmprogress(nullptr, nullptr);
        platform::testing::refuseWorkMemory(false);
        interval::testing::allowTests(true);
        interval::testing::allowVectorStarts(true);
    }
};

// The primes of [a, b] by a plain sieve of Eratosthenes (b - a small).
std::vector<uint64_t> plainSieve(uint64_t a, uint64_t b) {
    uint64_t root = 0;
    while ((root + 1) * (root + 1) <= b) ++root;
    std::vector<bool> small(root + 1, true);
    std::vector<bool> prime(b - a + 1, true);
    for (uint64_t p = 2; p <= root; ++p) {
        if (!small[p]) continue;
        for (uint64_t m = p * p; m <= root; m += p) small[m] = false;
        uint64_t m = a / p * p;
        if (m < a) m += p;
        if (m < p * p) m = p * p;
        for (; m <= b; m += p) prime[m - a] = false;
    }
    std::vector<uint64_t> primes;
    for (uint64_t n = a; n <= b; ++n)
        if (n >= 2 && prime[n - a]) primes.push_back(n);
    return primes;
}

int collect(const uint64_t* primes, uint64_t count, void* context) {
    auto* out = static_cast<std::vector<uint64_t>*>(context);
    out->insert(out->end(), primes, primes + count);
    return 0;
}

std::vector<uint64_t> listed(uint64_t a, uint64_t b) {
    std::vector<uint64_t> out;
    EXPECT_EQ(_5_prmeach(a, b, collect, &out), 0) << a << ".." << b;
    return out;
}

void expectInterval(uint64_t a, uint64_t b, const std::vector<uint64_t>& expected) {
    EXPECT_EQ(_5_prmcount(a, b), expected.size()) << a << ".." << b;
    EXPECT_EQ(listed(a, b), expected) << a << ".." << b;
}

TEST(IntervalSieve, EveryStartAndEndAmongTheSmallNumbers) {
    Setting s(64);
    for (uint64_t a = 0; a <= 232; ++a)
        for (uint64_t b : {a, a + 1, a + 2, a + 13, a + 210, a + 232 - a % 41}) expectInterval(a, b, plainSieve(a, b));
}

TEST(IntervalSieve, RandomIntervalsForEverySegmentSizeAgainstThePlainSieve) {
    std::mt19937_64 random(20);
    const uint64_t starts[] = {0, 1000, 1000000, 100000000, 4294967296 - 70000, 1000000000000, 123456789012345};
    for (uint64_t start : starts)
        for (int k = 0; k < 2; ++k) {
            const uint64_t a = start + random() % 100000;
            const uint64_t b = a + random() % 150000;
            const std::vector<uint64_t> expected = plainSieve(a, b);
            for (uint64_t segmentBytes : {64, 256, 2048, 0})
                for (bool vectors : {true, false}) {
                    Setting s(segmentBytes);
                    interval::testing::allowVectorStarts(vectors);
                    expectInterval(a, b, expected);
                }
        }
}

TEST(IntervalSieve, EdgesAndSinglePoints) {
    Setting s(0);
    EXPECT_EQ(_5_prmcount(0, 0), 0u);
    EXPECT_EQ(_5_prmcount(2, 2), 1u);
    EXPECT_EQ(_5_prmcount(0, 10), 4u);
    EXPECT_EQ(_5_prmcount(0, 100000000), 5761455u);
    EXPECT_EQ(_5_prmcount(4294967291, 4294967291), 1u);  // the largest prime below 2^32
    EXPECT_EQ(_5_prmcount(4294967297, 4294967297), 0u);  // 641 * 6700417
    EXPECT_EQ(_5_prmcount(1000000007, 1000000007), 1u);
    // Composites whose least factor is a bucket prime, their multiple at hi.
    for (bool vectors : {true, false}) {
        interval::testing::allowVectorStarts(vectors);
        EXPECT_EQ(_5_prmcount(1000006000009, 1000006000009), 0u);  // 1000003^2
        EXPECT_EQ(_5_prmcount(1000036000099, 1000036000099), 0u);  // 1000003 * 1000033
    }
    EXPECT_EQ(_5_prmcount(11, 10), interval::kFailed);
    std::vector<uint64_t> none;
    EXPECT_EQ(_5_prmeach(11, 10, collect, &none), -1);
    EXPECT_TRUE(none.empty());
}

// The sieving primes up to 2^32 take a second to generate, half a minute
// under the sanitizers: there the test stops below 2^50.
TEST(IntervalSieve, TopOfTheRangeAgainstThePrimalityTest) {
#if defined(__SANITIZE_ADDRESS__)
    const uint64_t top = uint64_t{1} << 50;
#else
    const uint64_t top = ~uint64_t{0};
#endif
    const uint64_t width = uint64_t{1} << 17;
    std::vector<uint64_t> expected;  // the primes of [top - width, top]
    for (uint64_t n = top - width;; ++n) {
        if (wordmath::isPrime64(n)) expected.push_back(n);
        if (n == top) break;
    }
    auto from = [&](uint64_t a) {
        return std::vector<uint64_t>(std::lower_bound(expected.begin(), expected.end(), a), expected.end());
    };
    {
        Setting s(0);
        EXPECT_EQ(listed(top - 3000, top), from(top - 3000));
        EXPECT_EQ(_5_prmcount(top - 1000, top), from(top - 1000).size());
    }
    // In 2^16-byte segments the primes from 2^15 on are bucket primes, the
    // first of them few beside the span's length (started with no early
    // test against hi), and many have their first multiple past 2^64.
    Setting s(uint64_t{1} << 16);
    EXPECT_EQ(listed(top - width, top), expected);
}

TEST(IntervalSieve, ThreadCountsAndChunksGiveTheSameAnswers) {
    const uint64_t a = 999999000000, b = a + 3000000;
    std::vector<uint64_t> expected = plainSieve(a, b);
    for (unsigned threads : {1u, 2u, 3u, 7u}) {
        Setting s(2048, threads, 100000);
        expectInterval(a, b, expected);
        if (threads > 1) {
            EXPECT_GT(interval::testing::threadsOfLastRun(), 1u);
        }
    }
}

// A table of 18 million numbers, read bit by bit: its primes from 211 on.
TEST(IntervalSieve, AgreesWithTheTable) {
    Setting s(0, 2, 1000000);
    testtable::Chain table = testtable::newTable(65536);
    const uint64_t limit = table.head()[2];
    std::vector<uint64_t> fromTable;
    for (uint64_t position = 0; _5_bitval(position, table.head()) != -1; ++position)
        if (_5_bitval(position, table.head()) == 0) fromTable.push_back(_5_postonum(position).lo);
    EXPECT_EQ(listed(211, limit - 1), fromTable);
    EXPECT_EQ(_5_prmcount(0, limit - 1), static_cast<uint64_t>(_5_prmtcnt(table.head())));
}

// Where the bitmap of [lo, hi] starts and ends, against stepping number by
// number, near 0, at random and at the top of 2^64.
// Reading a segment's primes a word at a time against reading it bit by bit,
// for words that start anywhere in a period and ranges cut anywhere.
TEST(IntervalSieve, ClearNumbersReadByWordsAsBitByBit) {
    std::mt19937_64 random(48);
    alignas(8) uint8_t seg[64];
    for (int round = 0; round < 500; ++round) {
        for (uint8_t& byte : seg) byte = static_cast<uint8_t>(random() | random());  // a quarter of the bits clear
        const interval::Span span = interval::spanOf(random() >> 24, ~uint64_t{0});
        const uint64_t firstBit = random() % 1000;
        const uint64_t from = random() % 512, to = from + random() % (513 - from);
        std::vector<uint64_t> expected, got;
        for (uint64_t bit = from; bit < to; ++bit)
            if ((seg[bit / 8] & (0x80u >> (bit % 8))) == 0) expected.push_back(interval::numberOfBit(span, firstBit + bit));
        interval::forClearNumbers(seg, span, firstBit, from, to, [&](uint64_t n) { got.push_back(n); });
        ASSERT_EQ(got, expected) << firstBit << " " << from << ".." << to;
    }
}

TEST(IntervalSieve, SpanBitsAreTheFirstAndLastNumbersPrimeTo210) {
    auto primeTo210 = [](uint64_t n) { return n % 2 && n % 3 && n % 5 && n % 7; };
    std::mt19937_64 random(210);
    std::vector<uint64_t> starts = {0, 1, 2, 209, 210, 211, ~uint64_t{0} - 420};
    for (int i = 0; i < 50; ++i) starts.push_back(random() >> (random() % 64));
    for (uint64_t lo : starts)
        for (uint64_t width : {0, 1, 10, 209, 500}) {
            const uint64_t hi = ~uint64_t{0} - lo < width ? ~uint64_t{0} : lo + width;
            const interval::Span span = interval::spanOf(lo, hi);
            uint64_t first = lo;
            while (first < hi && !primeTo210(first)) ++first;
            uint64_t last = hi;
            while (last > lo && !primeTo210(last)) --last;
            if (!primeTo210(first) || first > last) {
                EXPECT_EQ(span.firstBit, span.endBit) << lo << ".." << hi;
                continue;
            }
            EXPECT_EQ(interval::numberOfBit(span, span.firstBit), first) << lo << ".." << hi;
            EXPECT_EQ(interval::numberOfBit(span, span.endBit - 1), last) << lo << ".." << hi;
        }
}

struct Reports {
    std::vector<std::pair<uint64_t, uint64_t>> seen;
};

int record(uint64_t done, uint64_t total, void* context) {
    static_cast<Reports*>(context)->seen.emplace_back(done, total);
    return 0;
}

TEST(IntervalSieve, ProgressRisesToTheTotal) {
    for (unsigned threads : {1u, 2u}) {
        Setting s(4096, threads, 3000000);
        Reports reports;
        _5_prmprogress(record, &reports);
        EXPECT_EQ(_5_prmcount(5, 30000000), 1857857u);  // pi(3 * 10^7) less 2 and 3
        ASSERT_GT(reports.seen.size(), 2u);
        EXPECT_EQ(reports.seen.front().first, 0u);
        for (size_t i = 1; i < reports.seen.size(); ++i) {
            EXPECT_LE(reports.seen[i - 1].first, reports.seen[i].first);
            EXPECT_LE(reports.seen[i].first, reports.seen[i].second);
        }
        if (threads == 1) {
            EXPECT_EQ(reports.seen.back().first, reports.seen.back().second);
        }
    }
}

int stopAfterFirst(const uint64_t* primes, uint64_t count, void* context) {
    collect(primes, count, context);
    return 1;
}

int stopAtOnce(uint64_t, uint64_t, void* context) {
    ++*static_cast<int*>(context);
    return 1;
}

TEST(IntervalSieve, SinkAndProgressHookStopTheRun) {
    for (unsigned threads : {1u, 3u}) {
        Setting s(256, threads, 200000);
        std::vector<uint64_t> got;
        EXPECT_EQ(_5_prmeach(0, 10000000, stopAfterFirst, &got), 1);
        std::vector<uint64_t> expected = plainSieve(0, 10000000);
        ASSERT_FALSE(got.empty());
        ASSERT_LT(got.size(), expected.size());
        expected.resize(got.size());
        EXPECT_EQ(got, expected);

        int calls = 0;
        _5_prmprogress(stopAtOnce, &calls);
        EXPECT_EQ(_5_prmcount(0, 10000000), interval::kFailed);
        EXPECT_EQ(calls, 1);
        got.clear();
        EXPECT_EQ(_5_prmeach(0, 10000000, collect, &got), 1);
        EXPECT_EQ(calls, 2);
    }
}

// Stops the run at its fifth report.
int stopAfterSegments(uint64_t, uint64_t, void* context) { return ++*static_cast<int*>(context) >= 5; }

// Threads that share out the sieving primes count the union of their
// segments: the plain sieve's counts for every segment size and thread
// count, with threads refused (the shares follow the threads that start),
// and the progress hook's stop. High starts bring every prime to the lists.
TEST(IntervalSieve, ThreadsSharingThePrimesCountAsThePlainSieve) {
    std::mt19937_64 random(24);
    for (uint64_t start : {uint64_t{0}, uint64_t{1000000}, uint64_t{4294967296 - 70000}, uint64_t{123456789012345},
                           uint64_t{1} << 44}) {
        const uint64_t a = start + random() % 100000;
        const uint64_t b = a + random() % 150000;
        const uint64_t expected = plainSieve(a, b).size();
        for (uint64_t segmentBytes : {64, 256, 2048, 0})
            for (unsigned threads : {2u, 3u, 7u}) {
                Setting s(segmentBytes, threads);
                interval::testing::sharePrimesAlways(true);
                EXPECT_EQ(_5_prmcount(a, b), expected) << a << ".." << b << " " << segmentBytes << " " << threads;
                // Fewer when the machine cannot back the bucket lists of tiny segments.
                EXPECT_GT(interval::testing::threadsOfLastRun(), 1u);
                platform::testing::limitThreadStarts(0);
                EXPECT_EQ(_5_prmcount(a, b), expected) << a << ".." << b << " " << segmentBytes << " " << threads;
                EXPECT_EQ(interval::testing::threadsOfLastRun(), 1u);
            }
    }
    Setting s(4096, 3);
    interval::testing::sharePrimesAlways(true);
    Reports reports;
    _5_prmprogress(record, &reports);
    EXPECT_EQ(_5_prmcount(5, 30000000), 1857857u);
    ASSERT_GT(reports.seen.size(), 2u);
    EXPECT_EQ(reports.seen.back().first, reports.seen.back().second);
    int calls = 0;
    _5_prmprogress(stopAtOnce, &calls);
    EXPECT_EQ(_5_prmcount(0, 10000000), interval::kFailed);
    _5_prmprogress(stopAfterSegments, &calls);
    EXPECT_EQ(_5_prmcount(1000000000000, 1000100000000), interval::kFailed);
}

// Short intervals high up are answered by testing each number: the same
// counts and lists as the sieve, on either side of the cut-over (sqrt(b) /
// 256 numbers), with the sieve's stops.
TEST(IntervalSieve, ShortIntervalsByTestsAgreeWithTheSieve) {
    std::mt19937_64 random(23);
    for (uint64_t start : {uint64_t{1} << 40, uint64_t{1000000000000000}, uint64_t{1} << 56}) {
        const uint64_t a = start + random() % 1000000;
        uint64_t root = 0;
        while ((root + 1) * (root + 1) <= a) ++root;
        const uint64_t cut = root / 256;
        ASSERT_TRUE(interval::testsBeatSieving(a, a + cut / 2)) << a;
        ASSERT_FALSE(interval::testsBeatSieving(a, a + 2 * cut)) << a;
        uint64_t prime = a;  // an interval that ends and one that starts on a prime
        while (!wordmath::isPrime64(prime)) ++prime;
        for (uint64_t width : {uint64_t{0}, uint64_t{1}, prime - a, cut - 2, cut - 1, cut, cut + 1}) {
            const uint64_t b = a + width;
            std::vector<uint64_t> sieved;
            {
                Setting s(0);
                sieved = listed(a, b);
            }
            expectInterval(a, b, sieved);
        }
        expectInterval(prime, prime, {prime});
    }
    int calls = 0;
    _5_prmprogress(stopAtOnce, &calls);
    EXPECT_EQ(_5_prmcount(uint64_t{1} << 56, (uint64_t{1} << 56) + 100000), interval::kFailed);
    std::vector<uint64_t> got;
    EXPECT_EQ(_5_prmeach(uint64_t{1} << 56, (uint64_t{1} << 56) + 100000, collect, &got), 1);
    EXPECT_EQ(calls, 2);
    _5_prmprogress(nullptr, nullptr);
    EXPECT_EQ(_5_prmeach(uint64_t{1} << 56, (uint64_t{1} << 56) + 100000, stopAfterFirst, &got), 1);
    EXPECT_EQ(got.size(), 1024u);
}

TEST(IntervalSieve, RefusedMemoryFailsTheRun) {
    Setting s(0);
    platform::testing::refuseWorkMemory(true);
    EXPECT_EQ(_5_prmcount(0, 1000), interval::kFailed);
    std::vector<uint64_t> got;
    EXPECT_EQ(_5_prmeach(0, 1000, collect, &got), -1);
    EXPECT_TRUE(got.empty());
}

}  // namespace
