// Transcripts of the table menu's "b": the rebuild dialog, its questions,
// the large rebuild's blocks and remainders, and refusals at the first and
// at a later block. Expected prime counts and largest primes are checkpoints
// counted with primesieve.
#include <gtest/gtest.h>

#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string kDone = "\n素数テーブルを再作成しました";
const std::string kOpen = rebuildOpening(kStartTable);
const std::string kEmptyTable = current(0, 0, 0);

std::string largeQuestion(const std::string& megabytes) {
    return "\n指定サイズ大きい(" + megabytes + " ＭＢ)のでメモリ確保できないかもしれません、続けますか？" + kConfirm;
}
std::string remaining(const std::string& megabytes) { return "\n残り - " + megabytes + " ＭＢ"; }

TEST(RebuildDialog, OneMegabyteEqualsTheStartTable) {
    expectTableDialog("b\n1\ny\nb\n\n", kOpen + rebuildQuestion("1") + rebuildStep("1") + kDone +
                                            changed(1, 2244426, 36699233) + kTable + kOpen + kRebuildAsk);
}

TEST(RebuildDialog, AnswersThatEndTheDialog) {
    expectTableDialog("b\n1abc\n", kOpen);
    expectTableDialog("b\n18446744073709551616\n", kOpen + kSizeTooLarge);
    // Declined: the old table is kept.
    for (const char* no : {"n", "Y", "y ", "yes", "ｙ"}) {
        SCOPED_TRACE(no);
        expectTableDialog(std::string("b\n2 more\n") + no + "\nb\n\n",
                          kOpen + rebuildQuestion("2") + kTable + kOpen + kRebuildAsk);
    }
    // Empty answers ask again.
    expectTableDialog("b\n1281\n\n\nn\n", kOpen + largeQuestion("1281") + kConfirm + kConfirm);
    expectTableDialog("b\n1280\nn\n", kOpen + rebuildQuestion("1280"));
}

TEST(RebuildDialog, ZeroMegabytesLeaveNoTable) {
    // The statistics are 0 afterwards; a rebuild brings a table back.
    expectTableDialog("b\n0\ny\nb\n1\ny\n", kOpen + rebuildQuestion("0") + rebuildStep("0") + kRebuildFailed + kTable +
                                                rebuildOpening(kEmptyTable) + rebuildQuestion("1") + rebuildStep("1") +
                                                kDone + changed(1, 2244426, 36699233));
}

TEST(RebuildDialog, MemoryRefusedForTheFirstBlock) {
    expectTableDialog("b\n1\ny\nb\n\n",
                      kOpen + rebuildQuestion("1") + rebuildStep("1") + kRebuildFailed + kTable +
                          rebuildOpening(kEmptyTable) + kRebuildAsk,
                      {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
}

// The query limit needs the high word: the primality heading shows it.
TEST(RebuildDialog, OneBlockOf128Megabytes) {
    TempDir dir;
    RunResult r = runProgram(dir.path, "a\nb\n128\ny\ne\n1\n");
    expectOutputHolds(r.out, kTableEntry + kOpen + rebuildQuestion("128") + rebuildStep("128") + kDone +
                                 changed(128, 221397181, 4697619557) + kTable + kMain + primeTestHeading(4697619557));
}

// 130 MB: a remainder of 2 MB is not built.
TEST(RebuildDialog, ASmallRemainderIsNotBuilt) {
    if (kSanitized) GTEST_SKIP() << "several large blocks: release builds only";
    expectTableDialog("b\n130\ny\n", kOpen + rebuildQuestion("130") + rebuildStep("130") + remaining("2") + kDone +
                                         changed(128, 221397181, 4697619557));
}

TEST(RebuildDialog, RemaindersFrom6Megabytes) {
    if (kSanitized) GTEST_SKIP() << "several large blocks: release builds only";
    expectTableDialog("b\n134\ny\n", kOpen + rebuildQuestion("134") + rebuildStep("134") + remaining("6") + kDone +
                                         changed(134, 231273889, 4917819407));
}

TEST(RebuildDialog, TwoAndThreeLargeBlocks) {
    if (kSanitized) GTEST_SKIP() << "several large blocks: release builds only";
    expectTableDialog("b\n256\ny\n", kOpen + rebuildQuestion("256") + rebuildStep("256") + remaining("128") + kDone +
                                         changed(256, 428751121, 9395238917));
    expectTableDialog("b\n300\ny\n", kOpen + rebuildQuestion("300") + rebuildStep("300") + remaining("172") +
                                         remaining("44") + kDone + changed(300, 498822925, 11010044833));
}

// A failure after the first block leaves the blocks built so far, and the
// statistics (and the query limit) describe them.
TEST(RebuildDialog, MemoryRefusedForALaterBlock) {
    TempDir dir;
    RunResult r = runProgram(dir.path, "a\nb\n300\ny\nb\n\ne\ne\n1\n", {{"Q64_REFUSE_AFTER_BLOCKS=2"}});
    expectOutputHolds(r.out, kTableEntry + kOpen + rebuildQuestion("300") + rebuildStep("300") + remaining("172") +
                                 kRebuildFailed + kTable + rebuildOpening(current(128, 221397181, 4697619557)) +
                                 kRebuildAsk + kTable + kMain + primeTestHeading(4697619557));
    // The remainder block refused by a byte limit: 1 MB, 128 MB and 5 MB.
    expectTableDialog("b\n134\ny\n",
                      kOpen + rebuildQuestion("134") + rebuildStep("134") + remaining("6") + kRebuildFailed,
                      {{"Q64_REFUSE_AFTER_BYTES=140509184"}});
}

// Sizes are unsigned: 2^63 MB asks the large question and builds 128 MB
// blocks until the memory is refused.
TEST(RebuildDialog, SizesAreUnsigned) {
    expectTableDialog("b\n9223372036854775808\ny\nb\n\n",
                      kOpen + largeQuestion("9223372036854775808") + rebuildStep("9223372036854775808") +
                          remaining("9223372036854775680") + kRebuildFailed + kTable +
                          rebuildOpening(current(128, 221397181, 4697619557)) + kRebuildAsk,
                      {{"Q64_REFUSE_AFTER_BLOCKS=2"}});
}

}  // namespace
