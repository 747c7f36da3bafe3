#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/memory.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "tests/primetable/table_fixture.h"

namespace {

// Blocks from the platform, released when the test ends.
struct Blocks {
    std::vector<TableBlock*> all;
    TableBlock* get(uint64_t words) {
        auto* b = static_cast<TableBlock*>(platform::commitBlock(words * 8));
        if (b) all.push_back(b);
        return b;
    }
    ~Blocks() {
        for (TableBlock* b : all) platform::releaseBlock(b);
    }
};

// Primality of every number below `limit`, by the plain sieve of Eratosthenes.
std::vector<bool> plainSieve(uint64_t limit) {
    std::vector<bool> prime(limit, true);
    prime[0] = prime[1] = false;
    for (uint64_t p = 2; p * p < limit; ++p)
        if (prime[p])
            for (uint64_t m = p * p; m < limit; m += p) prime[m] = false;
    return prime;
}

// Every bit of the chain against the plain sieve: clear exactly for primes.
void expectBitsArePrimality(const TableBlock* head) {
    const uint64_t limit = head[table::kLimit];
    std::vector<bool> prime = plainSieve(limit);
    uint64_t position = 0;
    for (const TableBlock* b = head; b; b = table::nextBlock(b)) {
        for (uint64_t w = 0; w < table::bitmapWords(b); ++w) {
            uint64_t word = b[table::kFirstBitmapWord + w];
            for (int bit = 63; bit >= 0; --bit, ++position) {
                uint64_t n = _5_postonum(position).lo;
                ASSERT_LT(n, limit);
                ASSERT_EQ(((word >> bit) & 1) == 0, prime[n]) << "number " << n;
            }
        }
    }
    EXPECT_EQ(_5_prmtbcap(position / 64), limit);
}

TEST(Extend, ABlockOfFewerThanFiveWordsChangesNothing) {
    Blocks blocks;
    TableBlock* head = blocks.get(5);
    ASSERT_EQ(_5_prmnew(5, head), 0);
    uint64_t before[5];
    std::memcpy(before, head, sizeof before);
    uint64_t spare[5] = {11, 22, 33, 44, 55};
    EXPECT_EQ(_5_prmexpd(4, spare, head), -1);
    EXPECT_EQ(_5_prmexpd(0, spare, head), -1);
    EXPECT_EQ(std::memcmp(before, head, sizeof before), 0);
    EXPECT_EQ(spare[0], 11u);
    EXPECT_EQ(spare[4], 55u);
}

TEST(Extend, FiveFiveAndEightWords) {
    Blocks blocks;
    TableBlock* b0 = blocks.get(5);
    TableBlock* b1 = blocks.get(5);
    TableBlock* b2 = blocks.get(8);
    ASSERT_EQ(_5_prmnew(5, b0), 0);
    ASSERT_EQ(_5_prmexpd(5, b1, b0), 0);
    EXPECT_EQ(b0[4], reinterpret_cast<uint64_t>(b1));
    EXPECT_EQ(b1[3], 0x44E50A1108C55282u);
    EXPECT_EQ(b0[table::kLimit], b1[table::kLimit]);
    ASSERT_EQ(_5_prmexpd(8, b2, b0), 0);
    EXPECT_EQ(b1[4], reinterpret_cast<uint64_t>(b2));
    EXPECT_EQ(b2[7], table::kEndOfChain);
    EXPECT_EQ(b0[1], 0u);
    EXPECT_EQ(b1[1], 1u);
    EXPECT_EQ(b2[1], 2u);
    EXPECT_EQ(b2[0], 7u);
    EXPECT_EQ(b1[table::kLimit], 773u);  // a block keeps its own limit
    EXPECT_EQ(b0[table::kLimit], 1891u);
    EXPECT_EQ(b2[table::kLimit], 1891u);
    EXPECT_EQ(b0[3], 0x40A02864244C110Au);
    EXPECT_EQ(b2[3], 0x6B20C30E51514C24u);
    EXPECT_EQ(b2[4], 0x17029CC9521CE008u);
    EXPECT_EQ(b2[5], 0xFD4EB04501B58190u);
    EXPECT_EQ(b2[6], 0x0BD1C5949A2B5B80u);
    EXPECT_EQ(_5_prmtqsize(b0), 18);
    EXPECT_EQ(_5_prmtcnt(b0), 290);
    EXPECT_EQ(_5_prmtmax(b0).lo, 1889u);
    expectBitsArePrimality(b0);
}

TEST(Extend, TheStartTableByOneMegabyte) {
    Blocks blocks;
    TableBlock* head = blocks.get(131072);
    TableBlock* added = blocks.get(131072);
    ASSERT_EQ(_5_prmnew(131072, head), 0);
    ASSERT_EQ(_5_prmexpd(131072, added, head), 0);
    EXPECT_EQ(added[0], 131071u);
    EXPECT_EQ(added[1], 131068u);
    EXPECT_EQ(head[table::kLimit], 73398293u);
    EXPECT_EQ(_5_prmtqsize(head) / 131072, 2);
    EXPECT_EQ(_5_prmtcnt(head), 4306019);
    EXPECT_EQ(_5_prmtmax(head).lo, 73398287u);
    expectBitsArePrimality(head);
}

// A table extended in random pieces equals the same table built at once and
// the literal sieve's chain, word for word; the pieces include ones that must
// find sieving primes in themselves.
TEST(Extend, PiecesEqualATableBuiltAtOnce) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937_64 rng(seed);
        Blocks blocks;
        std::vector<uint64_t> sizes = {5 + rng() % 3};
        sizes.push_back(4 + 20000 + rng() % 5000);  // far beyond the first block's primes
        for (int i = 0; i < 6; ++i) sizes.push_back(5 + rng() % (i % 2 ? 40 : 9000));
        uint64_t bitmap = 0;
        for (uint64_t w : sizes) bitmap += w - 4;
        TableBlock* whole = blocks.get(bitmap + 4);
        ASSERT_EQ(_5_prmnew(bitmap + 4, whole), 0);
        TableBlock* head = blocks.get(sizes[0]);
        ASSERT_EQ(_5_prmnew(sizes[0], head), 0);
        for (size_t i = 1; i < sizes.size(); ++i) ASSERT_EQ(_5_prmexpd(sizes[i], blocks.get(sizes[i]), head), 0);
        EXPECT_EQ(head[table::kLimit], whole[table::kLimit]);
        uint64_t k = 0;
        uint64_t base = 0;
        for (const TableBlock* b = head; b; b = table::nextBlock(b)) {
            ASSERT_EQ(b[table::kBaseWord], base);
            if (b != head) {
                ASSERT_EQ(b[table::kLimit], _5_prmtbcap(base + table::bitmapWords(b)));
            }
            for (uint64_t w = 0; w < table::bitmapWords(b); ++w, ++k)
                ASSERT_EQ(b[table::kFirstBitmapWord + w], whole[table::kFirstBitmapWord + k]) << "word " << k;
            base += table::bitmapWords(b);
            if (!table::nextBlock(b)) {
                ASSERT_EQ(b[b[0]], table::kEndOfChain);
                ASSERT_EQ(b[table::kLimit], head[table::kLimit]);
            }
        }
        EXPECT_EQ(k, bitmap);
        EXPECT_EQ(_5_prmtcnt(head), _5_prmtcnt(whole));
        literal::Work work;
        testtable::Chain oracle = testtable::buildLiteralChain(sizes, work);
        std::vector<uint64_t> built;
        for (const TableBlock* b = head; b; b = table::nextBlock(b))
            for (uint64_t w = 0; w < table::bitmapWords(b); ++w) built.push_back(b[table::kFirstBitmapWord + w]);
        EXPECT_EQ(built, oracle.bitmap());
    }
}

}  // namespace
