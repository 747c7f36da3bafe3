// The console with --utf8 prints the same transcript as without it, its
// Japanese texts in UTF-8 instead of CP932: every dialog, the messages that
// carry numbers and paths, and the table sub-menu.
#include <gtest/gtest.h>

#include <string>

#include "tests/console/console_test_support.h"
#include "tests/console/program_run.h"

namespace {

using namespace console_test;

struct Script {
    const char* what;
    const char* input;
};

const Script kScripts[] = {
    {"the four questions",
     "1\n97 91 2305843009213693951 abc\n2\n0 5 99999999\ne\n3\n36699200 3\n10 200\nn\ne\n4\n360 0\ne\ne\n"},
    {"the table sub-menu", "a\nx\n1\nb\n3000000\nn\nf\nr\nf\nw\nf\nr\ne\ne\n"},
};

TEST(Utf8Mode, TranscriptsDecodeToTheCp932Ones) {
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.what);
        TempDir cp932Dir, utf8Dir;
        RunResult plain = runProgram(cp932Dir.path, script.input);
        RunResult wide = runProgram(utf8Dir.path, script.input, withArguments({"--utf8"}));
        ASSERT_EQ(plain.status, 0) << plain.err;
        ASSERT_EQ(wide.status, 0) << wide.err;
        // The same bytes but for the encoding; the file dialog's full paths
        // name two different directories.
        std::string expected = utf8(plain.out);
        for (size_t at = expected.find(cp932Dir.path); at != std::string::npos;
             at = expected.find(cp932Dir.path, at + 1))
            expected.replace(at, cp932Dir.path.size(), utf8Dir.path);
        EXPECT_EQ(wide.out, expected);
        EXPECT_NE(wide.out.find("素数"), std::string::npos);
    }
}

TEST(Utf8Mode, TheLastEncodingOptionCounts) {
    TempDir dir;
    RunResult run = runProgram(dir.path, "e\n", withArguments({"--utf8", "--cp932"}));
    EXPECT_EQ(run.out, cp932(utf8(run.out)));
    expectOutputHolds(run.out, "おわり");
}

}  // namespace
