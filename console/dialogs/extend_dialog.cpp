// Table menu "x": append a block to the table.
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialog_shapes.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/table_chain.h"
#include "console/texts_cp932.h"
#include "primetable/table_words.h"

namespace {
// A table larger than this after the extension may not find its memory.
constexpr uint64_t kTotalConfirmMegabytes = 1280;
}  // namespace

void extendDialog() {
    if (!haveTable()) return;
    uint64_t megabytes;
    if (!askMegabytes(text::extendHeading, text::extendSizePrompt, &megabytes)) return;
    // The size after the extension, in two words: it cannot wrap around.
    const uint64_t current = static_cast<uint64_t>(console.tableQwords) / table::kWordsPerMegabyte;
    const Q2Value total{current + megabytes, current + megabytes < megabytes ? uint64_t{1} : 0};
    int64_t result = 0;
    if (total.hi != 0 || total.lo > kTotalConfirmMegabytes) {
        say(text::extendTotalLarge, decimalText(total));
        if (confirm(text::confirmPrompt)) result = extendByMegabytes(megabytes);
    } else {
        result = extendByMegabytes(megabytes);
    }
    if (result == -1) {
        say(text::extendFailed);
        return;
    }
    if (result == 0) return;
    showChangedTable(text::extendDone);
}
