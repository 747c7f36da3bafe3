// The passes that cross off one prime at a time (taken when the segmented
// sieve cannot run), and _5_prmflg0 on its own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "primetable/sieve_engine.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "reference/literal_sieve.h"
#include "tests/primetable/table_fixture.h"

namespace {

struct OneByOne : ::testing::Test {
    void SetUp() override { sieve::testing::enableSegmentedSieve(false); }
    void TearDown() override { sieve::testing::enableSegmentedSieve(true); }
};

TEST_F(OneByOne, TablesAndChainsEqualTheLiteralSieve) {
    for (const auto& sizes : std::vector<std::vector<uint64_t>>{{5}, {6}, {1000}, {5, 5, 8}, {6, 1000}, {300, 2000}}) {
        std::string name;
        for (uint64_t s : sizes) name += std::to_string(s) + " ";
        SCOPED_TRACE("sizes " + name);
        literal::Work w;
        testtable::Chain expected = testtable::buildLiteralChain(sizes, w);
        testtable::Chain actual = testtable::buildChain(sizes);
        EXPECT_EQ(expected.bitmap(), actual.bitmap());
        EXPECT_EQ(sieveWork.lowest, w.lowest);
        EXPECT_EQ(sieveWork.prime, w.prime);
        EXPECT_EQ(sieveWork.scan, w.scan);
        for (size_t i = 0; i < sizes.size(); ++i)
            for (uint64_t k = 0; k < 3; ++k) EXPECT_EQ(expected.blocks[i][k], actual.blocks[i][k]);
    }
}

TEST_F(OneByOne, PrmflgAnswersOneOnceTheSquareReachesTheLimit) {
    auto block = testtable::junkBlock(5);
    _5_prminit(4, block.get(), 0);  // limit 491
    sieveWork.target = block.get();
    sieveWork.lowest = 211;
    sieveWork.prime = 23;  // 529 >= 491
    EXPECT_EQ(_5_prmflg0(), 1);
    EXPECT_EQ(block[3], 0u);
    sieveWork.prime = 19;
    EXPECT_EQ(_5_prmflg0(), 0);
    // 19 * 13 = 247, 19 * 17 = 323, 19 * 19 = 361, 19 * 23 = 437; 19 * 11 = 209 lies below.
    uint64_t expected = 0;
    for (uint64_t n : {247u, 323u, 361u, 437u})
        expected |= uint64_t{0x8000000000000000} >> literal::positionOf(n);
    EXPECT_EQ(block[3], expected);
    sieveWork.prime = ~uint64_t{0} >> 1;  // the square does not fit in 64 bits
    EXPECT_EQ(_5_prmflg0(), 1);
}

TEST_F(OneByOne, PrmflgWithAStaleLowestWritesOnlyInsideTheTarget) {
    // A block in the middle of a table, with `lowest` left from the first block.
    const uint64_t words = 200;  // limit 59011 > 223^2
    std::vector<uint64_t> memory(words + 4, 0x5A5A5A5A5A5A5A5Au);
    uint64_t* block = memory.data() + 2;
    _5_prminit(words - 1, block, 10);
    sieveWork.target = block;
    sieveWork.lowest = 211;
    sieveWork.prime = 223;
    EXPECT_EQ(_5_prmflg0(), 0);
    EXPECT_EQ(memory[0], 0x5A5A5A5A5A5A5A5Au);
    EXPECT_EQ(memory[1], 0x5A5A5A5A5A5A5A5Au);
    EXPECT_EQ(memory[words + 2], 0x5A5A5A5A5A5A5A5Au);
    EXPECT_EQ(memory[words + 3], 0x5A5A5A5A5A5A5A5Au);
    // Inside the block exactly the multiples of 223 that lie in it are set.
    for (uint64_t p = 640; p < 640 + 64 * (words - 4); ++p) {
        uint64_t n = literal::numberOf(p);
        bool set = (block[3 + (p - 640) / 64] >> (63 - p % 64)) & 1;
        EXPECT_EQ(set, n % 223 == 0) << n;
    }
}

}  // namespace
