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
    switch (openTableFile(reader, kFileName)) {
        case TableFileCheck::Missing: say(text::fileMissing, path); return;
        case TableFileCheck::NotTable: say(text::fileNotTable, path); return;
        case TableFileCheck::Checked: break;
    }
    say(text::fileReading, path);
    flushOutput();
    switch (replaceTableFromFile(reader)) {
        case tablefile::LoadResult::Damaged: say(text::fileNotTable, path); return;
        case tablefile::LoadResult::Partial: say(text::fileReadFailed); break;
        case tablefile::LoadResult::Complete: break;
    }
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
