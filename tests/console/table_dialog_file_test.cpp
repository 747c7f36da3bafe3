// Transcripts of the table menu's "f": saving to and loading from prime.dat
// in the run's current directory, with damaged files, refused memory and
// failing writes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <span>

#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string kOpen = kFileHeading + kFileMenu;
const std::string kExtendOne =
    extendOpening(kStartTable) + extendStep("1") + kExtendDone + changed(2, 4306019, 73398287);

std::string writing(const std::string& path) { return "\n'" + path + "'に素数テーブルを出力します"; }
std::string out(int64_t bytes) { return "\n out = " + std::to_string(bytes) + " bytes"; }
std::string reading(const std::string& path) { return "\n'" + path + "'を読込んで素数テーブルを再作成"; }
std::string missing(const std::string& path) { return "\n'" + path + "'は存在しません。"; }
std::string notATable(const std::string& path) { return "\n'" + path + "'は素数テーブルのファイルではありません。"; }
const std::string kCannotRead = "\n素数テーブルを読込めません";

// Runs the table menu with `input` in `dir`.
RunResult runIn(const TempDir& dir, const std::string& input, const RunOptions& options = {}) {
    RunResult r = runProgram(dir.path, tableMenuInput(input), options);
    EXPECT_EQ(r.status, 0);
    return r;
}

TEST(FileDialog, TheStartTableSavedAndLoaded) {
    TempDir dir;
    std::string path = dir.file();
    RunResult r = runIn(dir, "f\nw\nf\nr\n");
    expectOutput(r.out, tableMenuTranscript(kOpen + writing(path) + out(1048576) + kTable + kOpen + reading(path) +
                                            kStartTable));
    std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 1048576u + 24);  // the image and the trailer
    const unsigned char start[32] = {0xFF, 0xFF, 0x01, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0,
                                     0x73, 0xFC, 0x2F, 2, 0, 0, 0, 0, 0x0A, 0x11, 0x4C, 0x24, 0x64, 0x28, 0xA0, 0x40};
    EXPECT_EQ(bytes.substr(0, 32), std::string(reinterpret_cast<const char*>(start), 32));
    EXPECT_EQ(dir.listing(), "prime.dat\n");
}

// A table of three blocks, saved, replaced by a rebuild, and loaded in a new
// run: the statistics come back.
TEST(FileDialog, AThreeBlockTableComesBack) {
    TempDir dir;
    std::string path = dir.file();
    RunResult first = runIn(dir, "x\n1\nx\n1\nf\nw\n");
    const std::string three = changed(3, 6308669, 110097319);
    expectOutputHolds(first.out, three + kTable + kOpen + writing(path) + out(3 * 1048576));
    std::string bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 3u * 1048576 + 24);
    RunResult second = runIn(dir, "f\nr\nx\n\n");
    expectOutput(second.out, tableMenuTranscript(kOpen + reading(path) + current(3, 6308669, 110097319) + kTable +
                                                 extendOpening(current(3, 6308669, 110097319)) + kExtendAsk));
    // Loading does not change the file.
    EXPECT_EQ(readFile(path), bytes);
}

TEST(FileDialog, AnswersThatEndTheDialog) {
    TempDir dir;
    RunResult r = runIn(dir, "f\ne\nf\nww\nf\nz\nf\n\n r\n");
    expectOutput(r.out, tableMenuTranscript(kOpen + kTable + kOpen + kTable + kOpen + kTable + kOpen + kFileMenu +
                                            missing(dir.file())));
}

TEST(FileDialog, AMissingFileKeepsTheTable) {
    TempDir dir;
    RunResult r = runIn(dir, "f\nr\nx\n\n");
    expectOutput(r.out,
                 tableMenuTranscript(kOpen + missing(dir.file()) + kTable + extendOpening(kStartTable) + kExtendAsk));
}

