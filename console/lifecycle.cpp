#include "console/lifecycle.h"

#include <cstdio>

#include "console/console_state.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "console/texts_cp932.h"
#include "platform/localtime.h"
#include "platform/memory.h"
#include "platform/timestamp.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace {

constexpr uint64_t kStartWords = table::kStartBlockWords;  // 1 MB

// The local time as text, written into lineBuf.
const char* timeText() {
    platform::getLocalTime(&console.localTime);
    timetostr(console.lineBuf, timepack(&console.localTime));
    return console.lineBuf;
}

void buildFirstTable() {
    console.tableHead = nullptr;
    auto* block = static_cast<TableBlock*>(platform::commitBlock(kStartWords * sizeof(uint64_t)));
    console.newestBlock = block;
    if (block == nullptr) return;
    block[0] = kStartWords;
    if (_5_prmnew(kStartWords, block) == 0) {
        console.tableHead = block;
    } else {
        platform::releaseBlock(block);  // never part of a chain
        console.newestBlock = nullptr;
    }
}

}  // namespace

void startUp() {
    sayPlain(text::openingLine);
    buildFirstTable();
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
