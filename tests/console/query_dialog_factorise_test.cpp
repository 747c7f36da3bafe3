// Transcripts of the factorisation dialog (main menu "4"), and its text when
// no scratch block is left.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "console/query_text.h"
#include "q64/m2_scratch.h"
#include "tests/console/console_test_support.h"
#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string& kHeading = kFactoriseHeading;
const std::string& kPrompt = kFactorisePrompt;

const std::string kRefused = "\n素因数または桁数が範囲外です、素因数分解出来ません！！！";

std::string answer(const std::string& n, const std::string& text) { return "\n" + n + " ＝ " + text; }

TEST(FactoriseDialog, FactorTexts) {
    expectOnStartTable("4\n360 x 9\n0 1 2 4 6 9 27\ne\ne\n",
                     kMain + kHeading + kPrompt + answer("360", "2^3 * 3^2 * 5") + kPrompt + answer("0", "") +
                         kRefused + answer("1", "") + kRefused + answer("2", "素数です") + answer("4", "2^2") +
                         answer("6", "2 * 3") + answer("9", "3^2") + answer("27", "3^3") + kPrompt + kMain);
}

TEST(FactoriseDialog, TheTableDecidesWhatIsRefused) {
    // 2^127 and P^2 are factorised; P times the next prime, the first prime
    // above P^2 and twice the prime 2^64 + 13 are refused; the last prime
    // below P^2 is a prime.
    expectOnStartTable("4\n170141183460469231731687303715884105728 1346833702788289 1346834363374483\n"
                     "1346833702788199 1346833702788341 36893488147419103258\ne\ne\n",
                     kMain + kHeading + kPrompt + answer("170141183460469231731687303715884105728", "2^127") +
                         answer("1346833702788289", "36699233^2") + answer("1346834363374483", "") + kRefused +
                         kPrompt + answer("1346833702788199", "素数です") + answer("1346833702788341", "") +
                         kRefused + answer("36893488147419103258", "") + kRefused + kPrompt + kMain);
}

TEST(FactoriseDialog, OnlyTheWholeLineELeaves) {
    expectOnStartTable("4\ne \n12 e\n e\ne\n",
                     kMain + kHeading + kPrompt + kPrompt + answer("12", "2^2 * 3") + kPrompt + kMain);
}

TEST(FactoriseDialog, TextIsAQuestionMarkWithoutScratch) {
    FactorList list;
    list.header = FACTOR_LIST_STARTED | 3;
    list.word[0] = 2;
    list.word[1] = 2;
    list.word[2] = 5;
    const int64_t before = _2_left();
    EXPECT_EQ(console_test::captureStdout([&] { sayFactorisation(&list); }), "2^2 * 5");
    EXPECT_EQ(_2_left(), before);  // the block is given back
    // Room for a number's 8 words but not for the 32 of a factor text.
    ASSERT_NE(_2_alocs(static_cast<uint64_t>(before) - 20), nullptr);
    EXPECT_EQ(console_test::captureStdout([&] { sayFactorisation(&list); }), "?");
    _2_frees();
    EXPECT_EQ(_2_left(), before);
}

}  // namespace
