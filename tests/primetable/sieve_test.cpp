// The sieve against the literal oracle: same bits, same SieveWork values.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "primetable/sieve_engine.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "reference/literal_sieve.h"
#include "tests/primetable/table_fixture.h"

using testtable::Chain;

namespace {

// Index of the first differing word of two arrays of n words, or -1.
int64_t firstDifference(const uint64_t* a, const uint64_t* b, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<int64_t>(i);
    return -1;
}

// Index of the first differing bitmap word, or -1.
int64_t firstDifference(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
    if (a.size() != b.size()) return static_cast<int64_t>(a.size() < b.size() ? a.size() : b.size());
    return firstDifference(a.data(), b.data(), a.size());
}

void expectSameWork(const literal::Work& w) {
    EXPECT_EQ(sieveWork.lowest, w.lowest);
    EXPECT_EQ(sieveWork.prime, w.prime);
    EXPECT_EQ(sieveWork.scan, w.scan);
}

void expectSameHeaders(const Chain& a, const Chain& b) {
    ASSERT_EQ(a.blocks.size(), b.blocks.size());
    for (size_t i = 0; i < a.blocks.size(); ++i)
        for (uint64_t k = 0; k < 3; ++k) EXPECT_EQ(a.blocks[i][k], b.blocks[i][k]) << "block " << i << " word " << k;
}

std::string sizesName(const std::vector<uint64_t>& sizes) {
    std::string name;
    for (uint64_t s : sizes) name += std::to_string(s) + " ";
    return name;
}

// A chain of the given block sizes built with the library's passes equals the
// literal one: bitmap, SieveWork values and, when asked, block headers.
void expectChainEqualsLiteral(const std::vector<uint64_t>& sizes, bool compareHeaders) {
    SCOPED_TRACE("sizes " + sizesName(sizes));
    literal::Work w;
    Chain expected = testtable::buildLiteralChain(sizes, w);
    Chain actual = testtable::buildChain(sizes);
    if (compareHeaders) expectSameHeaders(expected, actual);
    EXPECT_EQ(firstDifference(expected.bitmap(), actual.bitmap()), -1);
    expectSameWork(w);
}

// One block for the literal passes (expected) and one for the library's
// (actual), both initialised by their own _5_prminit and made head and
// target of their work records, ready for passes run side by side.
struct PassBlocks {
    uint64_t words;
    literal::Work w;
    std::unique_ptr<uint64_t[]> expected = testtable::junkBlock(words);
    std::unique_ptr<uint64_t[]> actual = testtable::junkBlock(words);

    explicit PassBlocks(uint64_t blockWords) : words(blockWords) {
        literal::init(words - 1, expected.get(), 0);
        _5_prminit(words - 1, actual.get(), 0);
        w.head = w.target = expected.get();
        sieveWork.head = sieveWork.target = actual.get();
    }
    int64_t firstDifferentWord() const { return firstDifference(expected.get(), actual.get(), words); }
};

// Blocks of the given sizes whose bitmap words start as sparse random bits
// (each the AND of `draws` random words, so some primes are marked composite
// beforehand), sieved by the small-prime pass and then the head's or, with
// wholeChain, the chain's primes: the same bits and SieveWork values as the
// literal passes leave.
void expectPassesOverRandomBitsMatch(uint32_t seed, std::initializer_list<uint64_t> sizes, int draws,
                                     bool wholeChain) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 rng(seed);
    for (uint64_t words : sizes) {
        SCOPED_TRACE("words " + std::to_string(words));
        PassBlocks b(words);
        for (uint64_t i = 3; i < words - 1; ++i) {
            uint64_t bits = rng();
            for (int d = 1; d < draws; ++d) bits &= rng();
            b.expected[i] = b.actual[i] = bits;
        }
        literal::smallPrimePass(b.w);
        if (wholeChain) literal::chainPass(b.w);
        else literal::headPass(b.w);
        _5_setflg0();
        if (wholeChain) _5_setflg2();
        else _5_setflg1();
        EXPECT_EQ(b.firstDifferentWord(), -1);
        expectSameWork(b.w);
    }
}

TEST(Prmnew, RefusesBlocksBelowFiveWordsAndLeavesThemUntouched) {
    auto block = testtable::junkBlock(4);
    auto copy = testtable::junkBlock(4);
    EXPECT_EQ(_5_prmnew(4, block.get()), -1);
    EXPECT_EQ(std::memcmp(block.get(), copy.get(), 4 * sizeof(uint64_t)), 0);
    EXPECT_EQ(_5_prmnew(0, block.get()), -1);
}

