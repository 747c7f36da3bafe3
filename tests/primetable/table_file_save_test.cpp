#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/files.h"
#include "primetable/table_file.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "tests/primetable/table_file_support.h"

namespace {

using platform::testing::FileOp;
using tftest::Chain;

class TableFileSave : public ::testing::Test {
protected:
    void TearDown() override {
        platform::testing::clearFileFailures();
        platform::testing::clearRefusals();
    }
    tftest::TempDir dir;
};

// Loads `name` into a new chain and checks it block for block against `chain`:
// the same words everywhere but the links, which join the new blocks in order.
void expectLoadsAs(const std::string& name, const Chain& chain) {
    tablefile::Reader r;
    ASSERT_TRUE(tablefile::open(r, name.c_str()));
    ASSERT_TRUE(tablefile::check(r));
    EXPECT_EQ(r.images, chain.blocks.size());
    TableBlock *head = nullptr, *newest = nullptr;
    ASSERT_EQ(tablefile::load(r, &head, &newest, nullptr), tablefile::LoadResult::Complete);
    tablefile::close(r);
    TableBlock* b = head;
    for (size_t k = 0; k < chain.blocks.size(); ++k) {
        SCOPED_TRACE(k);
        ASSERT_NE(b, nullptr);
        const TableBlock* want = chain.blocks[k];
        ASSERT_EQ(b[0], want[0]);
        for (uint64_t i = 0; i < b[0]; ++i) ASSERT_EQ(b[i], want[i]) << "word " << i;
        if (k + 1 == chain.blocks.size()) {
            EXPECT_EQ(b[b[0]], table::kEndOfChain);
            EXPECT_EQ(newest, b);
        } else {
            EXPECT_NE(b[b[0]], table::kEndOfChain);
        }
        b = table::nextBlock(b);
    }
    EXPECT_EQ(b, nullptr);
    tftest::releaseChain(head);
}

TEST_F(TableFileSave, OneBlockRoundTrip) {
    Chain chain({131072});
    ASSERT_EQ(chain.blocks.size(), 1u);
    std::string name = dir.file();
    EXPECT_EQ(tablefile::save(chain.head(), name.c_str()), 1048576);
    EXPECT_EQ(tftest::readFile(name), tftest::sealed(chain.bytes()));
    EXPECT_EQ(dir.listing(), "prime.dat\n");  // no temporary file left
    expectLoadsAs(name, chain);
}

TEST_F(TableFileSave, ThreeBlockRoundTripReplacesAnOlderFile) {
    std::string name = dir.file();
    tftest::writeFile(name, "an older file");
    Chain chain({5, 5, 8}, 7);
    ASSERT_EQ(chain.blocks.size(), 3u);
    EXPECT_EQ(tablefile::save(chain.head(), name.c_str()), 8 * 18);
    std::string bytes = tftest::readFile(name);
    ASSERT_EQ(bytes, tftest::sealed(chain.bytes()));
    // Links are written as they stood in memory.
    EXPECT_EQ(tftest::wordAt(bytes, 4), reinterpret_cast<uint64_t>(chain.blocks[1]));
    EXPECT_EQ(tftest::wordAt(bytes, 9), reinterpret_cast<uint64_t>(chain.blocks[2]));
    EXPECT_EQ(tftest::wordAt(bytes, 17), table::kEndOfChain);
    EXPECT_EQ(dir.listing(), "prime.dat\n");
    expectLoadsAs(name, chain);
}

TEST_F(TableFileSave, LargeBlocksRoundTrip) {
    Chain chain({3 * 131072, 131072 + 17, 6}, 3);
    ASSERT_EQ(chain.blocks.size(), 3u);
    std::string name = dir.file();
    EXPECT_EQ(tablefile::save(chain.head(), name.c_str()), 8 * (4 * 131072 + 23));
    expectLoadsAs(name, chain);
}

// Loads `name` whole; the caller releases the chain.
TableBlock* loadWhole(const std::string& name) {
    tablefile::Reader r;
    TableBlock *head = nullptr, *newest = nullptr;
    if (tablefile::open(r, name.c_str()) && tablefile::check(r)) tablefile::load(r, &head, &newest, nullptr);
    tablefile::close(r);
    return head;
}

TEST_F(TableFileSave, TheStartTableFile) {
    auto* head = static_cast<TableBlock*>(platform::commitBlock(1048576));
    ASSERT_NE(head, nullptr);
    ASSERT_EQ(_5_prmnew(131072, head), 0);
    std::string name = dir.file();
    EXPECT_EQ(tablefile::save(head, name.c_str()), 1048576);
    platform::releaseBlock(head);
    std::string bytes = tftest::readFile(name);
    ASSERT_EQ(bytes.size(), 1048576u + 24);
    const unsigned char start[32] = {0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,  // lastIndex
                                     0, 0, 0, 0, 0, 0, 0, 0,                          // baseWord
                                     0x73, 0xFC, 0x2F, 0x02, 0x00, 0x00, 0x00, 0x00,  // limit
                                     0x0A, 0x11, 0x4C, 0x24, 0x64, 0x28, 0xA0, 0x40};
    EXPECT_EQ(bytes.substr(0, 32), std::string(reinterpret_cast<const char*>(start), 32));
    TableBlock* loaded = loadWhole(name);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(_5_prmtqsize(loaded), 131072);
    EXPECT_EQ(_5_prmtcnt(loaded), 2244426);
    EXPECT_EQ(_5_prmtmax(loaded).lo, 36699233u);
    tftest::releaseChain(loaded);
}

TEST_F(TableFileSave, ASievedThreeBlockTableWorksAfterLoading) {
    auto* b0 = static_cast<TableBlock*>(platform::commitBlock(5 * 8));
    auto* b1 = static_cast<TableBlock*>(platform::commitBlock(5 * 8));
    auto* b2 = static_cast<TableBlock*>(platform::commitBlock(8 * 8));
    ASSERT_EQ(_5_prmnew(5, b0), 0);
    ASSERT_EQ(_5_prmexpd(5, b1, b0), 0);
    ASSERT_EQ(_5_prmexpd(8, b2, b0), 0);
    std::string name = dir.file();
    EXPECT_EQ(tablefile::save(b0, name.c_str()), 8 * 18);
    tftest::releaseChain(b0);
    TableBlock* loaded = loadWhole(name);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(_5_prmtqsize(loaded), 18);
    EXPECT_EQ(_5_prmtcnt(loaded), 290);
    EXPECT_EQ(_5_prmtmax(loaded).lo, 1889u);
    EXPECT_EQ(loaded[table::kLimit], 1891u);
    // The loaded table extends like the one that was saved.
    auto* b3 = static_cast<TableBlock*>(platform::commitBlock(6 * 8));
    ASSERT_EQ(_5_prmexpd(6, b3, loaded), 0);
    EXPECT_EQ(b3[table::kBaseWord], 6u);
    EXPECT_EQ(loaded[table::kLimit], _5_prmtbcap(8));
    tftest::releaseChain(loaded);
}

// Any failure on the way leaves the old file as it was and no temporary file.
TEST_F(TableFileSave, AFailedStepKeepsTheOldFile) {
    Chain chain({5, 5, 8});
    std::string name = dir.file();
    struct Case {
        FileOp op;
        uint64_t calls;
    };
    for (Case c : {Case{FileOp::Create, 0}, Case{FileOp::Write, 0}, Case{FileOp::Write, 1},
                   Case{FileOp::Write, 2}, Case{FileOp::Write, 3}, Case{FileOp::Sync, 0}, Case{FileOp::Close, 0},
                   Case{FileOp::Rename, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.op) * 10 + static_cast<int>(c.calls));
        tftest::writeFile(name, "old contents");
        platform::testing::failFileOperation(c.op, c.calls);
        EXPECT_EQ(tablefile::save(chain.head(), name.c_str()), -1);
        platform::testing::clearFileFailures();
        EXPECT_EQ(tftest::readFile(name), "old contents");
        EXPECT_EQ(dir.listing(), "prime.dat\n");
    }
}

TEST_F(TableFileSave, AFailedDirectoryFlushStillReportsTheFileItWrote) {
    Chain chain({5, 6});
    std::string name = dir.file();
    platform::testing::failFileOperation(FileOp::SyncDirectory, 0);
    EXPECT_EQ(tablefile::save(chain.head(), name.c_str()), 8 * 11);
    EXPECT_EQ(tftest::readFile(name), tftest::sealed(chain.bytes()));
}

// A real failure, as root: the file-size limit stops the write halfway.
TEST_F(TableFileSave, AFullFileSystemKeepsTheOldFile) {
    Chain chain({131072, 131072});
    std::string name = dir.file();
    tftest::writeFile(name, "old contents");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1536 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int64_t out = tablefile::save(chain.head(), name.c_str());
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(out, -1);
    EXPECT_EQ(tftest::readFile(name), "old contents");
    EXPECT_EQ(dir.listing(), "prime.dat\n");
}

TEST_F(TableFileSave, ADirectoryInTheWayIsNotReplaced) {
    Chain chain({5});
    std::string name = dir.file();
    ASSERT_EQ(mkdir(name.c_str(), 0755), 0);
    EXPECT_EQ(tablefile::save(chain.head(), name.c_str()), -1);
    struct stat st {};
    ASSERT_EQ(stat(name.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(dir.listing(), "prime.dat\n");
}

TEST_F(TableFileSave, AMissingDirectoryFails) {
    Chain chain({5});
    EXPECT_EQ(tablefile::save(chain.head(), (dir.path + "/gone/prime.dat").c_str()), -1);
}

}  // namespace
