// Transcripts of the table menu's "x": the extension dialog, its
// confirmations, thresholds and refusals. Expected prime counts and largest
// primes are checkpoints counted with primesieve.
#include <gtest/gtest.h>

#include "tests/console/table_dialog_support.h"

namespace {

using namespace table_dialog;

const std::string kHeading = "\n素数テーブルを拡張します";
const std::string kStartTable = current(1, 2244426, 36699233);
const std::string kAsk = "\n素数テーブルを拡張するサイズ(単位:ＭＢ)->";
const std::string kCannot = "\n素数テーブルを拡張出来ません";
const std::string kDone = "\n素数テーブルを拡張しました";
const std::string kTooLarge = "\n指定サイズが大きすぎます、無理です！！！";
// The dialog up to its question, on the start table.
const std::string kOpen = kHeading + kStartTable + kAsk;

std::string step(const std::string& megabytes) { return "\n拡張します - " + megabytes + " ＭＢ"; }
std::string stepQuestion(const std::string& megabytes) {
    return "\n拡張サイズ(" + megabytes + " ＭＢ)が大きいです、続けますか？" + kConfirm;
}
std::string totalQuestion(const std::string& megabytes) {
    return "\n拡張後のサイズが大きい(" + megabytes + " ＭＢ)のでメモリ確保できないかもしれません、続けますか？" + kConfirm;
}

// Runs the table menu with `dialogInput`, then "e", "e" and the last key.
void expectDialog(const std::string& dialogInput, const std::string& dialogOutput, const Options& options = {}) {
    TempDir dir;
    Result r = run(dir.path, "a\n" + dialogInput + "e\ne\n", options);
    EXPECT_EQ(r.status, 0);
    expectOutput(r.out, kStart + kTableEntry + dialogOutput + kTable + kEnd);
}

TEST(ExtendDialog, OneMegabyteOnTheStartTable) {
    // The primality heading afterwards shows the new query limit.
    TempDir dir;
    Result r = run(dir.path, "a\nx\n1\ne\n1\n");
    expectOutputHolds(r.out, kStart + kTableEntry + kOpen + step("1") + kDone + changed(2, 4306019, 73398287) +
                                 kTable + kMain + primeTestHeading(73398287));
}

TEST(ExtendDialog, TheFirstTokenEndsAtABlank) {
    expectDialog("x\n  12 abc\n", kOpen + step("12") + kDone + changed(13, 25210969, 477100037));
    expectDialog("x\n12abc\n", kOpen);
    expectDialog("x\n-1\n", kOpen);
    expectDialog("x\n\n\t\n3\n", kOpen + kAsk + kAsk + step("3") + kDone + changed(4, 8274311, 146798599));
}

TEST(ExtendDialog, ZeroMegabytesCannotExtend) { expectDialog("x\n0\n", kOpen + step("0") + kCannot); }

TEST(ExtendDialog, SizesBeyondSixtyFourBits) {
    expectDialog("x\n18446744073709551616\n", kOpen + kTooLarge);
    // Digits beyond 128 bits do not convert: no message.
    expectDialog("x\n999999999999999999999999999999999999999999\n", kOpen);
}

// 300 MB on the 1 MB table: no question for the total, one for the step.
TEST(ExtendDialog, AStepAbove256MegabytesIsConfirmed) {
    expectDialog("x\n300\nn\n", kOpen + stepQuestion("300") + kCannot);
    expectDialog("x\n300\nY\n", kOpen + stepQuestion("300") + kCannot);
    expectDialog("x\n300\ny \n", kOpen + stepQuestion("300") + kCannot);
    expectDialog("x\n300\nyes\n", kOpen + stepQuestion("300") + kCannot);
    // Accepted (after an empty line and leading blanks), but the memory is
    // refused: the table stays as it was.
    expectDialog("x\n300\n\n   y\nx\n\n",
                 kOpen + stepQuestion("300") + kConfirm + step("300") + kCannot + kTable + kOpen + kAsk,
                 {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
}

// 1300 MB: the total (1301 MB) and the step are confirmed one after the other.
TEST(ExtendDialog, ATotalAbove1280MegabytesIsConfirmedFirst) {
    expectDialog("x\n1300\nn\n", kOpen + totalQuestion("1301"));
    expectDialog("x\n1300\ny\nn\n", kOpen + totalQuestion("1301") + stepQuestion("1300") + kCannot);
    expectDialog("x\n1300\ny\ny\n", kOpen + totalQuestion("1301") + stepQuestion("1300") + step("1300") + kCannot,
                 {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
    // 1279 MB more make 1280: no question for the total.
    expectDialog("x\n1279\nn\n", kOpen + stepQuestion("1279") + kCannot);
}

TEST(ExtendDialog, StepsOf2048MegabytesOrMoreAreNeverObtained) {
    // No memory limit is set: the step fails without asking the platform.
    expectDialog("x\n2048\ny\ny\n", kOpen + totalQuestion("2049") + stepQuestion("2048") + step("2048") + kCannot);
}

// Sizes are unsigned: 2^63 is very large, never negative, and the total
// does not wrap around.
TEST(ExtendDialog, SizesAreUnsigned) {
    expectDialog("x\n9223372036854775808\ny\ny\n",
                 kOpen + totalQuestion("9223372036854775809") + stepQuestion("9223372036854775808") +
                     step("9223372036854775808") + kCannot);
    expectDialog("x\n18446744073709551615\ny\ny\n",
                 kOpen + totalQuestion("18446744073709551616") + stepQuestion("18446744073709551615") +
                     step("18446744073709551615") + kCannot);
}

TEST(ExtendDialog, RefusedMemoryKeepsTheTable) {
    expectDialog("x\n1\nx\n1\n",
                 kOpen + step("1") + kCannot + kTable + kOpen + step("1") + kCannot,
                 {{"Q64_REFUSE_AFTER_BYTES=1048576"}});
}

TEST(ExtendDialog, WithoutATable) {
    // A rebuild of 0 MB leaves no table.
    expectDialog("b\n0\ny\nx\n",
                 "\n素数テーブルを再作成します" + kStartTable + "\n再作成する素数テーブルのサイズ(単位:ＭＢ)->" +
                     "\n素数テーブルを 0 ＭＢで再作成します、続けますか？" + kConfirm + "\n再作成します - 0 ＭＢ" +
                     "\n素数テーブルを再作成出来ません" + kTable + "\n素数テーブルがありません");
}

}  // namespace
