// Shared pieces of the transcripts of the four prime questions: the start of
// every run, the menu line and the end, with the 1 MB start table (largest
// prime 36699233, 2244426 primes, query limit 36699233^2).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/console/console_test_support.h"

namespace query_dialog {

inline const std::string kStart = "（６４＋α）ビット数値で素数処理を行います!\n"
                                  "\nsta " + console_test::kMaskedStamp +
                                  "\n素数テーブルのサイズ = 1 MB, 素数の個数 = 2244426  素数の最大値 = 36699233";
inline const std::string kMain =
    "\n1:素数判定 2:ｎ番目の素数 3:素数検索 4:素因数分解 a:素数テーブル操作 e:終了 ->";
inline const std::string kEnd = "\nおわり\nend " + console_test::kMaskedStamp;

// Runs the program on `input` (a menu key and the dialog's lines) and
// compares the whole output with start + `expectedUtf8` + end.
inline void expectTranscript(const std::string& input, const std::string& expectedUtf8) {
    console_test::Run run = console_test::runProgram(input);
    EXPECT_EQ(run.status, 0);
    std::string got = console_test::maskTimeStamps(run.out);
    std::string want = console_test::cp932(kStart + expectedUtf8 + kEnd);
    EXPECT_EQ(got, want) << "got:\n" << console_test::utf8(got) << "\nwanted:\n" << kStart + expectedUtf8 + kEnd;
}

}  // namespace query_dialog
