// Table menu "b": build a new table of a given size.
#include "console/dialog_io.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/state.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "console/texts_cp932.h"

namespace {
// Above this size the question warns that the memory may not be found.
constexpr uint64_t kLargeRebuildMegabytes = 1280;
}  // namespace

void rebuildDialog() {
    say(text::rebuildHeading);
    printStatistics(StatisticsLine::Current);
    if (!readAnswer(text::rebuildSizePrompt)) return;
    if (takeNumber() != Token::Number) return;
    if (console.inValue.hi != 0) {
        say(text::sizeTooLarge);
        return;
    }
    const uint64_t megabytes = console.inValue.lo;
    if (megabytes > kLargeRebuildMegabytes)
        say(text::rebuildQuestionLarge, decimalText(console.inValue));
    else
        say(text::rebuildQuestion, decimalText(console.inValue));
    if (!confirm(text::confirmPrompt)) return;
    if (rebuildTable(megabytes) != 1) {
        say(text::rebuildFailed);
        return;
    }
    refreshStatistics();
    say(text::rebuildDone);
    printStatistics(StatisticsLine::Changed);
}
