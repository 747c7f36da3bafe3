#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/files.h"
#include "primetable/table_file.h"
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
    // Writes `bytes` as prime.dat and checks it; the reader is closed again.
    bool passes(const std::string& bytes) {
        tftest::writeFile(dir.file(), bytes);
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
        tablefile::LoadResult result = tablefile::load(r, head, newest);
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

TEST_F(TableFileLoad, AFileChangedAfterItsCheckEndsTheChainAtTheChange) {
    tftest::writeFile(dir.file(), threeBlocks().bytes());
    tablefile::Reader r;
    ASSERT_TRUE(tablefile::open(r, dir.file().c_str()));
    ASSERT_TRUE(tablefile::check(r));
    std::string changed = threeBlocks().bytes();
    setWord(changed, 12, 99);  // the third image's baseWord
    {
        std::fstream f(dir.file(), std::ios::in | std::ios::out | std::ios::binary);
        f.write(changed.data(), static_cast<std::streamsize>(changed.size()));
    }
    TableBlock *head = nullptr, *newest = nullptr;
    EXPECT_EQ(tablefile::load(r, &head, &newest), tablefile::LoadResult::Partial);
    tablefile::close(r);
    expectFirstBlocks(head, newest, 2);
    tftest::releaseChain(head);
}

}  // namespace
