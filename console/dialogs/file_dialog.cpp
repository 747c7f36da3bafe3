// Table menu "f": write the table to prime.dat or read it back.
//
// The file is named relative to the current directory, so a directory of any
// depth works; the messages show its full path.
#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/dialogs/dialogs.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "console/texts_cp932.h"
#include "platform/fullpath.h"
#include "primetable/prime_index.h"
#include "primetable/table_file.h"

namespace {

constexpr const char* kFileName = "prime.dat";

void writeTable(const char* path) {
    if (!haveTable()) return;
    say(text::fileWriting, path);
    flushOutput();
    say(text::fileWritten, tablefile::save(console.tableHead, kFileName));
}

void readTable(const char* path) {
    tablefile::Reader reader;
    if (!tablefile::open(reader, kFileName)) {
        say(text::fileMissing, path);
        return;
    }
    // The current table is given up only for a file that can become a table.
    if (!tablefile::check(reader)) {
        tablefile::close(reader);
        say(text::fileNotTable, path);
        return;
    }
    say(text::fileReading, path);
    flushOutput();
    freeChain();
    TableBlock* head = nullptr;
    TableBlock* newest = nullptr;
    tablefile::LoadResult result = tablefile::load(reader, &head, &newest);
    tablefile::close(reader);
    console.tableHead = head;
    console.newestBlock = newest;
    // The prime-count index is counted from the bits that were read (those
    // of a partly read table too), before the statistics use it.
    primeindex::build(head);
    if (result != tablefile::LoadResult::Complete) say(text::fileReadFailed);
    refreshStatistics();
    printStatistics(StatisticsLine::Current);
}

}  // namespace

void fileDialog() {
    say(text::fileHeading);
    if (!readAnswer(text::fileMenu)) return;
    char key;
    if (!answerIsOneByte(&key) || key == 'e') return;
    const char* path = platform::fullPath(kFileName);
    if (path == nullptr) {
        say(text::fileNoPath);
        return;
    }
    if (key == 'w') writeTable(path);
    if (key == 'r') readTable(path);
}
