// Whole-program transcripts: the menus, answer-line reading and shut-down,
// compared byte for byte (time stamps masked) with the CP932 of the expected
// UTF-8 texts below.
#include <gtest/gtest.h>

#include <string>

#include "tests/console/console_test_support.h"
#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

// Each dialog's opening lines up to its first prompt, on the start table.
// Each is left with "e".
const std::string kPrimeTest = kPrimeTestHeading + kPrimeTestPrompt;
const std::string kNthPrime = kNthPrimeHeading + kNthPrimePrompt;
const std::string kNextPrimes = kNextPrimesHeading + kNextPrimesPrompt;
const std::string kFactorise = kFactoriseHeading + kFactorisePrompt;
const std::string kExtend = extendOpening(kStartTable);
const std::string kRebuild = rebuildOpening(kStartTable);
const std::string kFile = kFileHeading + kFileMenu;

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
                     kStart + kMain + kMain + kPrimeTest + kMain + kPrimeTest + "\n2   素数" + kPrimeTestPrompt +
                         kMain + kMain + kMain + kMain + kEnd);
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
    const std::string start = opening(0, 0, 0);
    const std::string rebuild = rebuildOpening(current(0, 0, 0));
    // Without a table the questions and "x" refuse; "b" asks for a size ("e"
    // is none) and "f" offers its menu, whose "w" refuses.
    expectTranscript("1\n2\n3\n4\na\nx\nb\ne\nf\nw\nf\ne\ne\ne\n",
                     start + kMain + kNoTable + kMain + kNoTable + kMain + kNoTable + kMain + kNoTable +
                         kMain + kTableHeader + kTable + kNoTable + kTable + rebuild + kTable + kFile +
                         kNoTable + kTable + kFile + kTable + kMain + kEnd,
                     {{"Q64_REFUSE_AFTER_BLOCKS=0"}});
}

}  // namespace
