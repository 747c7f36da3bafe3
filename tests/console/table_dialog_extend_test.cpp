// Transcripts of the table menu's "x": the extension dialog, its
// confirmations, thresholds and refusals. Expected prime counts and largest
// primes are checkpoints counted with primesieve.
#include <gtest/gtest.h>

#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string kCannot = "\n素数テーブルを拡張出来ません";
// The dialog up to its question, on the start table.
const std::string kOpen = extendOpening(kStartTable);

std::string stepQuestion(const std::string& megabytes) {
    return "\n拡張サイズ(" + megabytes + " ＭＢ)が大きいです、続けますか？" + kConfirm;
}
std::string totalQuestion(const std::string& megabytes) {
    return "\n拡張後のサイズが大きい(" + megabytes + " ＭＢ)のでメモリ確保できないかもしれません、続けますか？" + kConfirm;
}

TEST(ExtendDialog, OneMegabyteOnTheStartTable) {
    // The primality heading afterwards shows the new query limit.
    TempDir dir;
    RunResult r = runProgram(dir.path, "a\nx\n1\ne\n1\n");
    expectOutputHolds(r.out, kStart + kTableEntry + kOpen + extendStep("1") + kExtendDone +
                                 changed(2, 4306019, 73398287) + kTable + kMain + primeTestHeading(73398287));
}

TEST(ExtendDialog, TheFirstTokenEndsAtABlank) {
    expectTableDialog("x\n  12 abc\n", kOpen + extendStep("12") + kExtendDone + changed(13, 25210969, 477100037));
    expectTableDialog("x\n12abc\n", kOpen);
    expectTableDialog("x\n-1\n", kOpen);
    expectTableDialog("x\n\n\t\n3\n",
                      kOpen + kExtendAsk + kExtendAsk + extendStep("3") + kExtendDone + changed(4, 8274311, 146798599));
}

TEST(ExtendDialog, ZeroMegabytesCannotExtend) { expectTableDialog("x\n0\n", kOpen + extendStep("0") + kCannot); }

TEST(ExtendDialog, SizesBeyondSixtyFourBits) {
    expectTableDialog("x\n18446744073709551616\n", kOpen + kSizeTooLarge);
    // Digits beyond 128 bits do not convert: no message.
    expectTableDialog("x\n999999999999999999999999999999999999999999\n", kOpen);
}

// 300 MB on the 1 MB table: no question for the total, one for the step.
TEST(ExtendDialog, AStepAbove256MegabytesIsConfirmed) {
    expectTableDialog("x\n300\nn\n", kOpen + stepQuestion("300") + kCannot);
    expectTableDialog("x\n300\nY\n", kOpen + stepQuestion("300") + kCannot);
    expectTableDialog("x\n300\ny \n", kOpen + stepQuestion("300") + kCannot);
    expectTableDialog("x\n300\nyes\n", kOpen + stepQuestion("300") + kCannot);
    // Accepted (after an empty line and leading blanks), but the memory is
    // refused: the table stays as it was.
    expectTableDialog("x\n300\n\n   y\nx\n\n",
                      kOpen + stepQuestion("300") + kConfirm + extendStep("300") + kCannot + kTable + kOpen +
                          kExtendAsk,
                      {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
}

// 1300 MB: the total (1301 MB) and the step are confirmed one after the other.
TEST(ExtendDialog, ATotalAbove1280MegabytesIsConfirmedFirst) {
    expectTableDialog("x\n1300\nn\n", kOpen + totalQuestion("1301"));
    expectTableDialog("x\n1300\ny\nn\n", kOpen + totalQuestion("1301") + stepQuestion("1300") + kCannot);
    expectTableDialog("x\n1300\ny\ny\n",
                      kOpen + totalQuestion("1301") + stepQuestion("1300") + extendStep("1300") + kCannot,
                      {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
    // 1279 MB more make 1280: no question for the total.
    expectTableDialog("x\n1279\nn\n", kOpen + stepQuestion("1279") + kCannot);
}

TEST(ExtendDialog, StepsOf2048MegabytesOrMoreAreNeverObtained) {
    // No memory limit is set: the step fails without asking the platform.
    expectTableDialog("x\n2048\ny\ny\n",
                      kOpen + totalQuestion("2049") + stepQuestion("2048") + extendStep("2048") + kCannot);
}

// Sizes are unsigned: 2^63 is very large, never negative, and the total
// does not wrap around.
TEST(ExtendDialog, SizesAreUnsigned) {
    expectTableDialog("x\n9223372036854775808\ny\ny\n",
                      kOpen + totalQuestion("9223372036854775809") + stepQuestion("9223372036854775808") +
                          extendStep("9223372036854775808") + kCannot);
    expectTableDialog("x\n18446744073709551615\ny\ny\n",
                      kOpen + totalQuestion("18446744073709551616") + stepQuestion("18446744073709551615") +
                          extendStep("18446744073709551615") + kCannot);
}

TEST(ExtendDialog, RefusedMemoryKeepsTheTable) {
    expectTableDialog("x\n1\nx\n1\n", kOpen + extendStep("1") + kCannot + kTable + kOpen + extendStep("1") + kCannot,
                      {{"Q64_REFUSE_AFTER_BYTES=1048576"}});
}

TEST(ExtendDialog, WithoutATable) {
    // A rebuild of 0 MB leaves no table.
    expectTableDialog("b\n0\ny\nx\n", rebuildOpening(kStartTable) + rebuildQuestion("0") + rebuildStep("0") +
                                            kRebuildFailed + kTable + kNoTable);
}

}  // namespace
