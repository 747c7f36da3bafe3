// Main menu "1": is a number prime?
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialog_shapes.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/texts_cp932.h"
#include "q64/m5_primequery.h"

namespace {

void answerPrimality() {
    say(text::primeTestEcho, decimalText(console.inValue));
    switch (_5_primetst(console.inValue.lo, console.inValue.hi, console.tableHead)) {
        case 0: say(text::primeTestPrime); break;
        case 1: say(text::primeTestNotPrime); break;
        default: say(text::primeTestUndecided); break;
    }
}

}  // namespace

// Every number of a line is answered on a line of its own; a bad token drops
// the rest of its line and the prompt returns. Only the line "e" leaves.
void primeTestDialog() {
    if (!haveTable()) return;
    say(text::primeTestHeading, decimalText(console.queryLimit));
    answerNumberLines(text::primeTestPrompt, answerPrimality);
}
