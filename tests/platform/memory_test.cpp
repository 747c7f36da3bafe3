#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/memory.h"

namespace {

constexpr uint64_t kMB = uint64_t{1} << 20;

class Memory : public ::testing::Test {
protected:
    void SetUp() override { platform::testing::clearRefusals(); }
    void TearDown() override { platform::testing::clearRefusals(); }
};

// On one thread, and on several sharing out pieces of 16 MB (the last one
// shorter, and more threads than pieces).
TEST_F(Memory, BlocksAreZeroFilledResidentAndReleasedOnce) {
    struct Case {
        uint64_t bytes;
        unsigned threads;
    };
    for (Case c : {Case{8 * kMB, 1}, Case{40 * kMB + 4096, 2}, Case{40 * kMB + 4096, 5}}) {
        SCOPED_TRACE(testing::Message() << c.bytes << " bytes, " << c.threads << " threads");
        uint64_t before = platform::liveBlockCount();
        auto* block = static_cast<unsigned char*>(platform::commitBlock(c.bytes, c.threads));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(platform::liveBlockCount(), before + 1);
        EXPECT_GE(platform::liveBlockBytes(), c.bytes);
        // Every page is backed before the block is first touched.
        const long page = sysconf(_SC_PAGESIZE);
        std::vector<unsigned char> resident((c.bytes + page - 1) / static_cast<uint64_t>(page));
        ASSERT_EQ(mincore(block, c.bytes, resident.data()), 0);
        for (size_t i = 0; i < resident.size(); ++i) ASSERT_TRUE(resident[i] & 1) << "page " << i;
        for (uint64_t i = 0; i < c.bytes; i += 4093) ASSERT_EQ(block[i], 0) << i;
        block[c.bytes - 1] = 7;
        EXPECT_TRUE(platform::releaseBlock(block));
        EXPECT_FALSE(platform::releaseBlock(block));
        EXPECT_EQ(platform::liveBlockCount(), before);
    }
}

TEST_F(Memory, AnAddressThatIsNoBlockIsNotReleased) {
    int local = 0;
    EXPECT_FALSE(platform::releaseBlock(&local));
    EXPECT_FALSE(platform::releaseBlock(nullptr));
}

TEST_F(Memory, RefusesAfterTheGivenNumberOfBlocks) {
    platform::testing::refuseAfter(2, UINT64_MAX);
    void* a = platform::commitBlock(4096);
    void* b = platform::commitBlock(4096);
    void* c = platform::commitBlock(4096);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(c, nullptr);
    // Releasing does not give the count back: the limit counts requests granted.
    EXPECT_TRUE(platform::releaseBlock(a));
    EXPECT_EQ(platform::commitBlock(4096), nullptr);
    EXPECT_TRUE(platform::releaseBlock(b));
}

TEST_F(Memory, RefusesARequestBeyondTheGivenBytes) {
    platform::testing::refuseAfter(UINT64_MAX, 3 * kMB);
    void* a = platform::commitBlock(2 * kMB);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(platform::commitBlock(kMB + 1), nullptr);
    void* b = platform::commitBlock(kMB);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(platform::commitBlock(1), nullptr);
    platform::testing::clearRefusals();
    void* c = platform::commitBlock(kMB);
    EXPECT_NE(c, nullptr);
    for (void* p : {a, b, c}) EXPECT_TRUE(platform::releaseBlock(p));
}

TEST_F(Memory, ZeroBytesAreRefused) { EXPECT_EQ(platform::commitBlock(0), nullptr); }

// A request the machine cannot back is refused at once; the process is not
// killed later and nothing stays allocated.
TEST_F(Memory, ARealOversizedRequestIsRefused) {
    uint64_t before = platform::liveBlockCount();
    uint64_t room = platform::committableBytes();
    EXPECT_EQ(platform::commitBlock(room + 256 * kMB), nullptr);
    EXPECT_EQ(platform::commitBlock(uint64_t{1} << 46), nullptr);
    EXPECT_EQ(platform::commitBlock(UINT64_MAX), nullptr);
    EXPECT_EQ(platform::liveBlockCount(), before);
}

uint64_t memAvailableBytes() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    uint64_t kib = 0;
    std::string unit;
    while (in >> key >> kib >> unit)
        if (key == "MemAvailable:") return kib * 1024;
    return 0;
}

TEST_F(Memory, CommittableBytesKeepAMarginBelowTheAvailableMemory) {
    uint64_t available = memAvailableBytes();
    ASSERT_GT(available, 0u);
    uint64_t room = platform::committableBytes();
    // The margin is 512 MB; allow other processes to change the figure a bit.
    EXPECT_LE(room, available - 400 * kMB);
    EXPECT_GT(room, 0u);
}

struct FakeGroup {
    std::string dir;
    FakeGroup() {
        char templ[] = "/tmp/q64-cgroup-XXXXXX";
        dir = mkdtemp(templ);
    }
    ~FakeGroup() { std::system(("rm -rf '" + dir + "'").c_str()); }
    void write(const char* name, const std::string& text) const {
        std::ofstream(dir + "/" + name) << text;
    }
};

TEST(MemoryGroupRoom, V2CountsPageCacheAsRoom) {
    FakeGroup g;
    g.write("memory.max", "1073741824\n");
    g.write("memory.current", "805306368\n");
    g.write("memory.stat", "anon 500000000\nfile 300000000\ninactive_file 200000000\nactive_file 100000000\n"
                           "total_inactive_file 999\n");
    EXPECT_EQ(platform::testing::groupRoom(g.dir.c_str(), true), 1073741824u - (805306368u - 300000000u));
}

TEST(MemoryGroupRoom, V2WithoutLimitOrAboveItsLimit) {
    FakeGroup g;
    g.write("memory.max", "max\n");
    g.write("memory.current", "805306368\n");
    EXPECT_EQ(platform::testing::groupRoom(g.dir.c_str(), true), UINT64_MAX);
    g.write("memory.max", "1000\n");
    g.write("memory.stat", "inactive_file 5\n");
    EXPECT_EQ(platform::testing::groupRoom(g.dir.c_str(), true), 0u);
}

TEST(MemoryGroupRoom, V1ReadsItsOwnFileNames) {
    FakeGroup g;
    g.write("memory.limit_in_bytes", "2147483648\n");
    g.write("memory.usage_in_bytes", "1073741824\n");
    g.write("memory.stat", "cache 1\ninactive_file 7\ntotal_inactive_file 73741824\ntotal_active_file 0\n");
    EXPECT_EQ(platform::testing::groupRoom(g.dir.c_str(), false), 2147483648u - 1000000000u);
    // The kernel's "no limit" is a huge page-aligned number.
    g.write("memory.limit_in_bytes", "9223372036854771712\n");
    EXPECT_EQ(platform::testing::groupRoom(g.dir.c_str(), false), UINT64_MAX);
}

}  // namespace
