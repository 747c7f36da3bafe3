// The front-end chain steps in-process: what they leave in ConsoleState and
// which blocks stay obtained from the platform.
#include <gtest/gtest.h>

#include "console/console_state.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "platform/memory.h"
#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"
#include "tests/console/console_test_support.h"

namespace {

class TableChain : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::clearRefusals();
        live = platform::liveBlockCount();
    }
    void TearDown() override {
        platform::testing::clearRefusals();
        freeChain();
        EXPECT_EQ(platform::liveBlockCount(), live);
    }
    int64_t rebuild(uint64_t megabytes) {
        int64_t result = 0;
        console_test::captureStdout([&] { result = rebuildTable(megabytes); });
        return result;
    }
    uint64_t live = 0;
};

TEST_F(TableChain, ARebuildReplacesTheChain) {
    ASSERT_EQ(rebuild(2), 1);
    EXPECT_EQ(platform::liveBlockCount(), live + 1);
    TableBlock* first = console.tableHead;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first[table::kLastIndex], 2u * 131072 - 1);
    EXPECT_EQ(console.newestBlock, first);
    ASSERT_EQ(rebuild(1), 1);
    EXPECT_EQ(platform::liveBlockCount(), live + 1);  // the old chain was given back
    EXPECT_EQ(console.tableHead[table::kLastIndex], 131071u);
}

TEST_F(TableChain, ZeroMegabytesOrRefusedMemoryLeaveNoTable) {
    ASSERT_EQ(rebuild(1), 1);
    console.primeMax = 5;
    EXPECT_EQ(rebuild(0), -1);
    EXPECT_EQ(console.tableHead, nullptr);
    EXPECT_EQ(platform::liveBlockCount(), live);
    EXPECT_EQ(console.primeMax, 0);
    EXPECT_EQ(console.queryLimit.lo, 0u);
    platform::testing::refuseAfter(0, UINT64_MAX);
    EXPECT_EQ(rebuild(1), -1);
    EXPECT_EQ(console.tableHead, nullptr);
}

TEST_F(TableChain, AppendedBlocksJoinTheChain) {
    ASSERT_EQ(rebuild(1), 1);
    TableBlock* block = appendBlock(6);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(console.newestBlock, block);
    EXPECT_EQ(table::nextBlock(console.tableHead), block);
    EXPECT_EQ(block[table::kBaseWord], 131068u);
    EXPECT_EQ(console.tableHead[table::kLimit], block[table::kLimit]);
    EXPECT_EQ(platform::liveBlockCount(), live + 2);
}

// Blocks that cannot join the chain are never obtained, or given back.
TEST_F(TableChain, RefusedAppendsKeepNoBlock) {
    ASSERT_EQ(rebuild(1), 1);
    uint64_t limit = console.tableHead[table::kLimit];
    EXPECT_EQ(appendBlock(4), nullptr);                     // too small for _5_prmexpd
    EXPECT_EQ(appendBlock(uint64_t{1} << 28), nullptr);     // 2048 MB
    EXPECT_EQ(appendBlock(~uint64_t{0}), nullptr);
    platform::testing::refuseAfter(0, UINT64_MAX);
    EXPECT_EQ(appendBlock(5), nullptr);                     // memory refused
    EXPECT_EQ(platform::liveBlockCount(), live + 1);
    EXPECT_EQ(table::nextBlock(console.tableHead), nullptr);
    EXPECT_EQ(console.tableHead[table::kLimit], limit);
    // The prime-count index still describes the table that stands.
    EXPECT_TRUE(primeindex::describes(console.tableHead));
    EXPECT_EQ(_5_prmtcnt(console.tableHead), 2244426);
}

// The prime-count index follows the rebuilt and the extended table, and the
// statistics read it: the same count as counting every word.
TEST_F(TableChain, TheIndexFollowsRebuildsAndExtensions) {
    auto counted = [] {
        uint64_t clear = 46;
        for (const TableBlock* b = console.tableHead; b; b = table::nextBlock(b))
            for (uint64_t w = 0; w < table::bitmapWords(b); ++w)
                clear += static_cast<uint64_t>(__builtin_popcountll(~b[table::kFirstBitmapWord + w]));
        return static_cast<int64_t>(clear);
    };
    ASSERT_EQ(rebuild(2), 1);
    EXPECT_TRUE(primeindex::describes(console.tableHead));
    ASSERT_NE(appendBlock(3 * 131072 + 7), nullptr);
    EXPECT_TRUE(primeindex::describes(console.tableHead));
    refreshStatistics();
    EXPECT_EQ(console.primeCount, counted());
    EXPECT_EQ(_5_prmnoth(static_cast<uint64_t>(console.primeCount), console.tableHead),
              static_cast<uint64_t>(console.primeMax));
}

TEST_F(TableChain, FreeingNoChainDoesNothing) {
    freeChain();
    console.tableHead = reinterpret_cast<TableBlock*>(table::kEndOfChain);
    freeChain();
    EXPECT_EQ(console.tableHead, nullptr);
}

}  // namespace