// Every damaged file is refused before the current table is given up.
TEST(FileDialog, DamagedFilesKeepTheTable) {
    TempDir source;
    runIn(source, "x\n1\nx\n1\nf\nw\n");
    const std::string good = readFile(source.file());
    ASSERT_EQ(good.size(), 3u * 1048576 + 24);  // three images and the trailer
    auto patched = [&](uint64_t word, uint64_t value) {
        std::string b = good;
        for (int i = 0; i < 8; ++i) b[8 * word + i] = static_cast<char>(value >> (8 * i));
        return b;
    };
    auto word = [&](uint64_t k) {
        uint64_t w = 0;
        for (int i = 7; i >= 0; --i) w = (w << 8) | static_cast<unsigned char>(good[8 * k + i]);
        return w;
    };
    auto swapped = [&](uint64_t a, uint64_t b) {
        std::string s = patched(a, word(b));
        for (int i = 0; i < 8; ++i) s[8 * b + i] = good[8 * a + i];
        return s;
    };
    const uint64_t second = 131072, third = 2 * 131072;  // first words of the images
    const uint64_t lastBitmapWord = 131070;               // within an image of 131072 words
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"truncated in a header", good.substr(0, 8 * (second + 2))},
        {"truncated in a bitmap", good.substr(0, 8 * (third + 1000))},
        {"no final image", patched(third + 131071, 12345)},
        {"final image in the middle", patched(second + 131071, ~uint64_t{0})},
        {"huge lastIndex", patched(second, uint64_t{1} << 62)},
        {"wrong baseWord", patched(third + 1, 131068 * 2 + 1)},
        {"wrong limit", patched(2, 36699251)},
        {"bytes after the end", good + std::string(8, '\0')},
        // The structure is right, the content is not.
        {"first bitmap word with one bit flipped", patched(3, word(3) ^ (uint64_t{1} << 40))},
        {"first bitmap word zeroed", patched(3, 0)},
        {"64th bitmap word with one bit flipped", patched(66, word(66) ^ 1)},
        {"last bitmap word of the second image flipped",
         patched(second + lastBitmapWord, word(second + lastBitmapWord) ^ (uint64_t{1} << 63))},
        {"last bitmap word of the last image zeroed", patched(third + lastBitmapWord, 0)},
        {"the trailer's tag changed", patched(3 * 131072, word(3 * 131072) + 1)},
        {"the trailer's length changed", patched(3 * 131072 + 1, word(3 * 131072 + 1) - 8)},
        {"the trailer cut short", good.substr(0, good.size() - 8)},
    };
    // Only the checksum sees these, as the file is read.
    const std::pair<const char*, std::string> checksumCases[] = {
        {"a bit flipped in the middle of a bitmap", patched(second + 70000, word(second + 70000) ^ (uint64_t{1} << 17))},
        {"two bitmap words swapped", swapped(1000, 2000)},
        {"the checksum changed", patched(3 * 131072 + 2, word(3 * 131072 + 2) ^ 1)},
    };
    for (bool read : {false, true}) {
        using Cases = std::span<const std::pair<const char*, std::string>>;
        for (const auto& [what, bytes] : read ? Cases(checksumCases) : Cases(cases)) {
            SCOPED_TRACE(what);
            TempDir dir;
            writeFile(dir.file(), bytes);
            RunResult r = runIn(dir, "f\nr\nx\n\n");
            expectOutput(r.out, tableMenuTranscript(kOpen + (read ? reading(dir.file()) : "") + notATable(dir.file()) +
                                                    kTable + extendOpening(kStartTable) + kExtendAsk));
            EXPECT_EQ(readFile(dir.file()), bytes);
        }
    }
}

// The smallest table: one bitmap word, 211 to 487, 47 primes beside the 46
// below 211. It loads; with one bit of its word flipped it is refused.
TEST(FileDialog, AFiveWordTableFile) {
    const uint64_t image[5] = {4, 0, 491, 0x40A02864244C110A, ~uint64_t{0}};
    std::string bytes(reinterpret_cast<const char*>(image), sizeof image);
    TempDir dir;
    writeFile(dir.file(), bytes);
    RunResult r = runIn(dir, "f\nr\nx\n\n");
    const std::string small = current(0, 93, 487);
    expectOutput(r.out,
                 tableMenuTranscript(kOpen + reading(dir.file()) + small + kTable + extendOpening(small) + kExtendAsk));
    bytes[8 * 3 + 7] ^= 0x40;  // position 1 in the word's last byte: 221 = 13 * 17 marked prime
    writeFile(dir.file(), bytes);
    r = runIn(dir, "f\nr\nx\n\n");
    expectOutput(r.out, tableMenuTranscript(kOpen + notATable(dir.file()) + kTable + extendOpening(kStartTable) +
                                            kExtendAsk));
}

