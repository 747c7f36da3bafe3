// Whole-program transcripts: the menus, answer-line reading and shut-down,
// compared byte for byte (time stamps masked) with the CP932 of the expected
// UTF-8 texts below.
#include <gtest/gtest.h>

#include <string>

#include "tests/console/console_test_support.h"

namespace {

using console_test::cp932;
using console_test::kMaskedStamp;

const std::string kStart = "（６４＋α）ビット数値で素数処理を行います!\n"
                           "\nsta " + kMaskedStamp +
                           "\n素数テーブルのサイズ = 1 MB, 素数の個数 = 2244426  素数の最大値 = 36699233";
const std::string kMain =
    "\n1:素数判定 2:ｎ番目の素数 3:素数検索 4:素因数分解 a:素数テーブル操作 e:終了 ->";
const std::string kTableHeader = "\n素数テーブルを操作して、より大きな素数の取扱い、操作性を改善する";
const std::string kTable = "\nb:再作成 x:拡張 f:ファイル操作 e:終了 ->";
const std::string kEnd = "\nおわり\nend " + kMaskedStamp;

// Each dialog's opening lines up to its first prompt; with the 1 MB start
// table the query limit is 36699233 squared. Each is left with "e".
const std::string kStatisticsNow =
    "\n現素数テーブルのサイズ = 1, 素数の個数 = 2244426  素数の最大値 = 36699233";
const std::string kPrimeTest =
    "\n素数判定を行います(1346833702788289を超える素数判定は不可)\n判定する数値('e'で終了)->";
const std::string kNthPrime = "\nｎ番目の素数を求める 最大値 ＝ 2244426\n番号ｎ('e'で終了)->";
const std::string kNextPrimes =
    "\n指定数値より大きな素数を検索する(1346833702788289 を超える素数は不可)\n指定数値 個数 'e'で終了)->";
const std::string kFactorise = "\n数値を素因数分解する 最大値 = 1346833702788289\n数値('e'で終了)->";
const std::string kExtend =
    "\n素数テーブルを拡張します" + kStatisticsNow + "\n素数テーブルを拡張するサイズ(単位:ＭＢ)->";
const std::string kRebuild =
    "\n素数テーブルを再作成します" + kStatisticsNow + "\n再作成する素数テーブルのサイズ(単位:ＭＢ)->";
const std::string kFile =
    "\n素数テーブルのファイル操作"
    "\nw:素数テーブルをファイルに出力 r:ファイルから素数テーブルを読込み e:終了 ->";

void expectTranscript(const std::string& input, const std::string& expectedUtf8,
                      const std::string& environment = "") {
    console_test::Run run = console_test::runProgram(input, environment);
    EXPECT_EQ(run.status, 0);
    std::string got = console_test::maskTimeStamps(run.out);
    std::string want = cp932(expectedUtf8);
    EXPECT_EQ(got, want) << "got:\n" << console_test::utf8(got) << "\nwanted:\n" << expectedUtf8;
}

std::string repeat(const std::string& s, int n) {
    std::string r;
    while (n-- > 0) r += s;
    return r;
}

TEST(Transcript, StartAndEnd) { expectTranscript("e\n", kStart + kMain + kEnd); }

TEST(Transcript, MainMenuKeysRunTheirDialogs) {
    expectTranscript("1\ne\n2\ne\n3\ne\n4\ne\ne\n",
                     kStart + kMain + kPrimeTest + kMain + kNthPrime + kMain + kNextPrimes + kMain +
                         kFactorise + kMain + kEnd);
}

TEST(Transcript, TableMenuHeaderOnlyOnEntry) {
    // Keys, an unknown key and an empty line repeat only the prompt; "e" goes
    // back to the main menu, and a new "a" shows the header again.
    expectTranscript("a\nx\ne\nb\ne\nf\ne\nz\n\ne\na\ne\ne\n",
                     kStart + kMain + kTableHeader + kTable + kExtend + kTable + kRebuild + kTable +
                         kFile + kTable + kTable + kTable + kMain + kTableHeader + kTable + kMain +
                         kEnd);
}

TEST(Transcript, BlanksTabsAndLineEnds) {
    // "   1": leading blanks are skipped. "\t2" and " \t3": a tab cuts the line
    // before the blanks are skipped, so both are empty. "1\tjunk 4": the tab
    // ends the line after the key. "1 " is two bytes and no key. "2\r\n": the
    // carriage return ends the line. Each dialog is left with "e".
    expectTranscript("   1\ne\n\t2\n \t3\n1\tjunk 4\ne\n1 \n2\r\ne\ne\n",
                     kStart + kMain + kPrimeTest + kMain + kMain + kMain + kPrimeTest + kMain +
                         kMain + kNthPrime + kMain + kEnd);
}

TEST(Transcript, OnlyExactKeysCount) {
    // Upper-case E and A, a full-width 1 (two bytes), a half-width katakana
    // (one byte that is no key), "12", "ee" and a blank line are all ignored.
    expectTranscript(cp932("E\nA\n１\nｱ\n12\nee\n   \ne\n"), kStart + repeat(kMain, 8) + kEnd);
}

TEST(Transcript, LongLinesAreReadInPiecesOf127Bytes) {
    // 127 blanks are one empty piece; the "1" behind them is the next piece.
    // 126 blanks and "1" fill one piece, and the "2" behind them is another,
    // read by the primality dialog. 300 bytes of x are three pieces.
    expectTranscript(std::string(127, ' ') + "1\ne\n" + std::string(126, ' ') + "12\ne\n" +
                         std::string(300, 'x') + "\ne\n",
                     kStart + kMain + kMain + kPrimeTest + kMain + kPrimeTest + "\n2   素数" +
                         "\n判定する数値('e'で終了)->" + kMain + kMain + kMain + kMain + kEnd);
}

TEST(Transcript, EndOfInputAtTheMainMenuShutsDown) {
    expectTranscript("", kStart + kMain + kEnd);
    // A last line without its newline is still a line.
    expectTranscript("2", kStart + kMain + kNthPrime + kMain + kEnd);
}

TEST(Transcript, EndOfInputInTheTableMenuUnwinds) {
    expectTranscript("a\n", kStart + kMain + kTableHeader + kTable + kMain + kEnd);
    expectTranscript("a\nf\n", kStart + kMain + kTableHeader + kTable + kFile + kTable + kMain + kEnd);
    // Inside a dialog, end of input leaves the dialog, the menus and the program.
    expectTranscript("3\n", kStart + kMain + kNextPrimes + kMain + kEnd);
}

TEST(Transcript, ShutDownWaitsForOneMoreCharacter) {
    // The character after "e" is read by the final wait, whatever it is.
    expectTranscript("e\n1\n", kStart + kMain + kEnd);
}

TEST(Transcript, NoTableWhenTheFirstBlockIsRefused) {
    const std::string noTable = "\n素数テーブルがありません";
    const std::string start = "（６４＋α）ビット数値で素数処理を行います!\n"
                              "\nsta " + kMaskedStamp +
                              "\n素数テーブルのサイズ = 0 MB, 素数の個数 = 0  素数の最大値 = 0";
    const std::string statisticsNone =
        "\n現素数テーブルのサイズ = 0, 素数の個数 = 0  素数の最大値 = 0";
    const std::string rebuild = "\n素数テーブルを再作成します" + statisticsNone +
                                "\n再作成する素数テーブルのサイズ(単位:ＭＢ)->";
    // Without a table the questions and "x" refuse; "b" asks for a size ("e"
    // is none) and "f" offers its menu, whose "w" refuses.
    expectTranscript("1\n2\n3\n4\na\nx\nb\ne\nf\nw\nf\ne\ne\ne\n",
                     start + kMain + noTable + kMain + noTable + kMain + noTable + kMain + noTable +
                         kMain + kTableHeader + kTable + noTable + kTable + rebuild + kTable + kFile +
                         noTable + kTable + kFile + kTable + kMain + kEnd,
                     "Q64_REFUSE_AFTER_BLOCKS=0");
}

}  // namespace
