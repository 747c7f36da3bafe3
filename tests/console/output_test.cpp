// The console's formatter: %I64d and %s, everything else byte for byte.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "console/output.h"
#include "console/texts_cp932.h"
#include "tests/console/console_test_support.h"

namespace {

using console_test::captureStdout;

TEST(Output, SignedDecimals) {
    EXPECT_EQ(captureStdout([] { say("%I64d|%I64d|%I64d", int64_t{0}, int64_t{-1}, int64_t{42}); }),
              "0|-1|42");
    EXPECT_EQ(captureStdout([] { say("[%I64d %I64d]", INT64_MIN, INT64_MAX); }),
              "[-9223372036854775808 9223372036854775807]");
    // A count above 2^63 shows as the negative number it is when signed.
    EXPECT_EQ(captureStdout([] { say("%I64d", static_cast<int64_t>(UINT64_MAX - 4)); }), "-5");
}

TEST(Output, TextsAndPlainBytes) {
    const char* empty = "";
    EXPECT_EQ(captureStdout([&] { say("<%s>%s", empty, "abc"); }), "<>abc");
    EXPECT_EQ(captureStdout([] { say("no conversions\n"); }), "no conversions\n");
    // A conversion at the very start and end, and formats next to each other.
    EXPECT_EQ(captureStdout([] { say("%s%I64d%s", "a", int64_t{7}, "b"); }), "a7b");
}

TEST(Output, CatalogueFormats) {
    std::string line = captureStdout(
        [] { say(text::statisticsAtStart, int64_t{1}, int64_t{2244426}, int64_t{36699233}); });
    EXPECT_EQ(line, console_test::cp932(
                        "\n素数テーブルのサイズ = 1 MB, 素数の個数 = 2244426  素数の最大値 = 36699233"));
    EXPECT_EQ(captureStdout([] { say(text::promptFormat, text::mainMenu); }),
              "\n" + std::string(text::mainMenu));
    EXPECT_EQ(captureStdout([] { sayPlain(text::openingLine); }), std::string(text::openingLine));
}

}  // namespace
