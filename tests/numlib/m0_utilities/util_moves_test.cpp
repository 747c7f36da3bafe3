// Word moves, byte moves and edits, rotation and reversal, and byte scans.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "q64/m0_utilities.h"

namespace {

using Words = std::vector<uint64_t>;

TEST(UtilWordMoves, CompressingDropsZeroWords) {
    Words a{0, 0, 7, 9};
    EXPECT_EQ(_0_cprslmem(a.data(), 4), 2u);
    EXPECT_EQ(a, (Words{7, 9, 7, 9}));
    Words zeros{0, 0, 0};
    EXPECT_EQ(_0_cprslmem(zeros.data(), 3), 0u);
    Words m{0, 5, 0};
    EXPECT_EQ(_0_cprsmmem(m.data(), 3), 1u);
    EXPECT_EQ(m[0], 5u);
    EXPECT_EQ(_0_cprsrmem(Words{4, 0, 0}.data(), 3), 1u);
    EXPECT_EQ(_0_cprsrmem(Words{0, 0}.data(), 2), 0u);
    EXPECT_EQ(_0_cprsmmem(Words{0, 0}.data(), 2), 0u);
}

TEST(UtilWordMoves, ExpandingOpensZeroWordsInFront) {
    Words a{1, 2, 99, 99};
    EXPECT_EQ(_0_expdnmem(a.data(), 2, 2), 4u);
    EXPECT_EQ(a, (Words{0, 0, 1, 2}));
    Words b{1, 2, 3, 99};
    EXPECT_EQ(_0_expd1mem(b.data(), 3), 4u);
    EXPECT_EQ(b, (Words{0, 1, 2, 3}));
    Words c{1, 2, 3};
    EXPECT_EQ(_0_prs1mem(c.data(), 3), 2);
    EXPECT_EQ(c, (Words{2, 3, 3}));
    EXPECT_EQ(_0_prs1mem(c.data(), 0), -1);
}

TEST(UtilWordMoves, CopiesAreSafeForTheOverlapsTheyAllow) {
    Words a{1, 2, 3, 4, 5};
    EXPECT_EQ(_0_cpymem(a.data() + 1, a.data(), 4), 4u);  // destination above the source
    EXPECT_EQ(a, (Words{1, 1, 2, 3, 4}));
    EXPECT_EQ(_0_cpymem(a.data(), a.data() + 1, 0), 0u);
    Words b{1, 2, 3, 4, 5};
    EXPECT_EQ(_0_sftlmem(b.data() + 2, 3, 2), 2u);  // destination below the source
    EXPECT_EQ(b, (Words{3, 4, 5, 4, 5}));
    Words dst(3, 77);
    EXPECT_EQ(_0_cpynzmem(dst.data(), Words{0, 6, 0}.data(), 3), 2);
    EXPECT_EQ(dst, (Words{6, 0, 77}));
    EXPECT_EQ(_0_cpynzmem(dst.data(), Words{0, 0}.data(), 2), 0);
    EXPECT_EQ(_0_cpynzmem(dst.data(), Words{1}.data(), 0), -1);
    EXPECT_EQ(dst, (Words{6, 0, 77}));
    uint64_t x = 1, y = 2;
    _0_xchg(&x, &y);
    EXPECT_EQ(x, 2u);
    EXPECT_EQ(y, 1u);
}

TEST(UtilBytes, ShiftsAndInsertions) {
    char s[16] = "abcdef";
    EXPECT_EQ(_0_strsftr(s, 3, 2), s + 2);
    EXPECT_EQ(std::string(s, 6), "ababcf");
    EXPECT_EQ(_0_strsftl(s + 2, 3, 2), s);
    EXPECT_EQ(std::string(s, 6), "abcbcf");
    char t[16] = "xyz";
    EXPECT_EQ(_0_strsftr1ch(t, 4, '-'), 5u);  // the NUL moves along
    EXPECT_STREQ(t, "-xyz");
    char u[16] = "held";
    EXPECT_EQ(_0_isrtch(u, 5, 2, 'l'), 4);
    EXPECT_STREQ(u, "helld");
    EXPECT_EQ(_0_isrtch(u, 6, 7, 'x'), -1);
    EXPECT_STREQ(u, "helld");
    char v[16] = "42";
    EXPECT_EQ(_0_isrtchars(v, 3, '0', 3), 6);
    EXPECT_STREQ(v, "00042");
    EXPECT_EQ(_0_isrtchars(v, 6, '0', 0), -1);
    EXPECT_EQ(_0_isrtchars(v, 6, '0', -2), -1);
    EXPECT_STREQ(v, "00042");
    char c[16];
    EXPECT_EQ(_0_strcpy(c, "copy", 5), 5u);
    EXPECT_STREQ(c, "copy");
}

TEST(UtilBytes, TrimmingMovesUpToTheEndByte) {
    char s[16] = "   12;rest";
    EXPECT_EQ(_0_cprstr(s, ';'), 3u);
    EXPECT_EQ(std::string(s, 4), "12;1");  // bytes behind them stay
    char t[16] = "ab;";
    EXPECT_EQ(_0_cprstr(t, ';'), 3u);
    EXPECT_STREQ(t, "ab;");
    char u[8] = "  ";
    EXPECT_EQ(_0_cprstr(u, '\0'), 1u);
    EXPECT_STREQ(u, "");
}

std::vector<char> bytes(int n) {
    std::vector<char> v(static_cast<size_t>(n));
    std::iota(v.begin(), v.end(), 1);
    return v;
}

TEST(UtilBytes, ReversalOfElements) {
    std::vector<char> a = bytes(10);
    EXPECT_EQ(_0_xchgar(a.data(), 10, 4), -1);  // 10 is no multiple of 4
    EXPECT_EQ(_0_xchgar(a.data(), 10, 3), -1);
    EXPECT_EQ(_0_xchgar(a.data(), 10, 0), -1);
    EXPECT_EQ(a, bytes(10));
    std::vector<char> b = bytes(6);
    EXPECT_EQ(_0_xchgar(b.data(), 6, 2), 0);
    EXPECT_EQ(b, (std::vector<char>{5, 6, 3, 4, 1, 2}));
    std::vector<char> c = bytes(5);
    EXPECT_EQ(_0_xchgar(c.data(), 5, 1), 0);
    EXPECT_EQ(c, (std::vector<char>{5, 4, 3, 2, 1}));
    std::vector<char> d = bytes(48);
    EXPECT_EQ(_0_xchgar(d.data(), 48, 16), 0);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(d[i], 33 + i);
        EXPECT_EQ(d[16 + i], 17 + i);
        EXPECT_EQ(d[32 + i], 1 + i);
    }
    std::vector<char> e = bytes(16);
    EXPECT_EQ(_0_xchgar(e.data(), 16, 8), 0);
    EXPECT_EQ(e[0], 9);
    EXPECT_EQ(e[8], 1);
    std::vector<char> one = bytes(8);
    EXPECT_EQ(_0_xchgar(one.data(), 8, 8), 0);  // a single element stays
    EXPECT_EQ(one, bytes(8));
    EXPECT_EQ(_0_xchgar(one.data(), 0, 4), 0);
    std::vector<char> partial = bytes(10);  // the sized routines leave a tail alone
    EXPECT_EQ(_0_xchgar4(partial.data(), 10), 0);
    EXPECT_EQ(partial, (std::vector<char>{5, 6, 7, 8, 1, 2, 3, 4, 9, 10}));
}

