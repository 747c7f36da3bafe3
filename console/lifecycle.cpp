#include "console/lifecycle.h"

#include <cstdio>

#include "console/console_state.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "console/texts_cp932.h"
#include "platform/localtime.h"
#include "platform/timestamp.h"

namespace {

// The local time as text, written into lineBuf.
const char* timeText() {
    platform::getLocalTime(&console.localTime);
    timetostr(console.lineBuf, timepack(&console.localTime));
    return console.lineBuf;
}

}  // namespace

void startUp() {
    sayPlain(text::openingLine);
    buildStartTable();
    say(text::startStamp, timeText());
    refreshStatistics();
    printStatistics(StatisticsLine::AtStart);
}

void shutDown() {
    say(text::farewell);
    say(text::endStamp, timeText());
    freeChain();  // a refused release ends the walk, leaving the rest to the end
    flushOutput();
    std::getchar();
}
