// Transcripts of the n-th prime dialog (main menu "2").
#include <gtest/gtest.h>

#include <string>

#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string& kHeading = kNthPrimeHeading;
const std::string& kPrompt = kNthPrimePrompt;


std::string nth(const std::string& n, const std::string& answer) { return "\n" + n + " 番目の素数 -> " + answer; }

TEST(NthPrimeDialog, SmallListBitmapAndLastPrime) {
    expectOnStartTable("2\n1 2 46 47\n2244426\ne\ne\n",
                     kMain + kHeading + kPrompt + nth("1", "2") + nth("2", "3") + nth("46", "199") +
                         nth("47", "211") + kPrompt + nth("2244426", "36699233") + kPrompt + kMain);
}

TEST(NthPrimeDialog, RefusalsAboveTheCountAndForZero) {
    const std::string above = "求められない( ＞ 2244426)";
    expectOnStartTable("2\n2244427 18446744073709551615 18446744073709551616\n0 00\ne\ne\n",
                     kMain + kHeading + kPrompt + nth("2244427", above) + nth("18446744073709551615", above) +
                         nth("18446744073709551616", above) + kPrompt + nth("0", "求められない( ＜ 1)") +
                         nth("0", "求められない( ＜ 1)") + kPrompt + kMain);
}

TEST(NthPrimeDialog, BadTokensAndExit) {
    expectOnStartTable("2\n5 -6 7\ne \n e\ne\n",
                     kMain + kHeading + kPrompt + nth("5", "11") + kPrompt + kPrompt + kMain);
}

}  // namespace
