// Answer-line scanning and byte copying of module _0_.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "q64/m0_utilities.h"

namespace {

TEST(TextScan, SchtozrCutsAtFirstControlByteOnly) {
    char line[] = "17 \x82\x50\x81\x40x\t19\n";  // Shift-JIS bytes are not control bytes
    EXPECT_EQ(_0_schtozr(line, 0), 8u);
    EXPECT_STREQ(line, "17 \x82\x50\x81\x40x");
    char cr[] = "abc\rdef";
    EXPECT_EQ(_0_schtozr(cr, 0), 3u);
    EXPECT_STREQ(cr, "abc");
    char escape[] = "a\x1b" "b";
    EXPECT_EQ(_0_schtozr(escape, 0), 1u);
    char space[] = "a b\x1f";  // 31 is the last control byte, 32 is not one
    EXPECT_EQ(_0_schtozr(space, 0), 3u);
}

TEST(TextScan, SchtozrWritesTheGivenByteOverTheNul) {
    char text[8] = "ab";
    EXPECT_EQ(_0_schtozr(text, 'X'), 2u);
    EXPECT_EQ(text[2], 'X');
    EXPECT_EQ(_0_schtozr(text + 3, 0), 0u);  // an empty text: the NUL itself
}

TEST(TextScan, NextchSkipsBlanksAndTabsOnly) {
    const char* text = " \t \t1";
    EXPECT_EQ(_0_nextch(text), text + 4);
    const char* other = " \r1";
    EXPECT_EQ(_0_nextch(other), other + 1);
    const char* blanks = "  ";
    EXPECT_EQ(_0_nextch(blanks), blanks + 2);
    const char* wide = "\x81\x40";  // the full-width blank is an ordinary byte pair
    EXPECT_EQ(_0_nextch(wide), wide);
}

TEST(TextScan, StrlenAndStrcmp) {
    EXPECT_EQ(_0_strlen(""), 0u);
    EXPECT_EQ(_0_strlen("e\x82\xa0"), 3u);
    EXPECT_EQ(_0_strcmp("", ""), 0);
    EXPECT_EQ(_0_strcmp("abc", "abc"), 0);
    EXPECT_EQ(_0_strcmp("abc", "abd"), -1);
    EXPECT_EQ(_0_strcmp("ab", "abc"), -1);
    EXPECT_EQ(_0_strcmp("abc", "ab"), -1);
    EXPECT_EQ(_0_strcmp("b", "a"), -1);  // no order, only equal or not
}

TEST(TextScan, StrcharStopsAtTheByteOrTheNul) {
    EXPECT_EQ(_0_strchar("17 19", ' '), 2u);
    EXPECT_EQ(_0_strchar("1719", ' '), 4u);
    EXPECT_EQ(_0_strchar(" 1", ' '), 0u);
    EXPECT_EQ(_0_strchar("a\x82\x50", 0x82), 1u);   // compared as unsigned bytes
    EXPECT_EQ(_0_strchar("a\x82\x50", 0x182), 1u);  // only the low 8 bits of k count
}

TEST(TextScan, ScanchLooksAtExactlyNBytes) {
    const char area[] = {'a', 'b', '\0', 'c', 'b'};
    EXPECT_EQ(_0_scanch(area, 5, 'c'), 3u);  // a NUL does not stop it
    EXPECT_EQ(_0_scanch(area, 3, 'c'), 3u);  // no match: n
    EXPECT_EQ(_0_scanch(area, 1, 'a'), 0u);
    EXPECT_EQ(_0_scanch(area, 5, 'z'), 5u);
    const char high[] = {'\x10', '\xfc'};
    EXPECT_EQ(_0_scanch(high, 2, 0xfc), 1u);
}

TEST(TextCopy, StrcpychCopiesThroughTheEndByte) {
    char dst[16];
    std::memset(dst, '#', sizeof dst);
    EXPECT_EQ(_0_strcpych(dst, "2^3 * 5", '*'), 5u);
    EXPECT_EQ(std::string(dst, 6), "2^3 *#");
    EXPECT_EQ(_0_strcpych(dst, "abc", 0), 4u);
    EXPECT_STREQ(dst, "abc");
    // A text without the end byte stops at its NUL, which is copied.
    std::memset(dst, '#', sizeof dst);
    EXPECT_EQ(_0_strcpych(dst, "ab", '*'), 3u);
    EXPECT_EQ(std::string(dst, 4), std::string("ab\0#", 4));
}

TEST(TextCopy, ChsetAndClearTouchOnlyNItems) {
    char bytes[6] = "abcde";
    EXPECT_EQ(_0_chset(bytes + 1, 3, '0'), 3u);
    EXPECT_STREQ(bytes, "a000e");
    uint64_t words[4] = {1, 2, 3, 4};
    EXPECT_EQ(_0_clear(words + 1, 2), 2u);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 0u);
    EXPECT_EQ(words[2], 0u);
    EXPECT_EQ(words[3], 4u);
}

}  // namespace
