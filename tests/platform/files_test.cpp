#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"

namespace {

using platform::testing::FileOp;

struct TempDir {
    std::string path;
    TempDir() {
        char templ[] = "/tmp/q64-files-XXXXXX";
        path = mkdtemp(templ);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string file(const char* name) const { return path + "/" + name; }
    int entries() const {
        int n = 0;
        std::string cmd = "ls -A '" + path + "' | wc -l";
        FILE* p = popen(cmd.c_str(), "r");
        if (fscanf(p, "%d", &n) != 1) n = -1;
        pclose(p);
        return n;
    }
};

std::string contents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class Files : public ::testing::Test {
protected:
    void TearDown() override { platform::testing::clearFileFailures(); }
    TempDir dir;
};

TEST_F(Files, ReplaceStepsWriteReadBack) {
    std::string target = dir.file("data.bin");
    char temp[512];
    platform::FileHandle f = platform::createBeside(target.c_str(), temp, sizeof temp);
    ASSERT_GE(f, 0);
    EXPECT_EQ(std::string(temp).rfind(target + ".", 0), 0u) << temp;  // same directory
    std::vector<unsigned char> data(3 << 20);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7 + (i >> 9));
    EXPECT_TRUE(platform::writeAll(f, data.data(), data.size()));
    EXPECT_TRUE(platform::syncFile(f));
    EXPECT_TRUE(platform::closeFile(f));
    EXPECT_TRUE(platform::renameFile(temp, target.c_str()));
    EXPECT_TRUE(platform::syncDirectoryOf(target.c_str()));
    EXPECT_EQ(dir.entries(), 1);

    platform::FileHandle r = platform::openForReading(target.c_str());
    ASSERT_GE(r, 0);
    EXPECT_EQ(platform::regularFileSize(r), static_cast<int64_t>(data.size()));
    std::vector<unsigned char> back(data.size());
    unsigned char word[8];
    ASSERT_TRUE(platform::readExactlyAt(r, 1000, word, 8));
    EXPECT_EQ(0, memcmp(word, data.data() + 1000, 8));
    ASSERT_TRUE(platform::readExactly(r, back.data(), back.size()));  // position untouched by readExactlyAt
    EXPECT_EQ(back, data);
    EXPECT_FALSE(platform::readExactly(r, word, 1));                            // at the end
    EXPECT_FALSE(platform::readExactlyAt(r, data.size() - 4, word, 8));         // ends early
    EXPECT_FALSE(platform::readExactlyAt(r, uint64_t{1} << 63, word, 8));       // beyond any offset
    EXPECT_TRUE(platform::closeFile(r));
}

TEST_F(Files, MissingFilesAndDirectories) {
    EXPECT_EQ(platform::openForReading(dir.file("none").c_str()), -1);
    platform::FileHandle d = platform::openForReading(dir.path.c_str());
    ASSERT_GE(d, 0);  // a directory opens, but is no regular file
    EXPECT_EQ(platform::regularFileSize(d), -1);
    unsigned char b;
    EXPECT_FALSE(platform::readExactly(d, &b, 1));
    platform::closeFile(d);
    char temp[64];
    EXPECT_EQ(platform::createBeside(dir.file("no/such/dir/x").c_str(), temp, sizeof temp), -1);
    EXPECT_FALSE(platform::removeFile(dir.file("none").c_str()));
}

TEST_F(Files, TemporaryNamesAreNewAndMustFit) {
    std::string target = dir.file("t");
    char a[512], b[512], tiny[8];
    platform::FileHandle fa = platform::createBeside(target.c_str(), a, sizeof a);
    platform::FileHandle fb = platform::createBeside(target.c_str(), b, sizeof b);
    ASSERT_GE(fa, 0);
    ASSERT_GE(fb, 0);
    EXPECT_STRNE(a, b);
    EXPECT_EQ(platform::createBeside(target.c_str(), tiny, sizeof tiny), -1);
    platform::closeFile(fa);
    platform::closeFile(fb);
    EXPECT_TRUE(platform::removeFile(a));
    EXPECT_TRUE(platform::removeFile(b));
    EXPECT_EQ(dir.entries(), 0);
}

TEST_F(Files, RenameOverADirectoryFails) {
    std::string target = dir.file("prime.dat");
    ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
    char temp[512];
    platform::FileHandle f = platform::createBeside(target.c_str(), temp, sizeof temp);
    ASSERT_GE(f, 0);
    platform::closeFile(f);
    EXPECT_FALSE(platform::renameFile(temp, target.c_str()));
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

// The file-size limit binds root too: a real failing write.
TEST_F(Files, AWriteBeyondTheFileSizeLimitFailsWithoutEndingTheProcess) {
    char temp[512];
    platform::FileHandle f = platform::createBeside(dir.file("big").c_str(), temp, sizeof temp);
    ASSERT_GE(f, 0);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::vector<char> data(256 * 1024, 'x');
    bool written = platform::writeAll(f, data.data(), data.size());
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(written);
    platform::closeFile(f);
    platform::removeFile(temp);
}

TEST_F(Files, InjectedFailuresCountCallsPerOperation) {
    std::string target = dir.file("x");
    char temp[512];
    platform::testing::failFileOperation(FileOp::Write, 1);
    platform::FileHandle f = platform::createBeside(target.c_str(), temp, sizeof temp);
    ASSERT_GE(f, 0);
    EXPECT_TRUE(platform::writeAll(f, "abc", 3));
    EXPECT_FALSE(platform::writeAll(f, "def", 3));
    EXPECT_FALSE(platform::writeAll(f, "ghi", 3));
    platform::testing::failFileOperation(FileOp::Close, 0);
    EXPECT_FALSE(platform::closeFile(f));
    EXPECT_EQ(contents(temp), "abc");  // the failed writes wrote nothing
    platform::testing::clearFileFailures();

    platform::FileHandle r = platform::openForReading(temp);
    ASSERT_GE(r, 0);
    platform::testing::failFileOperation(FileOp::Read, 0);
    platform::testing::failFileOperation(FileOp::Sync, 0);
    char byte;
    EXPECT_FALSE(platform::readExactly(r, &byte, 1));
    EXPECT_FALSE(platform::readExactlyAt(r, 0, &byte, 1));
    EXPECT_FALSE(platform::syncFile(r));
    platform::testing::clearFileFailures();
    EXPECT_TRUE(platform::readExactly(r, &byte, 1));
    EXPECT_TRUE(platform::closeFile(r));

    for (FileOp op : {FileOp::Open, FileOp::Create, FileOp::Rename, FileOp::Remove, FileOp::SyncDirectory}) {
        platform::testing::failFileOperation(op, 0);
    }
    char t2[512];
    EXPECT_EQ(platform::openForReading(temp), -1);
    EXPECT_EQ(platform::createBeside(target.c_str(), t2, sizeof t2), -1);
    EXPECT_FALSE(platform::renameFile(temp, target.c_str()));
    EXPECT_FALSE(platform::removeFile(temp));
    EXPECT_FALSE(platform::syncDirectoryOf(target.c_str()));
    platform::testing::clearFileFailures();
    EXPECT_TRUE(platform::removeFile(temp));
}

}  // namespace
