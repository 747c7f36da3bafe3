// Transcripts of the table menu's "b": the rebuild dialog, its questions,
// the large rebuild's blocks and remainders, and refusals at the first and
// at a later block. Expected prime counts and largest primes are checkpoints
// counted with primesieve.
#include <gtest/gtest.h>

#include "tests/console/table_dialog_support.h"

namespace {

using namespace table_dialog;

const std::string kHeading = "\n素数テーブルを再作成します";
const std::string kStartTable = current(1, 2244426, 36699233);
const std::string kAsk = "\n再作成する素数テーブルのサイズ(単位:ＭＢ)->";
const std::string kCannot = "\n素数テーブルを再作成出来ません";
const std::string kDone = "\n素数テーブルを再作成しました";
const std::string kOpen = kHeading + kStartTable + kAsk;
const std::string kNoTable = current(0, 0, 0);

std::string question(const std::string& megabytes) {
    return "\n素数テーブルを " + megabytes + " ＭＢで再作成します、続けますか？" + kConfirm;
}
std::string largeQuestion(const std::string& megabytes) {
    return "\n指定サイズ大きい(" + megabytes + " ＭＢ)のでメモリ確保できないかもしれません、続けますか？" + kConfirm;
}
std::string step(const std::string& megabytes) { return "\n再作成します - " + megabytes + " ＭＢ"; }
std::string remaining(const std::string& megabytes) { return "\n残り - " + megabytes + " ＭＢ"; }

void expectDialog(const std::string& dialogInput, const std::string& dialogOutput, const Options& options = {}) {
    TempDir dir;
    Result r = run(dir.path, "a\n" + dialogInput + "e\ne\n", options);
    EXPECT_EQ(r.status, 0);
    expectOutput(r.out, kStart + kTableEntry + dialogOutput + kTable + kEnd);
}

TEST(RebuildDialog, OneMegabyteEqualsTheStartTable) {
    expectDialog("b\n1\ny\nb\n\n", kOpen + question("1") + step("1") + kDone + changed(1, 2244426, 36699233) +
                                      kTable + kOpen + kAsk);
}

TEST(RebuildDialog, AnswersThatEndTheDialog) {
    expectDialog("b\n1abc\n", kOpen);
    expectDialog("b\n18446744073709551616\n", kOpen + "\n指定サイズが大きすぎます、無理です！！！");
    // Declined: the old table is kept.
    for (const char* no : {"n", "Y", "y ", "yes", "ｙ"}) {
        SCOPED_TRACE(no);
        expectDialog(std::string("b\n2 more\n") + no + "\nb\n\n", kOpen + question("2") + kTable + kOpen + kAsk);
    }
    // Empty answers ask again.
    expectDialog("b\n1281\n\n\nn\n", kOpen + largeQuestion("1281") + kConfirm + kConfirm);
    expectDialog("b\n1280\nn\n", kOpen + question("1280"));
}

TEST(RebuildDialog, ZeroMegabytesLeaveNoTable) {
    // The statistics are 0 afterwards; a rebuild brings a table back.
    expectDialog("b\n0\ny\nb\n1\ny\n",
                 kOpen + question("0") + step("0") + kCannot + kTable + kHeading + kNoTable + kAsk + question("1") +
                     step("1") + kDone + changed(1, 2244426, 36699233));
}

TEST(RebuildDialog, MemoryRefusedForTheFirstBlock) {
    TempDir dir;
    Result r = run(dir.path, "a\nb\n1\ny\nb\n\ne\ne\n", {{"Q64_REFUSE_AFTER_BLOCKS=1"}});
    expectOutput(r.out, kStart + kTableEntry + kOpen + question("1") + step("1") + kCannot + kTable + kHeading +
                            kNoTable + kAsk + kAsk + kTable + kEnd);
}

// The query limit needs the high word: the primality heading shows it.
TEST(RebuildDialog, OneBlockOf128Megabytes) {
    TempDir dir;
    Result r = run(dir.path, "a\nb\n128\ny\ne\n1\n");
    expectOutputHolds(r.out, kTableEntry + kOpen + question("128") + step("128") + kDone +
                                 changed(128, 221397181, 4697619557) + kTable + kMain + primeTestHeading(4697619557));
}

// 130 MB: a remainder of 2 MB is not built.
TEST(RebuildDialog, ASmallRemainderIsNotBuilt) {
    if (kSanitized) GTEST_SKIP() << "several large blocks: release builds only";
    expectDialog("b\n130\ny\n",
                 kOpen + question("130") + step("130") + remaining("2") + kDone + changed(128, 221397181, 4697619557));
}

TEST(RebuildDialog, RemaindersFrom6Megabytes) {
    if (kSanitized) GTEST_SKIP() << "several large blocks: release builds only";
    expectDialog("b\n134\ny\n",
                 kOpen + question("134") + step("134") + remaining("6") + kDone + changed(134, 231273889, 4917819407));
}

TEST(RebuildDialog, TwoAndThreeLargeBlocks) {
    if (kSanitized) GTEST_SKIP() << "several large blocks: release builds only";
    expectDialog("b\n256\ny\n",
                 kOpen + question("256") + step("256") + remaining("128") + kDone + changed(256, 428751121, 9395238917));
    expectDialog("b\n300\ny\n", kOpen + question("300") + step("300") + remaining("172") + remaining("44") + kDone +
                                    changed(300, 498822925, 11010044833));
}

// A failure after the first block leaves the blocks built so far, and the
// statistics (and the query limit) describe them.
TEST(RebuildDialog, MemoryRefusedForALaterBlock) {
    TempDir dir;
    Result r = run(dir.path, "a\nb\n300\ny\nb\n\ne\ne\n1\n", {{"Q64_REFUSE_AFTER_BLOCKS=2"}});
    expectOutputHolds(r.out, kTableEntry + kOpen + question("300") + step("300") + remaining("172") + kCannot +
                                 kTable + kHeading + current(128, 221397181, 4697619557) + kAsk + kAsk + kTable +
                                 kMain + primeTestHeading(4697619557));
    // The remainder block refused by a byte limit: 1 MB, 128 MB and 5 MB.
    expectDialog("b\n134\ny\n", kOpen + question("134") + step("134") + remaining("6") + kCannot,
                 {{"Q64_REFUSE_AFTER_BYTES=140509184"}});
}

// Sizes are unsigned: 2^63 MB asks the large question and builds 128 MB
// blocks until the memory is refused.
TEST(RebuildDialog, SizesAreUnsigned) {
    expectDialog("b\n9223372036854775808\ny\nb\n\n",
                 kOpen + largeQuestion("9223372036854775808") + step("9223372036854775808") +
                     remaining("9223372036854775680") + kCannot + kTable + kHeading +
                     current(128, 221397181, 4697619557) + kAsk + kAsk,
                 {{"Q64_REFUSE_AFTER_BLOCKS=2"}});
}

}  // namespace
