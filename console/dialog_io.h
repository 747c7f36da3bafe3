// Reading answers: the building blocks of the menus and of every dialog.
//
// All of them work on the single ConsoleState `console`: the answer line in
// lineBuf, the reading position cursor, the token length tokenLen and the
// last number inValue.
#pragma once

#include "q64/base.h"

// Prints "\n%s" with the prompt, flushes standard output and reads one line
// of at most 127 bytes into lineBuf (the rest of a longer line is read as the
// next line). The line is cut at its first control byte (so a tab ends it),
// cursor skips blanks and tabs, and an empty rest asks again. Returns true
// with cursor on the answer; at the end of standard input returns false with
// the answer "e", now and at every later read, so every level unwinds.
bool readAnswer(const char* prompt);

// The rest of the line is exactly the one byte `key` (menus, "e", "y").
bool answerIs(char key);
// The rest of the line is exactly one byte; it is stored in *key.
bool answerIsOneByte(char* key);

// Reads an answer with the prompt; yes only for exactly "y".
bool confirm(const char* prompt);

// The token at cursor, up to the next blank or the end of the line.
enum class Token {
    Number,  // all digits and below 2^128: parsed into console.inValue
    Bad,     // any other byte, or too large
    End,     // nothing left on the line
};
Token takeNumber();
// Moves cursor past the token and the blanks and tabs after it.
void skipToken();

// Calls answer() for every number token left on the line, skipping past each.
// Returns true at the end of the line, false at a bad token (the rest of the
// line is then dropped).
bool forEachNumber(void (*answer)());

// The decimal text of v, built in an 8-word scratch block that is given back
// before returning: print it at once, before anything takes scratch memory.
// When no block can be had the text is "?".
const char* decimalText(Q2Value v);

// True when there is a table; otherwise prints "\n素数テーブルがありません".
bool haveTable();

namespace console_testing {
// Forgets that standard input has ended: for harnesses that run the whole
// console more than once in one process, each time on a new standard input.
void forgetEndOfInput();
}  // namespace console_testing
