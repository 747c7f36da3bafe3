#include "console/statistics.h"

#include "console/console_state.h"
#include "console/output.h"
#include "console/texts_cp932.h"
#include "primetable/table_words.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "q64/m5_primetable.h"

namespace {
constexpr int64_t kWordsPerMegabyte = table::kWordsPerMegabyte;  // for a signed division
}

void refreshStatistics() {
    const TableBlock* head = console.tableHead;
    if (head == nullptr) {
        console.primeMax = console.primeCount = console.tableQwords = 0;
    } else {
        console.primeMax = static_cast<int64_t>(_5_prmtmax(head).lo);
        console.primeCount = _5_prmtcnt(head);
        console.tableQwords = _5_prmtqsize(head);
    }
    updateQueryLimit();
}

void updateQueryLimit() {
    const auto max = static_cast<uint64_t>(console.primeMax);
    console.queryLimit = Q2Value{max, 0};
    uint64_t* w = _2_alocs(6);
    if (w == nullptr) return;
    // Word arrays run most significant word first: (0, max) times (0, max).
    w[0] = 0;
    w[1] = max;
    w[4] = 0;
    w[5] = max;
    _1_mul(w, 2, w + 4, 2);
    console.queryLimit = Q2Value{w[3], w[2]};
    _2_freertn(0);
}

void printStatistics(StatisticsLine form) {
    const int64_t megabytes = console.tableQwords / kWordsPerMegabyte;
    switch (form) {
        case StatisticsLine::AtStart:
            say(text::statisticsAtStart, megabytes, console.primeCount, console.primeMax);
            break;
        case StatisticsLine::Current:
            say(text::statisticsCurrent, megabytes, console.primeCount, console.primeMax);
            break;
        case StatisticsLine::Changed:
            say(text::statisticsChanged, megabytes, console.primeCount, console.primeMax);
            break;
    }
}
