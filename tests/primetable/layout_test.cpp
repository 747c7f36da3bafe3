// Bit addressing of the table and the word-level bit scans and counts.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "primetable/table_words.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primetable.h"
#include "reference/literal_sieve.h"
#include "tests/primetable/table_fixture.h"

namespace {

TEST(Layout, PositionsAndNumbersOfTheWheel) {
    const uint64_t numbers[][2] = {{0, 211}, {1, 221}, {2, 223}, {47, 419}, {48, 421}, {63, 487}, {64, 491}};
    for (const auto& pn : numbers) {
        Q2Value v = _5_postonum(pn[0]);
        EXPECT_EQ(v.lo, pn[1]) << pn[0];
        EXPECT_EQ(v.hi, 0u);
        EXPECT_EQ(_5_numbpos(pn[1]), static_cast<int64_t>(pn[0]));
    }
    EXPECT_EQ(_5_numbpos(1003), 180);
    EXPECT_EQ(_5_numbpos(1000), -1);
    EXPECT_EQ(_5_numbpos(1001), -1);  // 7 * 11 * 13
    EXPECT_EQ(_5_numbpos(210), -1);
    EXPECT_EQ(_5_numbpos(209), -1);  // prime to 210 but below the table
    EXPECT_EQ(_5_numbpos(1), -1);
    EXPECT_EQ(_5_numbpos(4294967311u), 981706766);
    // Round trips against the literal arithmetic on scattered positions.
    std::mt19937_64 rng(5);
    for (int i = 0; i < 2000; ++i) {
        uint64_t p = rng() >> 8;
        uint64_t n = _5_postonum(p).lo;
        EXPECT_EQ(n, literal::numberOf(p));
        EXPECT_EQ(_5_numbpos(n), static_cast<int64_t>(p));
    }
}

TEST(Layout, LimitsAndLowestNumbersOfBlocks) {
    EXPECT_EQ(_5_prmtbcap(0), 211u);
    EXPECT_EQ(_5_prmtbcap(1), 491u);
    EXPECT_EQ(_5_prmtbcap(131068), 36699251u);
    uint64_t block[3] = {131071, 0, 0};
    EXPECT_EQ(_5_prmtmin(block), 211u);
    block[1] = 131068;
    EXPECT_EQ(_5_prmtmin(block), 36699251u);
}

TEST(Layout, BitvalWalksTheChainAndAnswersMinusOneBeyondIt) {
    testtable::Chain start = testtable::newTable(table::kStartBlockWords);
    EXPECT_EQ(table::bitmapWords(start.head()), 131068u);
    EXPECT_EQ(_5_bitval(0, start.head()), 0);  // 211
    EXPECT_EQ(_5_bitval(1, start.head()), 1);  // 221 = 13 * 17
    EXPECT_EQ(_5_bitval(8388351, start.head()), 1);
    EXPECT_EQ(_5_bitval(8388352, start.head()), -1);

    testtable::Chain chain = testtable::buildChain({5, 5, 8});
    std::vector<uint64_t> bitmap = chain.bitmap();
    for (uint64_t p = 0; p < 64 * bitmap.size(); ++p)
        ASSERT_EQ(_5_bitval(p, chain.head()), static_cast<int64_t>((bitmap[p / 64] >> (63 - p % 64)) & 1)) << p;
    EXPECT_EQ(_5_bitval(64 * bitmap.size(), chain.head()), -1);
}

TEST(Layout, BitonSetsTheBitOfItsBlockOnly) {
    uint64_t block[8] = {7, 10, 0, 0, 0, 0, 0, table::kEndOfChain};  // positions 640 .. 895
    _5_biton(640, block);
    _5_biton(64 * 10 + 64 + 63, block);
    _5_biton(64 * 13 + 5, block);
    EXPECT_EQ(block[3], 0x8000000000000000u);
    EXPECT_EQ(block[4], 1u);
    EXPECT_EQ(block[6], 0x0400000000000000u);
    EXPECT_EQ(block[5], 0u);
}

TEST(BitScan, FirstClearBitOfWordArrays) {
    const uint64_t ones = ~uint64_t{0};
    uint64_t words[3] = {ones, 0xFFFF0FFFFFFFFFFFu, 0};
    EXPECT_EQ(_0_bitscan0(words, 0, 3), 64 + 16);  // an all-ones word is passed over
    EXPECT_EQ(_0_bitscan0(words, 64 + 17, 3), 64 + 17);
    EXPECT_EQ(_0_bitscan0(words, 64 + 20, 3), 128);
    EXPECT_EQ(_0_bitscan0(words, 191, 3), 191);
    EXPECT_EQ(_0_bitscan0(words, 192, 3), -1);
    EXPECT_EQ(_0_bitscan0(words, 0, 1), -1);
    uint64_t mid[2] = {0x00FFFFFFFFFFFFFFu, ones};  // clear bits only before the start
    EXPECT_EQ(_0_bitscan0(mid, 8, 2), -1);
    EXPECT_EQ(_0_bitscan0(mid, 7, 2), 7);
    uint64_t last[1] = {0xFFFFFFFFFFFFFFFEu};
    EXPECT_EQ(_0_bitscan0(last, 0, 1), 63);
}

TEST(BitScan, NthClearBitOfAWord) {
    EXPECT_EQ(_0_bitscan0n(~uint64_t{0}, 1), -1);
    EXPECT_EQ(_0_bitscan0n(0, 64), 63);
    EXPECT_EQ(_0_bitscan0n(0, 65), -1);
    EXPECT_EQ(_0_bitscan0n(0x7FFFFFFFFFFFFFFFu, 1), 0);
    EXPECT_EQ(_0_bitscan0n(0x7FFFFFFFFFFFFFFFu, 2), -1);
    std::mt19937_64 rng(11);
    for (int i = 0; i < 500; ++i) {
        uint64_t w = rng() | rng();
        int64_t n = 0;
        for (int bit = 0; bit < 64; ++bit) {
            if (((w >> (63 - bit)) & 1) == 0) {
                EXPECT_EQ(_0_bitscan0n(w, static_cast<uint64_t>(++n)), bit) << w;
            }
        }
        EXPECT_EQ(_0_bitscan0n(w, static_cast<uint64_t>(n + 1)), -1) << w;
    }
}

TEST(BitScan, ChainScanHandsOnToLaterBlocks) {
    testtable::Chain chain = testtable::buildChain({5, 6, 5});
    // Fill the middle block with ones: a search from its start must reach the third.
    chain.blocks[1][3] = chain.blocks[1][4] = ~uint64_t{0};
    sieveWork.head = chain.head();
    sieveWork.scan = 64;
    int64_t third = 64 * 3 + __builtin_clzll(~chain.blocks[2][3]);
    EXPECT_EQ(_5_bitscan0(), third);
    sieveWork.scan = 64 * 4 - 1;  // the last position of the chain
    EXPECT_EQ(_5_bitscan0(), (chain.blocks[2][3] & 1) ? -1 : 64 * 4 - 1);
    chain.blocks[2][3] |= 1;
    EXPECT_EQ(_5_bitscan0(), -1);
    sieveWork.scan = 64 * 4;
    EXPECT_EQ(_5_bitscan0(), -1);
    sieveWork.scan = 1000;
    EXPECT_EQ(_5_bitscan0(), -1);
    sieveWork.scan = 0;
    EXPECT_EQ(_5_bitscan0(), 0);
}

TEST(BitCount, CountsOfWordsAndArrays) {
    EXPECT_EQ(_0_bitoncnt(0), 0u);
    EXPECT_EQ(_0_bitoncnt(~uint64_t{0}), 64u);
    EXPECT_EQ(_0_bitoffcnt(0), 64u);
    EXPECT_EQ(_0_bitoffcnt(~uint64_t{0}), 0u);
    const uint64_t first = 0x40A02864244C110Au;
    EXPECT_EQ(_0_bitcnt0(&first, 1), 47u);
    std::mt19937_64 rng(3);
    std::vector<uint64_t> words(1001);
    uint64_t clear = 0;
    for (uint64_t& w : words) {
        w = rng() & rng();
        EXPECT_EQ(_0_bitoncnt(w), static_cast<uint64_t>(__builtin_popcountll(w)));
        clear += 64 - static_cast<uint64_t>(__builtin_popcountll(w));
    }
    EXPECT_EQ(_0_bitcnt0(words.data(), words.size()), clear);
}

}  // namespace
