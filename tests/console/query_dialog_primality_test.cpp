// Transcripts of the primality dialog (main menu "1").
#include <gtest/gtest.h>

#include <string>

#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string& kHeading = kPrimeTestHeading;
const std::string& kPrompt = kPrimeTestPrompt;


std::string prime(const std::string& n) { return "\n" + n + "   素数"; }
std::string notPrime(const std::string& n) { return "\n" + n + "   違います"; }
std::string undecided(const std::string& n) { return "\n" + n + "   判定できない"; }

TEST(PrimalityDialog, SeveralNumbersOnALine) {
    expectOnStartTable("1\n97 98\n  0 1 2 4\ne\ne\n",
                     kMain + kHeading + kPrompt + prime("97") + notPrime("98") + kPrompt + undecided("0") +
                         undecided("1") + prime("2") + notPrime("4") + kPrompt + kMain);
}

TEST(PrimalityDialog, ABadTokenDropsTheRestOfItsLine) {
    // Only 97 is answered; "0017" is 17; the tab ends the line.
    expectOnStartTable("1\n97 x 98\n0017 19,3 23\n29\t31\ne\ne\n",
                     kMain + kHeading + kPrompt + prime("97") + kPrompt + prime("17") + kPrompt + prime("29") +
                         kPrompt + kMain);
}

TEST(PrimalityDialog, OnlyTheWholeLineELeaves) {
    // "e " and "E" are bad tokens and prompt again; " e" leaves.
    expectOnStartTable("1\ne \nE\n\n e\ne\n", kMain + kHeading + kPrompt + kPrompt + kPrompt + kPrompt + kMain);
}

TEST(PrimalityDialog, StartTableAnswers) {
    // The small list, the bitmap, trial division beyond E = 36699251 up to
    // the printed limit, E^2 and the numbers above it.
    expectOnStartTable("1\n199 209 211 36699233 36699251 1346833702788289\n"
                     "1346835023961001 1346835023961003 1346835023961013\n"
                     "18446744073709551616 18446744073709551617 340282366920938463463374607431768211297\ne\ne\n",
                     kMain + kHeading + kPrompt + prime("199") + notPrime("209") + prime("211") +
                         prime("36699233") + prime("36699251") + notPrime("1346833702788289") + kPrompt +
                         notPrime("1346835023961001") + notPrime("1346835023961003") +
                         undecided("1346835023961013") + kPrompt + notPrime("18446744073709551616") +
                         undecided("18446744073709551617") +
                         undecided("340282366920938463463374607431768211297") + kPrompt + kMain);
}

TEST(PrimalityDialog, EndOfInputLeavesTheDialog) {
    expectOnStartTable("1\n97", kMain + kHeading + kPrompt + prime("97") + kPrompt + kMain);
}

}  // namespace
