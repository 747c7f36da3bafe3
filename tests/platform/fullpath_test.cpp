#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/fullpath.h"

namespace {

// Runs in a fresh directory and returns to the original one afterwards.
class FullPath : public ::testing::Test {
protected:
    void SetUp() override {
        home = open(".", O_RDONLY | O_DIRECTORY);
        ASSERT_GE(home, 0);
        char templ[] = "/tmp/q64-path-XXXXXX";
        dir = mkdtemp(templ);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        platform::testing::clearFileFailures();
        EXPECT_EQ(fchdir(home), 0);
        close(home);
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    int home = -1;
    std::string dir;
};

TEST_F(FullPath, IsTheCurrentDirectoryAndTheName) {
    const char* p = platform::fullPath("prime.dat");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p), dir + "/prime.dat");
}

TEST_F(FullPath, AtTheRootHasOneSlash) {
    ASSERT_EQ(chdir("/"), 0);
    const char* p = platform::fullPath("prime.dat");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p, "/prime.dat");
}

// Directories nested deeper than the kernel's own path length (4096 bytes).
TEST_F(FullPath, HasNoFixedLengthLimit) {
    const std::string level(200, 'd');
    std::string expected = dir;
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(mkdir(level.c_str(), 0755), 0) << i;
        ASSERT_EQ(chdir(level.c_str()), 0) << i;
        expected += "/" + level;
    }
    expected += "/prime.dat";
    ASSERT_GT(expected.size(), 6000u);
    const char* p = platform::fullPath("prime.dat");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p), expected);
    // A shorter path afterwards is formed as well.
    ASSERT_EQ(chdir(dir.c_str()), 0);
    p = platform::fullPath("prime.dat");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p), dir + "/prime.dat");
}

TEST_F(FullPath, CannotBeFormedInARemovedDirectory) {
    ASSERT_EQ(mkdir("gone", 0755), 0);
    ASSERT_EQ(chdir("gone"), 0);
    ASSERT_EQ(rmdir((dir + "/gone").c_str()), 0);
    EXPECT_EQ(platform::fullPath("prime.dat"), nullptr);
}

TEST_F(FullPath, FailsOnRequest) {
    platform::testing::failFileOperation(platform::testing::FileOp::FullPath, 1);
    EXPECT_NE(platform::fullPath("prime.dat"), nullptr);
    EXPECT_EQ(platform::fullPath("prime.dat"), nullptr);
}

}  // namespace