TEST(Prmnew, SmallestTablesHoldTheKnownFirstWords) {
    Chain five = testtable::newTable(5);
    EXPECT_EQ(five.head()[0], 4u);
    EXPECT_EQ(five.head()[1], 0u);
    EXPECT_EQ(five.head()[2], 491u);
    EXPECT_EQ(five.head()[3], 0x40A02864244C110Au);
    EXPECT_EQ(five.head()[4], table::kEndOfChain);
    // 23^2 = 529 >= 491: the small-prime pass stops at 23; 211 ends the table pass.
    EXPECT_EQ(sieveWork.head, five.head());
    EXPECT_EQ(sieveWork.target, five.head());
    EXPECT_EQ(sieveWork.lowest, 211u);
    EXPECT_EQ(sieveWork.prime, 211u);
    EXPECT_EQ(sieveWork.scan, 1u);

    Chain six = testtable::newTable(6);
    EXPECT_EQ(six.head()[2], 773u);
    EXPECT_EQ(six.head()[3], 0x40A02864244C110Au);
    EXPECT_EQ(six.head()[4], 0x44E50A1108C55282u);
}

TEST(Prmnew, EqualsTheLiteralSieveBitForBit) {
    // Sizes around segment (32768 words) and chunk (4096 words) boundaries,
    // and the 1 MB start table.
    for (uint64_t words : {5u, 6u, 7u, 8u, 1000u, 4099u, 4100u, 32771u, 32772u, 32773u, 40000u, 131072u}) {
        SCOPED_TRACE("words " + std::to_string(words));
        literal::Work w;
        Chain expected = testtable::newLiteralTable(words, w);
        Chain actual = testtable::newTable(words);
        expectSameHeaders(expected, actual);
        EXPECT_EQ(firstDifference(expected.bitmap(), actual.bitmap()), -1);
        expectSameWork(w);
        EXPECT_EQ(sieveWork.head, actual.head());
        EXPECT_EQ(sieveWork.target, actual.head());
    }
}

TEST(Prmnew, EveryTableUpTo300WordsEqualsTheLiteralSieve) {
    // Each pattern group and small prime starts to count at its own size.
    for (uint64_t words = 5; words <= 300; ++words) {
        SCOPED_TRACE("words " + std::to_string(words));
        literal::Work w;
        Chain expected = testtable::newLiteralTable(words, w);
        Chain actual = testtable::newTable(words);
        ASSERT_EQ(firstDifference(expected.bitmap(), actual.bitmap()), -1);
        expectSameWork(w);
    }
}

TEST(Prmnew, StartTableEndsOnTheFirstPrimeAboveItsRoot) {
    Chain start = testtable::newTable(table::kStartBlockWords);
    EXPECT_EQ(start.head()[table::kLastIndex], 131071u);
    EXPECT_EQ(start.head()[table::kLimit], 36699251u);
    // 6053 is the largest prime with a square below 36699251; 6067 is next.
    EXPECT_EQ(sieveWork.prime, 6067u);
    EXPECT_EQ(sieveWork.scan, literal::positionOf(6067) + 1u);
}

// Each pass run on its own, from the same starting bits, against the
// literal pass.
TEST(SievePasses, EachPassOnItsOwnMatchesTheLiteralPass) {
    for (uint64_t words : {5u, 9u, 150u, 1000u, 20000u}) {
        SCOPED_TRACE("words " + std::to_string(words));
        PassBlocks b(words);
        literal::smallPrimePass(b.w);
        EXPECT_EQ(_5_setflg0(), 0);
        EXPECT_EQ(b.firstDifferentWord(), -1);
        EXPECT_EQ(sieveWork.lowest, b.w.lowest);
        EXPECT_EQ(sieveWork.prime, b.w.prime);

        literal::headPass(b.w);
        EXPECT_EQ(_5_setflg1(), 0);
        EXPECT_EQ(b.firstDifferentWord(), -1);
        expectSameWork(b.w);
    }
}

// A sieving prime counts its next multiple in 32 bits from the segment's
// start; a block whose bitmap lies beyond that reach (above 4 GB, twice the
// largest block the program makes) is refused by the segmented sieve before
// it reads or writes anything, and left to the one-prime-at-a-time passes.
TEST(SievePasses, ASegmentedPassRefusesABlockBeyondTheReachOfItsEntries) {
    // Headers only: the bitmaps are never touched.
    auto header = [](uint64_t words) { return std::vector<TableBlock>{words - 1, 0, _5_prmtbcap(words - 4)}; };
    std::vector<TableBlock> beyond = header(uint64_t{1} << 29);
    sieve::Pass pass;
    pass.target = pass.head = beyond.data();
    pass.smallPrimes = true;
    pass.source = sieve::PrimeSource::kHeadOnly;
    pass.freshTarget = true;
    EXPECT_FALSE(sieve::run(pass));
    // The largest block the program makes is taken.
    EXPECT_TRUE(sieve::testing::takesTarget(header((uint64_t{1} << 28) - 1).data()));
    EXPECT_FALSE(sieve::testing::takesTarget(beyond.data()));
}