// Rotation right by k against the obvious construction.
std::vector<char> rotated(std::vector<char> v, size_t k) {
    std::rotate(v.begin(), v.end() - static_cast<long>(k), v.end());
    return v;
}

TEST(UtilBytes, RotationAtTheEdgesOfBothCases) {
    std::vector<char> a = bytes(8);
    EXPECT_EQ(_0_rolr(a.data(), 8, 3), 0);
    EXPECT_EQ(a, (std::vector<char>{6, 7, 8, 1, 2, 3, 4, 5}));
    a = bytes(8);
    EXPECT_EQ(_0_rolr(a.data(), 8, 8), -1);  // k not below n
    EXPECT_EQ(_0_rolr(a.data(), 40, 17), -1);
    EXPECT_EQ(a, bytes(8));
    for (int n : {1, 2, 9, 17, 40}) {
        for (int k : {0, 1, 8, 9, 16, n - 1}) {
            if (k >= n || k > 16) continue;
            SCOPED_TRACE(::testing::Message() << "n " << n << " k " << k);
            std::vector<char> v = bytes(n + 2);  // two guard bytes behind the area
            ASSERT_EQ(_0_rolr(v.data(), static_cast<uint64_t>(n), static_cast<uint64_t>(k)), 0);
            std::vector<char> expect = rotated(bytes(n), static_cast<size_t>(k));
            expect.push_back(static_cast<char>(n + 1));
            expect.push_back(static_cast<char>(n + 2));
            ASSERT_EQ(v, expect);
        }
    }
    std::vector<char> b = bytes(9);
    EXPECT_EQ(_0_rolr8(b.data(), 9, 9), -1);
    EXPECT_EQ(_0_rolr16(b.data(), 9, 10), -1);
    EXPECT_EQ(_0_rolr16(b.data(), 9, 9), 0);  // k = n: the whole area, unchanged
    EXPECT_EQ(b, bytes(9));
}

