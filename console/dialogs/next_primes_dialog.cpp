// Main menu "3": the primes that follow a number.
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialog_shapes.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/texts_cp932.h"
#include "q64/m5_primequery.h"

namespace {

constexpr int64_t kCountToConfirm = 100;

// Prints up to `count` primes after `start`, numbered from 0; stops with a
// message when the next one cannot be given.
void listNextPrimes(Q2Value start, int64_t count) {
    Q2Value running = start, next;
    for (int64_t line = 0; line < count; ++line) {
        if (_5_prmnxnum(&next, &running, console.tableHead) != 0) {
            say(text::nextPrimesTooLarge);
            return;
        }
        say(text::nextPrimesLine, line, decimalText(next));
        running = next;
    }
}

// One line: the start number and, optionally, the count (1 without one;
// tokens after it are ignored). False, back to the main menu, when the start
// number or the count is no decimal number; a count of 2^64 or more only
// prompts again. The count is taken as a signed number: from 2^63 on it is
// negative and lists nothing. From 100 on it must be confirmed with "y".
bool answerNextPrimes() {
    if (takeNumber() != Token::Number) return false;
    const Q2Value start = console.inValue;
    say(text::nextPrimesEcho, decimalText(start));
    skipToken();
    Token countToken = takeNumber();
    if (countToken == Token::Bad) return false;
    Q2Value count{1, 0};
    if (countToken == Token::Number) count = console.inValue;
    console.inValue = start;
    if (count.hi != 0) return true;
    const int64_t n = static_cast<int64_t>(count.lo);
    if (n < kCountToConfirm) {
        say(text::nextPrimesCount, n);
        listNextPrimes(start, n);
    } else {
        say(text::nextPrimesAsk, n);
        if (confirm(text::nextPrimesConfirm)) listNextPrimes(start, n);
    }
    return true;
}

}  // namespace

void nextPrimesDialog() {
    if (!haveTable()) return;
    say(text::nextPrimesHeading, decimalText(console.queryLimit));
    promptLines(text::nextPrimesPrompt, answerNextPrimes);
}