TEST(SievePasses, TablePassesWithoutTheSmallPrimePassMatchTheLiteral) {
    // Without the small primes crossed off first, composites such as 11 * 23
    // stay clear and are taken as sieving "primes"; the passes must still do
    // exactly what the one-prime-at-a-time passes do.
    for (uint64_t words : {6u, 300u, 5000u}) {
        SCOPED_TRACE("words " + std::to_string(words));
        PassBlocks b(words);
        b.w.lowest = sieveWork.lowest = 211;
        b.w.prime = sieveWork.prime = 7;
        literal::headPass(b.w);
        EXPECT_EQ(_5_setflg1(), 0);
        EXPECT_EQ(b.firstDifferentWord(), -1);
        expectSameWork(b.w);
    }
}

TEST(SievePasses, PassesOverRandomStartingBitsMatchTheLiteral) {
    expectPassesOverRandomBitsMatch(20240611, {7, 700, 7000}, 4, true);
}

TEST(Append, SmallChainHoldsTheKnownWordsAndMatchesTheLiteral) {
    literal::Work w;
    Chain expected = testtable::buildLiteralChain({5, 5, 8}, w);
    Chain actual = testtable::buildChain({5, 5, 8});
    expectSameHeaders(expected, actual);
    EXPECT_EQ(actual.blocks[1][1], 1u);
    EXPECT_EQ(actual.blocks[2][1], 2u);
    EXPECT_EQ(actual.head()[2], 1891u);
    std::vector<uint64_t> known = {0x40A02864244C110Au, 0x44E50A1108C55282u, 0x6B20C30E51514C24u,
                                   0x17029CC9521CE008u, 0xFD4EB04501B58190u, 0x0BD1C5949A2B5B80u};
    EXPECT_EQ(actual.bitmap(), known);
    EXPECT_EQ(expected.bitmap(), known);
    expectSameWork(w);
    EXPECT_EQ(sieveWork.head, actual.head());
    EXPECT_EQ(sieveWork.target, actual.blocks[2].get());
}

TEST(Append, BlocksWhoseSievingPrimesLieInThemselvesMatchTheLiteral) {
    // After a short table most sieving primes of the new block lie in the new
    // block itself and must be read as its sieve goes on.
    for (const auto& sizes : std::vector<std::vector<uint64_t>>{
             {6, 1000}, {5, 5, 2000}, {5, 20000}, {150, 150, 9000}, {1000, 40000}, {6, 17000, 5}})
        expectChainEqualsLiteral(sizes, true);
}

TEST(Append, TableBuiltInRandomChunksEqualsTableBuiltAtOnce) {
    const uint32_t seed = 977;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    for (int round = 0; round < 6; ++round) {
        std::vector<uint64_t> sizes;
        uint64_t bitmapWords = 0;
        int blocks = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < blocks; ++i) {
            // Mostly small blocks, now and then one of several segments.
            uint64_t words = 5 + (rng() % 4 == 0 ? rng() % 40000 : rng() % 600);
            sizes.push_back(words);
            bitmapWords += words - 4;
        }
        SCOPED_TRACE("round " + std::to_string(round) + " sizes " + sizesName(sizes));
        Chain whole = testtable::newTable(bitmapWords + 4);
        Chain chunks = testtable::buildChain(sizes);
        EXPECT_EQ(whole.head()[2], chunks.head()[2]);
        EXPECT_EQ(firstDifference(whole.bitmap(), chunks.bitmap()), -1);
        if (round < 2) {
            literal::Work w;
            Chain expected = testtable::buildLiteralChain(sizes, w);
            EXPECT_EQ(firstDifference(expected.bitmap(), chunks.bitmap()), -1);
            expectSameWork(w);
        }
    }
}

// The same comparisons with tiny segments and chunks, where sieving primes
// are read segments after they were found, multiples set past a segment are
// carried over many segments, and chunks end inside words of primes.
class TinySegments : public ::testing::TestWithParam<std::pair<uint64_t, uint64_t>> {
protected:
    void SetUp() override { sieve::testing::setSegmentWords(GetParam().first, GetParam().second); }
    void TearDown() override { sieve::testing::setSegmentWords(0, 0); }
};

TEST_P(TinySegments, TablesAndChainsEqualTheLiteralSieve) {
    for (const auto& sizes : std::vector<std::vector<uint64_t>>{
             {5}, {6}, {141}, {1000}, {5000}, {6, 1000}, {5, 5, 2000}, {150, 150, 3000}, {1000, 4000}})
        expectChainEqualsLiteral(sizes, false);
}

TEST_P(TinySegments, PassesOverRandomStartingBitsMatchTheLiteral) {
    expectPassesOverRandomBitsMatch(31337, {9, 900, 3000}, 3, false);
}

INSTANTIATE_TEST_SUITE_P(SegmentAndChunkWords, TinySegments,
                         ::testing::Values(std::make_pair(1u, 1u), std::make_pair(2u, 1u), std::make_pair(3u, 2u),
                                           std::make_pair(64u, 8u), std::make_pair(1000u, 100u),
                                           std::make_pair(1000u, 1000u)));

}  // namespace
