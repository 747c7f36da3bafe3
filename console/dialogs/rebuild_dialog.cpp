// Table menu "b": build a new table of a given size.
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialog_shapes.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/table_chain.h"
#include "console/texts_cp932.h"

namespace {
// Above this size the question warns that the memory may not be found.
constexpr uint64_t kLargeRebuildMegabytes = 1280;
}  // namespace

void rebuildDialog() {
    uint64_t megabytes;
    if (!askMegabytes(text::rebuildHeading, text::rebuildSizePrompt, &megabytes)) return;
    if (megabytes > kLargeRebuildMegabytes)
        say(text::rebuildQuestionLarge, decimalText(console.inValue));
    else
        say(text::rebuildQuestion, decimalText(console.inValue));
    if (!confirm(text::confirmPrompt)) return;
    if (rebuildTable(megabytes) != 1) {
        say(text::rebuildFailed);
        return;
    }
    showChangedTable(text::rebuildDone);
}
