// The sieve on several threads against the same sieve on one: the same bits
// and SieveWork values for every thread count (above the machine's cores
// too) and segment split, for new tables, appended blocks and the passes over
// bits already set; and the thread cap's effect.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/hardware_threads.h"
#include "platform/work_memory.h"
#include "platform/worker_threads.h"
#include "primetable/sieve_engine.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "reference/literal_sieve.h"
#include "tests/primetable/table_fixture.h"

namespace {

// Sets the thread cap (and segment split) for one scope.
struct Setting {
    Setting(unsigned threads, uint64_t segmentWords, uint64_t chunkWords) {
        primetable::setSieveThreadCap(threads);
        sieve::testing::setSegmentWords(segmentWords, chunkWords);
    }
    ~Setting() {
        primetable::setSieveThreadCap(0);
        sieve::testing::setSegmentWords(0, 0);
        platform::testing::limitThreadStarts(platform::kMaxThreads);
        platform::testing::refuseWorkMemory(false);
    }
};

struct Built {
    std::vector<uint64_t> bitmap;
    uint64_t prime, scan, lowest;
    unsigned mostThreads = 0;  // the most threads any of its passes used
};

// A chain of the given block sizes: _5_prmnew, then _5_prmexpd per block.
Built build(const std::vector<uint64_t>& sizes) {
    std::vector<std::unique_ptr<uint64_t[]>> blocks;
    Built b;
    for (uint64_t words : sizes) {
        blocks.push_back(testtable::junkBlock(words));
        if (blocks.size() == 1) EXPECT_EQ(_5_prmnew(words, blocks[0].get()), 0);
        else EXPECT_EQ(_5_prmexpd(words, blocks.back().get(), blocks[0].get()), 0);
        unsigned t = sieve::testing::threadsOfLastRun();
        if (t > b.mostThreads) b.mostThreads = t;
    }
    for (const auto& block : blocks)
        for (uint64_t i = table::kFirstBitmapWord; i < block[table::kLastIndex]; ++i) b.bitmap.push_back(block[i]);
    b.prime = sieveWork.prime;
    b.scan = sieveWork.scan;
    b.lowest = sieveWork.lowest;
    return b;
}

int64_t firstDifference(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
    if (a.size() != b.size()) return static_cast<int64_t>(std::min(a.size(), b.size()));
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<int64_t>(i);
    return -1;
}

struct Split {
    uint64_t segmentWords, chunkWords;
    std::vector<std::vector<uint64_t>> chains;  // sizes with several segments at this split
};

// The usual split (32768-word segments) and small ones, where a run ends
// inside a prime's turn of the wheel, several runs share an index segment,
// and sieving primes are read many segments into a block.
const std::vector<Split>& splits() {
    static const std::vector<Split> all = {
        {0, 0, {{131072}, {200000}, {6, 70000, 5, 40000}}},
        {64, 8, {{5000}, {5, 3000, 9000}}},
        {1000, 100, {{40000}, {150, 20000, 7}}},
        {3, 2, {{700}, {5, 5, 600}, {6, 900}}},
    };
    return all;
}

TEST(ThreadedSieve, TablesAndChainsEqualTheSingleThreadedOnesForEveryThreadCount) {
    for (const Split& split : splits()) {
        for (const auto& sizes : split.chains) {
            std::string name = "segment " + std::to_string(split.segmentWords) + " sizes";
            for (uint64_t s : sizes) name.append(" ").append(std::to_string(s));
            SCOPED_TRACE(name);
            Built one;
            {
                Setting s(1, split.segmentWords, split.chunkWords);
                one = build(sizes);
                EXPECT_EQ(one.mostThreads, 1u);
            }
            for (unsigned threads : {2u, 3u, 5u, 16u}) {
                SCOPED_TRACE("threads " + std::to_string(threads));
                Setting s(threads, split.segmentWords, split.chunkWords);
                Built many = build(sizes);
                EXPECT_EQ(firstDifference(one.bitmap, many.bitmap), -1);
                EXPECT_EQ(many.prime, one.prime);
                EXPECT_EQ(many.scan, one.scan);
                EXPECT_EQ(many.lowest, one.lowest);
                // Every table here leaves several runs for the threads.
                EXPECT_GT(many.mostThreads, 1u);
                EXPECT_LE(many.mostThreads, threads);
            }
        }
    }
}

TEST(ThreadedSieve, SmallTablesEqualTheLiteralSieveOnManyThreads) {
    Setting s(7, 2, 1);
    for (uint64_t words : {5u, 6u, 40u, 141u, 1000u}) {
        SCOPED_TRACE("words " + std::to_string(words));
        literal::Work w;
        testtable::Chain expected = testtable::newLiteralTable(words, w);
        testtable::Chain actual = testtable::newTable(words);
        EXPECT_EQ(firstDifference(expected.bitmap(), actual.bitmap()), -1);
        EXPECT_EQ(sieveWork.prime, w.prime);
        EXPECT_EQ(sieveWork.scan, w.scan);
    }
}

// The passes over bits already set (random ones, so that the table pass
// takes composites too) on one thread and on several.
TEST(ThreadedSieve, PassesOverRandomBitsEqualTheSingleThreadedPasses) {
    const uint32_t seed = 4242;
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (uint64_t words : {3000u, 70000u}) {
        std::mt19937_64 rng(seed);
        std::vector<uint64_t> start(words);
        for (uint64_t i = 3; i < words - 1; ++i) start[i] = rng() & rng() & rng();
        std::vector<uint64_t> results[2];
        uint64_t prime[2], scan[2];
        for (int many = 0; many < 2; ++many) {
            Setting s(many ? 6 : 1, words == 3000 ? 100 : 0, words == 3000 ? 10 : 0);
            std::vector<uint64_t> block(start);
            _5_prminit(words - 1, block.data(), 0);
            for (uint64_t i = 3; i < words - 1; ++i) block[i] = start[i];
            sieveWork.head = sieveWork.target = block.data();
            _5_setflg0();
            _5_setflg2();
            if (many) {
                EXPECT_GT(sieve::testing::threadsOfLastRun(), 1u);
            }
            results[many] = block;
            prime[many] = sieveWork.prime;
            scan[many] = sieveWork.scan;
        }
        EXPECT_EQ(firstDifference(results[0], results[1]), -1) << "words " << words;
        EXPECT_EQ(prime[0], prime[1]);
        EXPECT_EQ(scan[0], scan[1]);
    }
}

TEST(ThreadedSieve, RefusedThreadsOrMemoryLeaveTheSameBits) {
    Built one;
    {
        Setting s(1, 64, 8);
        one = build({5, 6000});
    }
    {
        Setting s(4, 64, 8);
        platform::testing::limitThreadStarts(0);
        Built b = build({5, 6000});
        EXPECT_EQ(b.mostThreads, 1u);
        EXPECT_EQ(firstDifference(one.bitmap, b.bitmap), -1);
    }
    {
        Setting s(3, 64, 8);
        platform::testing::limitThreadStarts(1);
        Built b = build({5, 6000});
        EXPECT_EQ(b.mostThreads, 2u);
        EXPECT_EQ(firstDifference(one.bitmap, b.bitmap), -1);
    }
    {
        // More threads than any pass before had buffers for: the new buffers
        // are refused, and the calling thread sieves every run.
        Setting s(platform::kMaxThreads, 64, 8);
        platform::testing::refuseWorkMemory(true);
        Built b = build({5, 6000});
        EXPECT_EQ(b.mostThreads, 1u);
        EXPECT_EQ(firstDifference(one.bitmap, b.bitmap), -1);
    }
}

TEST(ThreadCap, DefaultIsTheUsableHardwareThreadsAndACapIsObeyed) {
    primetable::setSieveThreadCap(0);
    EXPECT_EQ(primetable::sieveThreads(), platform::usableHardwareThreads());
    primetable::setSieveThreadCap(1);
    EXPECT_EQ(primetable::sieveThreads(), 1u);
    primetable::setSieveThreadCap(3);
    EXPECT_EQ(primetable::sieveThreads(), 3u);
    primetable::setSieveThreadCap(100000);
    EXPECT_EQ(primetable::sieveThreads(), platform::kMaxThreads);
    primetable::setSieveThreadCap(0);
    EXPECT_EQ(primetable::sieveThreads(), platform::usableHardwareThreads());
}

}  // namespace
