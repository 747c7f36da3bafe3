// Main menu "4": the prime factors of a number.
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialog_shapes.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/query_text.h"
#include "console/texts_cp932.h"
#include "q64/m5_primequery.h"

namespace {

FactorList factors;  // the dialog's list, rebuilt for every number

void answerFactorisation() {
    say(text::factoriseEcho, decimalText(console.inValue));
    int64_t entries = _5_prmfct(&factors, console.inValue.lo, console.inValue.hi, console.tableHead);
    if (entries < 0)
        say(text::factoriseRefused);
    else if (entries == 1)
        say(text::factorisePrime);
    else
        sayFactorisation(&factors);
}

}  // namespace

void factoriseDialog() {
    if (!haveTable()) return;
    say(text::factoriseHeading, decimalText(console.queryLimit));
    answerNumberLines(text::factorisePrompt, answerFactorisation);
}
