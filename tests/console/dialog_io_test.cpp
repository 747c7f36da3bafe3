// The dialog building blocks: the token loop on lineBuf, number texts, and
// reading answer lines from a scripted standard input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/dialog_io.h"
#include "q64/m2_scratch.h"
#include "tests/console/console_test_support.h"

namespace {

// Puts a line into lineBuf as an answer after the prompt: cut at the first
// control byte, blanks and tabs skipped.
void setLine(const char* line) {
    std::strncpy(console.lineBuf, line, sizeof console.lineBuf - 1);
    console.lineBuf[sizeof console.lineBuf - 1] = '\0';
    console.lineBuf[std::strcspn(console.lineBuf, "\t\r\n")] = '\0';
    console.cursor = console.lineBuf + std::strspn(console.lineBuf, " ");
}

std::vector<std::string> numbers;
void collect() { numbers.push_back(decimalText(console.inValue)); }

std::vector<std::string> numbersOf(const char* line, bool* complete) {
    numbers.clear();
    setLine(line);
    *complete = forEachNumber(collect);
    return numbers;
}

using List = std::vector<std::string>;

TEST(DialogIo, TokenLoop) {
    bool complete = false;
    EXPECT_EQ(numbersOf("  17", &complete), List{"17"});
    EXPECT_TRUE(complete);
    EXPECT_EQ(numbersOf("0017 2  3 ", &complete), (List{"17", "2", "3"}));
    EXPECT_TRUE(complete);
    EXPECT_EQ(numbersOf("17 x 19", &complete), List{"17"});
    EXPECT_FALSE(complete);
    EXPECT_EQ(numbersOf("17,19", &complete), List{});
    EXPECT_FALSE(complete);
    EXPECT_EQ(numbersOf("+17", &complete), List{});
    EXPECT_FALSE(complete);
    EXPECT_EQ(numbersOf("17\t19", &complete), List{"17"});  // the tab ends the line
    EXPECT_TRUE(complete);
    EXPECT_EQ(numbersOf("340282366920938463463374607431768211455 "
                        "340282366920938463463374607431768211456 5",
                        &complete),
              List{"340282366920938463463374607431768211455"});
    EXPECT_FALSE(complete);  // 2^128 is a bad token
    EXPECT_EQ(numbersOf("0000000000000000000000000000000000000007", &complete), List{"7"});
    EXPECT_EQ(numbersOf("e", &complete), List{});
    EXPECT_FALSE(complete);
}

TEST(DialogIo, ExitAndConfirmationAnswers) {
    setLine(" e");
    EXPECT_TRUE(answerIs('e'));
    setLine("e ");
    EXPECT_FALSE(answerIs('e'));  // "e" only as the whole rest of the line
    setLine("E");
    EXPECT_FALSE(answerIs('e'));
    setLine("y");
    EXPECT_TRUE(answerIs('y'));
    setLine("yes");
    EXPECT_FALSE(answerIs('y'));
    char key = 0;
    setLine("\x82\x50");  // a full-width digit is two bytes
    EXPECT_FALSE(answerIsOneByte(&key));
    setLine("a");
    EXPECT_TRUE(answerIsOneByte(&key));
    EXPECT_EQ(key, 'a');
}

TEST(DialogIo, DecimalTextUsesAScratchBlockOrShowsAQuestionMark) {
    const int64_t before = _2_left();
    EXPECT_STREQ(decimalText(Q2Value{0, 1}), "18446744073709551616");
    EXPECT_EQ(_2_left(), before);  // the block is given back
    // With less than 8 words of scratch left the text cannot be built.
    uint64_t* hog = _2_alocs(static_cast<uint64_t>(before) - 8);
    ASSERT_NE(hog, nullptr);
    EXPECT_STREQ(decimalText(Q2Value{42, 0}), "?");
    _2_frees();
    EXPECT_EQ(_2_left(), before);
}

// readAnswer on a scripted standard input, in a child process, since the end
// of input is remembered for the rest of the process.
TEST(DialogIoDeathTest, ReadAnswerAndTheEndOfInput) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::FILE* in = std::tmpfile();
            std::fputs("\n \t x\n   \t\n  12 3\nlast", in);
            std::rewind(in);
            dup2(fileno(in), fileno(stdin));
            bool ok = true;
            std::string shown = console_test::captureStdout([&] {
                ok &= readAnswer("P>");  // skips the empty line and the line cut at its tab
                ok &= std::strcmp(console.cursor, "12 3") == 0;
                ok &= readAnswer("Q>") && std::strcmp(console.cursor, "last") == 0;
                ok &= !readAnswer("R>") && answerIs('e');
                ok &= !readAnswer("S>") && answerIs('e');  // and again: it never loops
            });
            ok &= shown == "\nP>\nP>\nP>\nP>\nQ>\nR>\nS>";
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
