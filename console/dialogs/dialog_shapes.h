// The shapes the dialogs share: the question dialogs' line loop, and the
// opening and closing of the table dialogs that take a size in megabytes.
#pragma once

#include <cstdint>

#include "console/dialog_io.h"

// Prompts for lines until the line "e" (or the end of standard input) and
// hands every other line to line(), with cursor on it; leaves early when
// line() returns false.
template <class Line>
void promptLines(const char* prompt, Line line) {
    for (;;) {
        readAnswer(prompt);
        if (answerIs('e') || !line()) return;
    }
}

// promptLines for lines of numbers: answer() for each number, with it in
// console.inValue. A bad token drops the rest of its line and prompts again.
inline void answerNumberLines(const char* prompt, void (*answer)()) {
    promptLines(prompt, [answer] {
        forEachNumber(answer);
        return true;
    });
}

// The heading, the current statistics and the size prompt; the first token
// of the answer is the size. True for a number below 2^64, in *megabytes and
// console.inValue; a size of 2^64 or more is refused with its message, and
// anything else (no number, the end of standard input) returns false at once.
bool askMegabytes(const char* heading, const char* prompt, uint64_t* megabytes);

// After a change of the table: refreshes the statistics, prints `done` and
// the new statistics.
void showChangedTable(const char* done);
