// The table statistics, the query limit and the statistics line.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/statistics.h"
#include "q64/m2_scratch.h"
#include "q64/m5_primetable.h"
#include "tests/console/console_test_support.h"

namespace {

using console_test::captureStdout;
using console_test::cp932;

// Restores the state record after each test.
class Statistics : public ::testing::Test {
protected:
    void SetUp() override { saved = console; }
    void TearDown() override { console = saved; }
    ConsoleState saved;
};

TEST_F(Statistics, QueryLimitIsTheSquareOfTheLargestPrime) {
    for (uint64_t max : {uint64_t{0}, uint64_t{487}, uint64_t{36699233}, uint64_t{4697619557},
                         uint64_t{0xFFFFFFFF}, uint64_t{0x100000001}, UINT64_MAX}) {
        SCOPED_TRACE(max);
        console.primeMax = static_cast<int64_t>(max);
        updateQueryLimit();
        unsigned __int128 square = static_cast<unsigned __int128>(max) * max;
        EXPECT_EQ(console.queryLimit.lo, static_cast<uint64_t>(square));
        EXPECT_EQ(console.queryLimit.hi, static_cast<uint64_t>(square >> 64));
        EXPECT_EQ(_2_left(), 32766);
    }
    console.primeMax = 36699233;
    updateQueryLimit();
    EXPECT_EQ(console.queryLimit.lo, 1346833702788289u);
    EXPECT_EQ(console.queryLimit.hi, 0u);
}

TEST_F(Statistics, QueryLimitWithoutScratchStaysThePrime) {
    uint64_t* hog = _2_alocs(static_cast<uint64_t>(_2_left()) - 6);  // 5 words left
    ASSERT_NE(hog, nullptr);
    console.primeMax = 487;
    updateQueryLimit();
    EXPECT_EQ(console.queryLimit.lo, 487u);
    EXPECT_EQ(console.queryLimit.hi, 0u);
    _2_frees();
}

TEST_F(Statistics, NoTableGivesZeros) {
    console.tableHead = nullptr;
    console.primeMax = console.primeCount = console.tableQwords = 5;
    console.queryLimit = Q2Value{7, 7};
    refreshStatistics();
    EXPECT_EQ(console.primeMax, 0);
    EXPECT_EQ(console.primeCount, 0);
    EXPECT_EQ(console.tableQwords, 0);
    EXPECT_EQ(console.queryLimit.lo, 0u);
    EXPECT_EQ(console.queryLimit.hi, 0u);
}

TEST_F(Statistics, SmallTable) {
    std::vector<uint64_t> block(5);
    block[0] = 5;  // the block's size in words, as start-up stores it
    ASSERT_EQ(_5_prmnew(5, block.data()), 0);
    console.tableHead = block.data();
    refreshStatistics();
    EXPECT_EQ(console.tableQwords, 5);
    EXPECT_EQ(console.primeCount, 93);
    EXPECT_EQ(console.primeMax, 487);
    EXPECT_EQ(console.queryLimit.lo, 487u * 487u);
}

TEST_F(Statistics, ThreeFormsOfTheLine) {
    console.primeCount = 2244426;
    console.primeMax = 36699233;
    console.tableQwords = 131072;
    EXPECT_EQ(captureStdout([] { printStatistics(StatisticsLine::AtStart); }),
              cp932("\n素数テーブルのサイズ = 1 MB, 素数の個数 = 2244426  素数の最大値 = 36699233"));
    console.tableQwords = 2621440;  // 20 MB
    EXPECT_EQ(captureStdout([] { printStatistics(StatisticsLine::Current); }),
              cp932("\n現素数テーブルのサイズ = 20, 素数の個数 = 2244426  素数の最大値 = 36699233"));
    console.tableQwords = 131071;  // less than 1 MB shows 0
    EXPECT_EQ(captureStdout([] { printStatistics(StatisticsLine::Changed); }),
              cp932("\n素数テーブルのサイズ = 0, 素数の個数 = 2244426  素数の最大値 = 36699233"));
}

}  // namespace
