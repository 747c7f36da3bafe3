// Start-up and shut-down in-process: the first table and the release of every
// block of the chain. Each runs in a child process, since it changes the
// console's state and reads standard input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "console/console_state.h"
#include "console/lifecycle.h"
#include "platform/memory.h"
#include "tests/console/console_test_support.h"

namespace {

void emptyStdin() {
    std::FILE* in = std::tmpfile();
    dup2(fileno(in), fileno(stdin));
}

TEST(LifecycleDeathTest, StartUpBuildsTheFirstTableAndShutDownReleasesIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            emptyStdin();
            bool ok = true;
            console_test::captureStdout([&] {
                startUp();
                ok &= platform::liveBlockCount() == 1 && console.tableHead != nullptr;
                ok &= console.newestBlock == console.tableHead;
                ok &= console.tableQwords == 131072 && console.primeCount == 2244426;
                ok &= console.primeMax == 36699233;
                ok &= console.queryLimit.lo == 1346833702788289u && console.queryLimit.hi == 0;
                shutDown();
            });
            ok &= platform::liveBlockCount() == 0 && console.tableHead == nullptr;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(LifecycleDeathTest, ShutDownWalksTheWholeChain) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            emptyStdin();
            // Three linked blocks of 5, 6 and 7 words: lastIndex in word 0,
            // the next block's address in the last word.
            TableBlock* blocks[3];
            for (int i = 0; i < 3; ++i) {
                uint64_t words = 5 + i;
                blocks[i] = static_cast<TableBlock*>(platform::commitBlock(words * 8));
                blocks[i][0] = words - 1;
            }
            for (int i = 0; i < 3; ++i)
                blocks[i][blocks[i][0]] = i < 2 ? reinterpret_cast<uint64_t>(blocks[i + 1]) : ~uint64_t{0};
            console.tableHead = blocks[0];
            bool ok = platform::liveBlockCount() == 3;
            console_test::captureStdout(shutDown);
            ok &= platform::liveBlockCount() == 0;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
