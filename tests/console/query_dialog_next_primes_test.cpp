// Transcripts of the next-primes dialog (main menu "3").
#include <gtest/gtest.h>

#include <string>

#include "tests/console/transcript_texts.h"

namespace {

using namespace console_test;

const std::string& kHeading = kNextPrimesHeading;
const std::string& kPrompt = kNextPrimesPrompt;

const std::string kListConfirm = "\n'y'で実行)->";
const std::string kNumberTooLarge = "\n数値が大きすぎます、出来ません！！！";

std::string echo(const std::string& n) { return "\n" + n + " より大きな次の素数一覧 "; }
std::string listing(const std::string& count) { return " " + count + " 件を一覧で表示"; }
std::string ask(const std::string& count) { return " " + count + " 件表示ですか"; }
std::string line(int i, const std::string& p) { return "\n " + std::to_string(i) + " - " + p; }

// The first `count` primes after 10, numbered from 0.
std::string primesAfter10(int count) {
    static const int primes[] = {11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89,
                                 97, 101, 103, 107, 109, 113, 127, 131, 137, 139, 149, 151, 157, 163, 167, 173,
                                 179, 181, 191, 193, 197, 199, 211, 223, 227, 229, 233, 239, 241, 251, 257, 263,
                                 269, 271, 277, 281, 283, 293, 307, 311, 313, 317, 331, 337, 347, 349, 353, 359,
                                 367, 373, 379, 383, 389, 397, 401, 409, 419, 421, 431, 433, 439, 443, 449, 457,
                                 461, 463, 467, 479, 487, 491, 499, 503, 509, 521, 523, 541, 547, 557, 563, 569};
    std::string s;
    for (int i = 0; i < count; ++i) s += line(i, std::to_string(primes[i]));
    return s;
}

TEST(NextPrimesDialog, CountRules) {
    // No count lists one prime; 0 lists none; 99 lists at once; 100 asks.
    expectOnStartTable("3\n10\n10 0\n10 99\ne\ne\n",
                     kMain + kHeading + kPrompt + echo("10") + listing("1") + line(0, "11") + kPrompt +
                         echo("10") + listing("0") + kPrompt + echo("10") + listing("99") + primesAfter10(99) +
                         kPrompt + kMain);
}

TEST(NextPrimesDialog, OnlyTheAnswerYConfirms) {
    // "y " (with a blank) refuses; empty lines ask again; tokens after the
    // count are ignored; " e" leaves like "e".
    expectOnStartTable("3\n10 100\ny \n10 100 junk\n\ny\n e\ne\n",
                     kMain + kHeading + kPrompt + echo("10") + ask("100") + kListConfirm + kPrompt + echo("10") +
                         ask("100") + kListConfirm + kListConfirm + primesAfter10(100) + kPrompt + kMain);
}

TEST(NextPrimesDialog, CountsOf2To63AndMore) {
    // From 2^63 to 2^64 - 1 the count is negative and lists nothing; from
    // 2^64 on it is dropped after the echo and the prompt returns.
    expectOnStartTable("3\n10 9223372036854775808\n10 18446744073709551615\n10 18446744073709551616\ne\ne\n",
                     kMain + kHeading + kPrompt + echo("10") + listing("-9223372036854775808") + kPrompt +
                         echo("10") + listing("-1") + kPrompt + echo("10") + kPrompt + kMain);
}

TEST(NextPrimesDialog, BadNumbersReturnToTheMainMenu) {
    expectOnStartTable("3\nx 5\n3\n10 x\n3\ne \ne\n",
                     kMain + kHeading + kPrompt + kMain + kHeading + kPrompt + echo("10") + kMain + kHeading +
                         kPrompt + kMain);
}

TEST(NextPrimesDialog, BeyondTheBitmapAndAtTheLimit) {
    // The prime after the largest prime of the bitmap is found by trial
    // division; a start number at or above the printed limit fails at once.
    expectOnStartTable("3\n36699233 3\n1346833702788289 5\n1346833702788288 5\n0 2\ne\ne\n",
                     kMain + kHeading + kPrompt + echo("36699233") + listing("3") + line(0, "36699251") +
                         line(1, "36699263") + line(2, "36699269") + kPrompt + echo("1346833702788289") +
                         listing("5") + kNumberTooLarge + kPrompt + echo("1346833702788288") + listing("5") +
                         kNumberTooLarge + kPrompt + echo("0") + listing("2") + line(0, "2") + line(1, "3") + kPrompt +
                         kMain);
}

}  // namespace