TEST(UtilBytes, StoresOfLowAndHighBytes) {
    char s[10] = "#########";
    EXPECT_EQ(_0_stolreg(s, 0x4847464544434241u, 3), 0);
    EXPECT_EQ(std::string(s, 4), "ABC#");
    EXPECT_EQ(_0_storeg(s, 0x4847464544434241u, 3), 0);
    EXPECT_EQ(std::string(s, 4), "FGH#");
    EXPECT_EQ(_0_storeg(s, 0x4847464544434241u, 8), 0);
    EXPECT_EQ(std::string(s, 9), "ABCDEFGH#");
    EXPECT_EQ(_0_stolreg(s, 0x3030303030303030u, 0), -1);
    EXPECT_EQ(_0_storeg(s, 0x3030303030303030u, 9), -1);
    EXPECT_EQ(std::string(s, 9), "ABCDEFGH#");
}

TEST(UtilScan, DigitsEndBytesAndCaseBlindSearch) {
    EXPECT_EQ(_0_scanmch("abc,d", ','), 3u);
    EXPECT_EQ(_0_scanmch("abc", '\0'), 3u);
    EXPECT_EQ(_0_chnum("0123456789", 10), 0);
    EXPECT_EQ(_0_chnum("12a", 3), -1);
    EXPECT_EQ(_0_chnum("12a", 2), 0);
    EXPECT_EQ(_0_chnum("/:", 1), -1);  // the bytes around the digits
    EXPECT_EQ(_0_chnum(":", 1), -1);
    EXPECT_EQ(_0_scanchnum("123;", 4, ';'), 3);
    EXPECT_EQ(_0_scanchnum("12x;", 4, ';'), -1);
    EXPECT_EQ(_0_scanchnum("1234", 3, ';'), 3);
    EXPECT_EQ(_0_scanchnum(";", 1, ';'), 0);
    const char text[] = "xQyq";
    EXPECT_EQ(_0_scanatoz(text, 4, 'q'), 1u);
    EXPECT_EQ(_0_scanatoz(text, 4, 'Q'), 1u);
    EXPECT_EQ(_0_scanratoz(text, 4, 'Q'), 3);
    EXPECT_EQ(_0_scanratoz(text, 2, 'q'), 1);
    EXPECT_EQ(_0_scanatoz(text, 4, 'z'), 4u);
    EXPECT_EQ(_0_scanratoz(text, 4, 'z'), -1);
    EXPECT_EQ(_0_scanatoz("\x81\xA1", 2, 0xA1), 1u);  // bytes compare unsigned
    EXPECT_EQ(_0_cntchr("0001"), 3u);
    EXPECT_EQ(_0_cntchr("a"), 1u);
    EXPECT_EQ(_0_cntchr(""), 0u);
}

}  // namespace
