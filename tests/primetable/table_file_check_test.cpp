#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <vector>

#include "platform/files.h"
#include "primetable/table_file.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "tests/primetable/table_file_support.h"

namespace {

using tftest::Chain;
using tftest::setWord;
using tftest::wordAt;

class TableFileCheck : public ::testing::Test {
protected:
    void TearDown() override {
        platform::testing::clearFileFailures();
        platform::testing::clearRefusals();
    }
    // Writes `bytes` as prime.dat and checks it.
    bool passes(const std::string& bytes) {
        tftest::writeFile(dir.file(), bytes);
        return filePasses();
    }
    // Checks prime.dat as it stands; the reader is closed again.
    bool filePasses() {
        tablefile::Reader r;
        if (!tablefile::open(r, dir.file().c_str())) return false;
        bool ok = tablefile::check(r);
        tablefile::close(r);
        return ok;
    }
    tftest::TempDir dir;
};

// Images of 5, 6 and 9 words: words 0-4, 5-10 and 11-19 of the file.
const Chain& threeBlocks() {
    static Chain chain({5, 6, 9}, 11);
    return chain;
}

TEST_F(TableFileCheck, WellFormedFilesPass) {
    EXPECT_TRUE(passes(threeBlocks().bytes()));
    EXPECT_TRUE(passes(Chain({5}).bytes()));
    EXPECT_TRUE(passes(Chain({131072, 9}).bytes()));
}

TEST_F(TableFileCheck, TruncatedFilesFail) {
    const std::string good = threeBlocks().bytes();
    EXPECT_FALSE(passes(good.substr(0, 5 * 8 + 2 * 8)));  // in the second image's header
    EXPECT_FALSE(passes(good.substr(0, 5 * 8 + 4)));      // in its first word
    EXPECT_FALSE(passes(good.substr(0, 11 * 8 + 6 * 8)));  // in the third image's bitmap
    EXPECT_FALSE(passes(good.substr(0, good.size() - 1)));  // in the last link word
    EXPECT_FALSE(passes(good.substr(0, 11 * 8)));          // after a whole image with a link
    EXPECT_FALSE(passes(""));                              // empty
    EXPECT_FALSE(passes(good.substr(0, 7)));
}

TEST_F(TableFileCheck, LinkWordsMustEndTheChainExactlyAtTheEnd) {
    const std::string good = threeBlocks().bytes();
    std::string noFinal = good;
    setWord(noFinal, 19, 0x1234);
    EXPECT_FALSE(passes(noFinal));
    std::string finalInTheMiddle = good;
    setWord(finalInTheMiddle, 10, table::kEndOfChain);
    EXPECT_FALSE(passes(finalInTheMiddle));
    std::string finalFirst = good;
    setWord(finalFirst, 4, table::kEndOfChain);
    EXPECT_FALSE(passes(finalFirst));
    EXPECT_FALSE(passes(good + std::string(8, '\0')));           // bytes after the final image
    EXPECT_FALSE(passes(good + good));                           // a second table after it
}

TEST_F(TableFileCheck, SizesMustBeSound) {
    const std::string good = threeBlocks().bytes();
    for (uint64_t lastIndex : {uint64_t{0}, uint64_t{3}, uint64_t{1} << 61, uint64_t{1} << 63,
                               ~uint64_t{0}, ~uint64_t{0} / 8, uint64_t{100}}) {
        SCOPED_TRACE(lastIndex);
        std::string bad = good;
        setWord(bad, 5, lastIndex);
        EXPECT_FALSE(passes(bad));
        bad = good;
        setWord(bad, 0, lastIndex);
        EXPECT_FALSE(passes(bad));
    }
}

// An image of four words would be consistent but holds no bitmap word.
TEST_F(TableFileCheck, EveryImageHoldsABitmapWord) {
    std::string noBitmap(32, '\0');
    setWord(noBitmap, 0, 3);
    setWord(noBitmap, 2, tftest::limitOfWords(0));
    setWord(noBitmap, 3, table::kEndOfChain);
    EXPECT_FALSE(passes(noBitmap));
    std::string smallest(40, '\0');
    setWord(smallest, 0, 4);
    setWord(smallest, 2, tftest::limitOfWords(1));
    setWord(smallest, 3, 0x40A02864244C110A);
    setWord(smallest, 4, table::kEndOfChain);
    EXPECT_TRUE(passes(smallest));
}

TEST_F(TableFileCheck, BaseWordsAndLimitsMustFollowThePositions) {
    const std::string good = threeBlocks().bytes();
    ASSERT_EQ(wordAt(good, 6), 1u);  // the second image's baseWord
    ASSERT_EQ(wordAt(good, 12), 1u + 2u);
    for (uint64_t k : {uint64_t{1}, uint64_t{6}, uint64_t{12}}) {  // baseWord of each image
        std::string bad = good;
        setWord(bad, k, wordAt(good, k) + 1);
        EXPECT_FALSE(passes(bad)) << "baseWord at word " << k;
    }
    for (uint64_t k : {uint64_t{2}, uint64_t{7}, uint64_t{13}}) {  // limit of each image
        std::string bad = good;
        setWord(bad, k, wordAt(good, k) + 2);
        EXPECT_FALSE(passes(bad)) << "limit at word " << k;
    }
    // The first image holds the table's limit, not its own.
    std::string ownLimit = good;
    setWord(ownLimit, 2, tftest::limitOfWords(1));
    EXPECT_FALSE(passes(ownLimit));
}

// The oracle of the words the check reads agrees with the sieve's known words.
TEST(TableFileOracle, FirstWordsOfEveryTable) {
    EXPECT_EQ(tftest::trueWord(0), 0x40A02864244C110Au);
    EXPECT_EQ(tftest::trueWord(1), 0x44E50A1108C55282u);
}

// `bytes` with one bit of word k flipped, or word k replaced.
std::string flipped(const std::string& bytes, uint64_t k, unsigned bit) {
    std::string out = bytes;
    setWord(out, k, wordAt(bytes, k) ^ (uint64_t{1} << bit));
    return out;
}
std::string replaced(const std::string& bytes, uint64_t k, uint64_t word) {
    std::string out = bytes;
    setWord(out, k, word);
    return out;
}

// A file whose structure is right but whose first bitmap words are not those
// of every table is refused.
TEST_F(TableFileCheck, TheFirstBitmapWordsMustBeThoseOfEveryTable) {
    const std::string good = Chain({80, 9}, 5).bytes();  // 76 bitmap words in the first image
    ASSERT_TRUE(passes(good));
    for (unsigned bit = 0; bit < 64; ++bit) EXPECT_FALSE(passes(flipped(good, 3, bit))) << "bit " << bit;
    EXPECT_FALSE(passes(replaced(good, 3, 0)));
    EXPECT_FALSE(passes(replaced(good, 3, ~uint64_t{0})));
    for (uint64_t k : {1u, 2u, 31u, 62u, 63u}) {  // bitmap word k is file word 3 + k
        SCOPED_TRACE(k);
        EXPECT_FALSE(passes(flipped(good, 3 + k, static_cast<unsigned>(k))));
        EXPECT_FALSE(passes(replaced(good, 3 + k, 0)));
    }
}

// A first image of fewer than 64 bitmap words is compared whole.
TEST_F(TableFileCheck, ShortFirstImagesAreComparedWhole) {
    for (uint64_t words : {5u, 6u, 20u, 67u, 68u}) {  // 1, 2, 16, 63 and 64 bitmap words
        SCOPED_TRACE(words);
        EXPECT_TRUE(passes(Chain({words}).bytes()));
        const std::string good = Chain({words, 9}).bytes();
        EXPECT_TRUE(passes(good));
        for (uint64_t k = 0; k < words - 4; ++k)
            EXPECT_FALSE(passes(flipped(good, 3 + k, static_cast<unsigned>((5 * k) % 64)))) << "word " << k;
    }
}

// The last bitmap word of every image holds the primality of its numbers.
TEST_F(TableFileCheck, TheLastBitmapWordOfEveryImageMustBeTrue) {
    const std::string good = threeBlocks().bytes();
    for (uint64_t k : {3u, 9u, 18u}) {  // the last bitmap words of the three images
        SCOPED_TRACE(k);
        for (unsigned bit : {0u, 17u, 63u}) EXPECT_FALSE(passes(flipped(good, k, bit))) << "bit " << bit;
        EXPECT_FALSE(passes(replaced(good, k, 0)));
        EXPECT_FALSE(passes(replaced(good, k, ~uint64_t{0})));
    }
}

// Tables the sieve built pass whatever their sizes: the check agrees with the
// sieve on the numbers of every last word.
TEST_F(TableFileCheck, SievedTablesPass) {
    for (uint64_t words = 5; words <= 200; ++words) {
        std::vector<uint64_t> block(words);
        ASSERT_EQ(_5_prmnew(words, block.data()), 0);
        EXPECT_TRUE(passes(std::string(reinterpret_cast<const char*>(block.data()), 8 * words))) << words;
    }
    std::vector<std::vector<uint64_t>> chain{std::vector<uint64_t>(70)};
    ASSERT_EQ(_5_prmnew(70, chain[0].data()), 0);
    for (uint64_t words : {5u, 33u, 6u, 1000u, 4097u}) {
        chain.emplace_back(words);
        ASSERT_EQ(_5_prmexpd(words, chain.back().data(), chain[0].data()), 0);
    }
    std::string bytes;
    for (const auto& block : chain) bytes.append(reinterpret_cast<const char*>(block.data()), 8 * block.size());
    EXPECT_TRUE(passes(bytes));
}

// Numbers far beyond the tables a test can build: sparse files of one huge
// image and a small one after it, holding only the words the check reads.
TEST_F(TableFileCheck, TheLastWordsOfHugeImages) {
    const uint32_t seed = 2024;
    SCOPED_TRACE(seed);
    std::mt19937_64 rng(seed);
    for (int round = 0; round < 3; ++round) {
        const uint64_t first = (uint64_t{1} << 36) + rng() % (uint64_t{1} << 37);  // its lastIndex
        const uint64_t bitmap = first - 3;
        SCOPED_TRACE(first);
        std::string front(8 * 67, '\0');
        setWord(front, 0, first);
        setWord(front, 2, tftest::limitOfWords(bitmap + 3));
        for (uint64_t k = 0; k < 64; ++k) setWord(front, 3 + k, tftest::trueWord(k));
        std::string back(8 * 9, '\0');  // the first image's last two words, then the second image
        setWord(back, 0, tftest::trueWord(bitmap - 1));
        setWord(back, 1, 0x1234);
        const uint64_t second[7] = {6, bitmap, tftest::limitOfWords(bitmap + 3), rng(), rng(),
                                    tftest::trueWord(bitmap + 2), table::kEndOfChain};
        for (int i = 0; i < 7; ++i) setWord(back, 2 + i, second[i]);
        const uint64_t backAt = 8 * (first - 1);
        if (!tftest::makeSparse(dir.file(), 8 * (first + 8))) GTEST_SKIP() << "no sparse file of that size";
        ASSERT_TRUE(tftest::writeAt(dir.file(), 0, front));
        ASSERT_TRUE(tftest::writeAt(dir.file(), backAt, back));
        EXPECT_TRUE(filePasses());
        for (uint64_t k : {0u, 7u}) {  // the last bitmap word of each image
            ASSERT_TRUE(tftest::writeAt(dir.file(), backAt, flipped(back, k, static_cast<unsigned>(rng() % 64))));
            EXPECT_FALSE(filePasses()) << "word " << k;
            ASSERT_TRUE(tftest::writeAt(dir.file(), backAt, back));
        }
        EXPECT_TRUE(filePasses());
    }
}

TEST_F(TableFileCheck, ADirectoryIsNoTableFile) {
    ASSERT_EQ(mkdir(dir.file().c_str(), 0755), 0);
    tablefile::Reader r;
    if (tablefile::open(r, dir.file().c_str())) {
        EXPECT_FALSE(tablefile::check(r));
        tablefile::close(r);
    }
}

TEST_F(TableFileCheck, AMissingFileDoesNotOpen) {
    tablefile::Reader r;
    EXPECT_FALSE(tablefile::open(r, dir.file().c_str()));
}

// Loading after a successful check, with the load itself going wrong.
class TableFileLoad : public TableFileCheck {
protected:
    // The chain is made before a test refuses memory (each test may run alone).
    TableFileLoad() { threeBlocks(); }
    tablefile::LoadResult loadThreeBlocks(TableBlock** head, TableBlock** newest) {
        tftest::writeFile(dir.file(), threeBlocks().bytes());
        tablefile::Reader r;
        EXPECT_TRUE(tablefile::open(r, dir.file().c_str()));
        EXPECT_TRUE(tablefile::check(r));
        tablefile::LoadResult result = tablefile::load(r, head, newest, nullptr);
        tablefile::close(r);
        return result;
    }
    // A partial chain of `blocks` blocks equal to the first blocks of the file,
    // its limit that of its last block and its last link all ones.
    void expectFirstBlocks(TableBlock* head, TableBlock* newest, size_t blocks) {
        const Chain& want = threeBlocks();
        TableBlock* b = head;
        TableBlock* last = nullptr;
        uint64_t bitmap = 0;
        for (size_t k = 0; k < blocks; ++k) {
            ASSERT_NE(b, nullptr) << k;
            for (uint64_t i = 0; i < b[0]; ++i) {
                if (i == 2 && k == 0) continue;  // the table's limit, checked below
                EXPECT_EQ(b[i], want.blocks[k][i]) << k << " " << i;
            }
            bitmap += b[0] - 3;
            last = b;
            b = table::nextBlock(b);
        }
        EXPECT_EQ(b, nullptr);
        EXPECT_EQ(newest, last);
        EXPECT_EQ(last[last[0]], table::kEndOfChain);
        EXPECT_EQ(head[2], tftest::limitOfWords(bitmap));
    }
};

TEST_F(TableFileLoad, MemoryRefusedMidwayKeepsAConsistentSmallerTable) {
    for (uint64_t granted : {uint64_t{1}, uint64_t{2}}) {
        SCOPED_TRACE(granted);
        uint64_t live = platform::liveBlockCount();
        platform::testing::refuseAfter(granted, UINT64_MAX);
        TableBlock *head = nullptr, *newest = nullptr;
        EXPECT_EQ(loadThreeBlocks(&head, &newest), tablefile::LoadResult::Partial);
        platform::testing::clearRefusals();
        expectFirstBlocks(head, newest, granted);
        EXPECT_EQ(platform::liveBlockCount(), live + granted);
        tftest::releaseChain(head);
    }
}

TEST_F(TableFileLoad, MemoryRefusedForTheFirstBlockLeavesNoTable) {
    platform::testing::refuseAfter(0, UINT64_MAX);
    TableBlock *head = nullptr, *newest = nullptr;
    EXPECT_EQ(loadThreeBlocks(&head, &newest), tablefile::LoadResult::Partial);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(newest, nullptr);
}

TEST_F(TableFileLoad, AReadErrorMidwayDropsTheBlockBeingRead) {
    uint64_t live = platform::liveBlockCount();
    // The check reads two pieces per image (6 reads), the load two per image.
    platform::testing::failFileOperation(platform::testing::FileOp::Read, 6 + 2 + 1);
    TableBlock *head = nullptr, *newest = nullptr;
    EXPECT_EQ(loadThreeBlocks(&head, &newest), tablefile::LoadResult::Partial);
    platform::testing::clearFileFailures();
    expectFirstBlocks(head, newest, 1);
    EXPECT_EQ(platform::liveBlockCount(), live + 1);
    tftest::releaseChain(head);
}

// Checks the three-block file, then writes `changed` over it and loads it.
tablefile::LoadResult loadChangedAfterCheck(const std::string& name, const std::string& changed, TableBlock** head,
                                            TableBlock** newest) {
    tftest::writeFile(name, threeBlocks().bytes());
    tablefile::Reader r;
    EXPECT_TRUE(tablefile::open(r, name.c_str()));
    EXPECT_TRUE(tablefile::check(r));
    {
        std::fstream f(name, std::ios::in | std::ios::out | std::ios::binary);
        f.write(changed.data(), static_cast<std::streamsize>(changed.size()));
    }
    tablefile::LoadResult result = tablefile::load(r, head, newest, nullptr);
    tablefile::close(r);
    return result;
}

TEST_F(TableFileLoad, AFileChangedAfterItsCheckEndsTheChainAtTheChange) {
    std::string changed = threeBlocks().bytes();
    setWord(changed, 12, 99);  // the third image's baseWord
    TableBlock *head = nullptr, *newest = nullptr;
    EXPECT_EQ(loadChangedAfterCheck(dir.file(), changed, &head, &newest), tablefile::LoadResult::Partial);
    expectFirstBlocks(head, newest, 2);
    tftest::releaseChain(head);
}

// The load checks the content of each block as the check did its image.
TEST_F(TableFileLoad, ContentChangedAfterTheCheckEndsTheChainAtTheChange) {
    const std::string good = threeBlocks().bytes();
    uint64_t live = platform::liveBlockCount();
    for (uint64_t k : {9u, 18u}) {  // the last bitmap words of the second and third images
        SCOPED_TRACE(k);
        TableBlock *head = nullptr, *newest = nullptr;
        EXPECT_EQ(loadChangedAfterCheck(dir.file(), flipped(good, k, 40), &head, &newest),
                  tablefile::LoadResult::Partial);
        expectFirstBlocks(head, newest, k == 9 ? 1 : 2);
        tftest::releaseChain(head);
    }
    TableBlock *head = nullptr, *newest = nullptr;
    EXPECT_EQ(loadChangedAfterCheck(dir.file(), replaced(good, 3, 0), &head, &newest),
              tablefile::LoadResult::Partial);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(newest, nullptr);
    EXPECT_EQ(platform::liveBlockCount(), live);
}

}  // namespace
