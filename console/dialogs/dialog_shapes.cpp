#include "console/dialogs/dialog_shapes.h"

#include "console/console_state.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/texts_cp932.h"

bool askMegabytes(const char* heading, const char* prompt, uint64_t* megabytes) {
    say(text::textFormat, heading);
    printStatistics(StatisticsLine::Current);
    if (!readAnswer(prompt)) return false;
    if (takeNumber() != Token::Number) return false;
    if (console.inValue.hi != 0) {
        say(text::sizeTooLarge);
        return false;
    }
    *megabytes = console.inValue.lo;
    return true;
}

void showChangedTable(const char* done) {
    refreshStatistics();
    say(text::textFormat, done);
    printStatistics(StatisticsLine::Changed);
}