TEST(FileDialog, ADirectoryNamedPrimeDat) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.file().c_str(), 0755), 0);
    RunResult r = runIn(dir, "f\nr\nf\nw\n");
    expectOutput(r.out,
                 tableMenuTranscript(kOpen + notATable(dir.file()) + kTable + kOpen + writing(dir.file()) + out(-1)));
    struct stat st {};
    ASSERT_EQ(stat(dir.file().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(dir.listing(), "prime.dat\n");
}

// Memory refused while loading: the blocks read so far are the table.
TEST(FileDialog, MemoryRefusedWhileLoading) {
    TempDir dir;
    runIn(dir, "x\n1\nx\n1\nf\nw\n");
    // The start block and one block of the file.
    RunResult r = runIn(dir, "f\nr\nx\n\n", {{"Q64_REFUSE_AFTER_BLOCKS=2"}});
    expectOutput(r.out, tableMenuTranscript(kOpen + reading(dir.file()) + kCannotRead + kStartTable + kTable +
                                            extendOpening(kStartTable) + kExtendAsk));
    // The start block and two: the limit is that of the second block.
    r = runIn(dir, "f\nr\n", {{"Q64_REFUSE_AFTER_BLOCKS=3"}});
    expectOutput(r.out, tableMenuTranscript(kOpen + reading(dir.file()) + kCannotRead + current(2, 4306019, 73398287)));
    // Not even the first block: no table.
    r = runIn(dir, "f\nr\nx\nf\nw\n", {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
    expectOutput(r.out, tableMenuTranscript(kOpen + reading(dir.file()) + kCannotRead + current(0, 0, 0) + kTable +
                                            kNoTable + kTable + kOpen + kNoTable));
    EXPECT_EQ(readFile(dir.file()).size(), 3u * 1048576 + 24);
}

// A save that fails keeps the old file whole and leaves no temporary file.
TEST(FileDialog, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string old = "an older prime.dat";
    for (const RunOptions& options : {RunOptions{{}, 512 * 1024},  // the file-size limit: a real failing write
                                      RunOptions{{"Q64_FAIL_FILE_OPS=create:0"}},
                                      RunOptions{{"Q64_FAIL_FILE_OPS=write:1"}},
                                      RunOptions{{"Q64_FAIL_FILE_OPS=sync:0"}},
                                      RunOptions{{"Q64_FAIL_FILE_OPS=close:0"}},
                                      RunOptions{{"Q64_FAIL_FILE_OPS=rename:0"}}}) {
        SCOPED_TRACE(options.environment.empty() ? "file size" : options.environment[0]);
        writeFile(dir.file(), old);
        RunResult r = runIn(dir, "x\n1\nf\nw\n", options);
        expectOutput(r.out, tableMenuTranscript(kExtendOne + kTable + kOpen + writing(dir.file()) + out(-1)));
        EXPECT_EQ(readFile(dir.file()), old);
        EXPECT_EQ(dir.listing(), "prime.dat\n");
    }
}

TEST(FileDialog, AFullPathThatCannotBeFormed) {
    TempDir dir;
    RunResult r = runIn(dir, "f\nw\nf\ne\n", {{"Q64_FAIL_FILE_OPS=fullpath:0"}});
    expectOutput(r.out, tableMenuTranscript(kOpen + "\nファイル操作出来ません。" + kTable + kOpen));
    EXPECT_EQ(dir.listing(), "");
}

// A directory deeper than the kernel's path length: the path is shown whole
// and the file is written and read beside the program.
TEST(FileDialog, AVeryLongPath) {
    TempDir dir;
    std::string deep = dir.path;
    const std::string level(250, 'q');
    for (int i = 0; i < 20; ++i) deep += "/" + level;
    // mkdir cannot take such a path whole: the levels are made from inside.
    int home = open(".", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(home, 0);
    bool made = chdir(dir.path.c_str()) == 0;
    for (int i = 0; made && i < 20; ++i) made = mkdir(level.c_str(), 0755) == 0 && chdir(level.c_str()) == 0;
    ASSERT_EQ(fchdir(home), 0);
    close(home);
    ASSERT_TRUE(made);
    ASSERT_GT(deep.size(), 4096u);
    std::string path = deep + "/prime.dat";
    RunResult r = runProgram(deep, tableMenuInput("f\nw\nf\nr\n"));
    expectOutput(r.out, tableMenuTranscript(kOpen + writing(path) + out(1048576) + kTable + kOpen + reading(path) +
                                            kStartTable));
}

TEST(FileDialog, SavingWithoutATable) {
    TempDir dir;
    RunResult r = runIn(dir, "b\n0\ny\nf\nw\n");
    expectOutputHolds(r.out, kRebuildFailed + kTable + kOpen + kNoTable + kTable);
    EXPECT_EQ(dir.listing(), "");
}

}  // namespace
