// The prime-count index against counting every word: after each change of a
// table (new table, extension, a bit set by hand, released blocks, refused
// memory, a table indexed after it was read), _5_prmtcnt and _5_prmnoth
// answer what counting from the table's start answers, and the index is kept
// exactly when it still describes the table.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "platform/work_memory.h"
#include "primetable/prime_index.h"
#include "primetable/sieve_engine.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_words.h"
#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"
#include "reference/literal_query.h"

namespace {

constexpr uint64_t kNone = ~uint64_t{0};

// A chain in platform blocks, given back when the test ends.
struct PlatformChain {
    std::vector<TableBlock*> blocks;
    TableBlock* head() const { return blocks.front(); }
    TableBlock* obtain(uint64_t words) {
        auto* b = static_cast<TableBlock*>(platform::commitBlock(words * 8));
        if (b != nullptr) blocks.push_back(b);
        return b;
    }
    void start(uint64_t words) { ASSERT_EQ(_5_prmnew(words, obtain(words)), 0); }
    void append(uint64_t words) { ASSERT_EQ(_5_prmexpd(words, obtain(words), head()), 0); }
    void release() {
        for (TableBlock* b : blocks) platform::releaseBlock(b);
        blocks.clear();
    }
    ~PlatformChain() { release(); }
};

// The clear bits of the chain before each 8192-word segment of each block,
// counted word by word, and their total (the last entry).
std::vector<uint64_t> countedSegments(const TableBlock* head) {
    std::vector<uint64_t> before = {0};
    for (const TableBlock* b = head; b != nullptr; b = table::nextBlock(b)) {
        uint64_t words = table::bitmapWords(b);
        for (uint64_t first = 0; first < words; first += primeindex::kSegmentWords) {
            uint64_t clear = 0;
            for (uint64_t w = first; w < words && w < first + primeindex::kSegmentWords; ++w)
                clear += static_cast<uint64_t>(__builtin_popcountll(~b[table::kFirstBitmapWord + w]));
            before.push_back(before.back() + clear);
        }
    }
    return before;
}

// Both questions against counting: the count, and the n-th prime at and
// around the first and last prime of every segment and at random n.
void expectAnswersOfCounting(const TableBlock* head, uint32_t seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::vector<uint64_t> before = countedSegments(head);
    const uint64_t primes = 46 + before.back();
    ASSERT_EQ(static_cast<uint64_t>(_5_prmtcnt(head)), primes);
    std::vector<uint64_t> ns = {1, 46, 47, primes - 1, primes, primes + 1, kNone};
    // Up to 24 segment edges, spread over the table (each question of an
    // unindexed table counts from its start).
    const size_t step = before.size() / 24 + 1;
    for (size_t i = 0; i < before.size(); i += step)
        for (uint64_t n : {before[i] + 45, before[i] + 46, before[i] + 47, before[i] + 48}) ns.push_back(n);
    std::mt19937_64 rng(seed);
    for (int i = 0; i < 60; ++i) ns.push_back(1 + rng() % primes);
    for (uint64_t n : ns) ASSERT_EQ(_5_prmnoth(n, head), literal::prmnoth(n, head)) << "n " << n;
}

// A chain the index does not describe answers right, and so it does once
// `build` has counted it.
void expectUnindexedUntilBuilt(const TableBlock* head, uint32_t seed) {
    EXPECT_FALSE(primeindex::describes(head));
    expectAnswersOfCounting(head, seed);
    primeindex::build(head);
    EXPECT_TRUE(primeindex::describes(head));
    expectAnswersOfCounting(head, seed + 1);
}

class PrimeIndex : public ::testing::Test {
protected:
    void TearDown() override {
        platform::testing::refuseWorkMemory(false);
        primetable::setSieveThreadCap(0);
        sieve::testing::setSegmentWords(0, 0);
    }
};

TEST_F(PrimeIndex, FollowsANewTableAndEveryExtension) {
    PlatformChain chain;
    chain.start(131072);
    EXPECT_TRUE(primeindex::describes(chain.head()));
    expectAnswersOfCounting(chain.head(), 1);
    // A tiny block, one that ends inside a segment, one of several segments.
    uint32_t seed = 2;
    for (uint64_t words : {5u, 9000u, 5u, 200000u}) {
        chain.append(words);
        EXPECT_TRUE(primeindex::describes(chain.head())) << words;
        expectAnswersOfCounting(chain.head(), seed++);
    }
}

TEST_F(PrimeIndex, IsCountedRightBySeveralThreadsSharingSegments) {
    // Runs of 3000 words: the threads add to the same 8192-word segments.
    primetable::setSieveThreadCap(5);
    sieve::testing::setSegmentWords(1000, 100);
    PlatformChain chain;
    chain.start(60000);
    chain.append(33333);
    EXPECT_TRUE(primeindex::describes(chain.head()));
    expectAnswersOfCounting(chain.head(), 3);
}

TEST_F(PrimeIndex, IsDroppedWhenABitIsSetByHand) {
    PlatformChain chain;
    chain.start(20000);
    chain.append(20000);
    // Mark the second block's first prime composite.
    uint64_t position = 64 * chain.blocks[1][table::kBaseWord];
    while (_5_bitval(position, chain.head()) != 0) ++position;
    _5_biton(position, chain.blocks[1]);
    expectUnindexedUntilBuilt(chain.head(), 4);
}

TEST_F(PrimeIndex, DescribesNoChainWhoseBlocksWereReleasedOrRelinked) {
    PlatformChain chain;
    chain.start(5000);
    chain.append(5000);
    ASSERT_TRUE(primeindex::describes(chain.head()));
    // The chain cut after its first block: the index no longer fits it.
    uint64_t link = chain.head()[chain.head()[table::kLastIndex]];
    chain.head()[chain.head()[table::kLastIndex]] = table::kEndOfChain;
    EXPECT_FALSE(primeindex::describes(chain.head()));
    chain.head()[chain.head()[table::kLastIndex]] = link;
    EXPECT_TRUE(primeindex::describes(chain.head()));
    // A block handed out again at a released block's address is another block.
    TableBlock* head = chain.head();
    platform::releaseBlock(head);
    auto* again = static_cast<TableBlock*>(platform::commitBlock(5000 * 8));
    chain.blocks[0] = again;
    if (again == head) {
        std::memcpy(again, chain.blocks[1], 5 * 8);  // whatever it holds now
        again[again[table::kLastIndex]] = reinterpret_cast<uint64_t>(chain.blocks[1]);
    }
    EXPECT_FALSE(primeindex::describes(head));
}

TEST_F(PrimeIndex, RefusedMemoryLeavesTheTableUnindexedAndAnswersRight) {
    primeindex::release();
    PlatformChain chain;
    chain.start(131072);
    ASSERT_TRUE(primeindex::describes(chain.head()));
    // The static record holds 16 blocks: the 17th needs work memory.
    platform::testing::refuseWorkMemory(true);
    for (int i = 0; i < 15; ++i) chain.append(5);
    ASSERT_TRUE(primeindex::describes(chain.head()));
    chain.append(5);
    EXPECT_FALSE(primeindex::describes(chain.head()));
    expectAnswersOfCounting(chain.head(), 5);
    // Later extensions do not index a chain the index lost.
    platform::testing::refuseWorkMemory(false);
    chain.append(5000);
    expectUnindexedUntilBuilt(chain.head(), 6);
}

TEST_F(PrimeIndex, ATableReadBackIsIndexedByBuild) {
    PlatformChain built;
    built.start(40000);
    built.append(30000);
    // A copy in other platform blocks, written word by word as a load does.
    PlatformChain copy;
    for (TableBlock* b : built.blocks) {
        TableBlock* c = copy.obtain(b[table::kLastIndex] + 1);
        std::memcpy(c, b, (b[table::kLastIndex] + 1) * 8);
    }
    copy.head()[copy.head()[table::kLastIndex]] = reinterpret_cast<uint64_t>(copy.blocks[1]);
    expectUnindexedUntilBuilt(copy.head(), 8);
}

TEST_F(PrimeIndex, TakesAtMostAThousandthOfALargeTable) {
    primeindex::release();
    PlatformChain chain;
    chain.start(131072);
    EXPECT_LE(primeindex::memoryBytes(), 2048u);  // the static records
    chain.append(8 * 131072);
    chain.append(131072);
    ASSERT_TRUE(primeindex::describes(chain.head()));
    uint64_t tableBytes = 8 * static_cast<uint64_t>(_5_prmtqsize(chain.head()));
    EXPECT_LE(primeindex::memoryBytes() * 1000, tableBytes);
    EXPECT_EQ(static_cast<uint64_t>(_5_prmtcnt(chain.head())), 46 + countedSegments(chain.head()).back());
}

TEST_F(PrimeIndex, TablesInTheCallersOwnMemoryAreCountedAsBefore) {
    std::vector<uint64_t> block(20000);
    ASSERT_EQ(_5_prmnew(block.size(), block.data()), 0);
    EXPECT_FALSE(primeindex::describes(block.data()));
    expectAnswersOfCounting(block.data(), 10);
}

}  // namespace
