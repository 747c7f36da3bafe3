// Main menu "2": the n-th prime.
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialog_shapes.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/texts_cp932.h"
#include "q64/m5_primequery.h"

namespace {

// n above the prime count (2^64 and more included) is refused with the
// count; so is n = 0, for which there is no prime.
void answerNthPrime() {
    say(text::nthPrimeEcho, decimalText(console.inValue));
    const Q2Value n = console.inValue;
    if (n.hi == 0 && n.lo == 0) {
        say(text::nthPrimeZero);
        return;
    }
    const uint64_t count = static_cast<uint64_t>(console.primeCount);
    uint64_t prime = n.hi == 0 && n.lo <= count ? _5_prmnoth(n.lo, console.tableHead) : ~uint64_t{0};
    if (prime == ~uint64_t{0}) {
        say(text::nthPrimeAboveCount, console.primeCount);
        return;
    }
    console.inValue = Q2Value{prime, 0};
    say(text::textFormat, decimalText(console.inValue));
}

}  // namespace

void nthPrimeDialog() {
    if (!haveTable()) return;
    say(text::nthPrimeHeading, console.primeCount);
    answerNumberLines(text::nthPrimePrompt, answerNthPrime);
}
