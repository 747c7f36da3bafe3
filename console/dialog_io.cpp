#include "console/dialog_io.h"

#include <cstdio>

#include "console/console_state.h"
#include "console/output.h"
#include "console/texts_cp932.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"

namespace {
// Set once standard input has ended; every later read answers "e" at once.
bool inputEnded = false;

constexpr int kLineBytes = sizeof console.lineBuf;
constexpr uint64_t kTextWords = 8;  // 64 bytes hold 39 digits and the NUL
}  // namespace

bool readAnswer(const char* prompt) {
    for (;;) {
        say(text::promptFormat, prompt);
        flushOutput();
        if (inputEnded || std::fgets(console.lineBuf, kLineBytes, stdin) == nullptr) {
            inputEnded = true;
            console.lineBuf[0] = 'e';
            console.lineBuf[1] = '\0';
            console.cursor = console.lineBuf;
            return false;
        }
        _0_schtozr(console.lineBuf, 0);
        console.cursor = _0_nextch(console.lineBuf);
        if (_0_strcmp(console.cursor, "") != 0) return true;
    }
}

bool answerIsOneByte(char* key) {
    if (_0_strlen(console.cursor) != 1) return false;
    *key = console.cursor[0];
    return true;
}

bool answerIs(char key) {
    char got;
    return answerIsOneByte(&got) && got == key;
}

bool confirm(const char* prompt) {
    readAnswer(prompt);
    return answerIs('y');
}

Token takeNumber() {
    if (*console.cursor == '\0') return Token::End;
    console.tokenLen = _0_strchar(console.cursor, ' ');
    if (_0_dgtlen(console.cursor) != console.tokenLen) return Token::Bad;
    if (_0_strtobigar(&console.inValue, console.cursor, console.tokenLen) == nullptr) return Token::Bad;
    return Token::Number;
}

void skipToken() {
    console.cursor += console.tokenLen;
    _0_schtozr(console.cursor, 0);
    console.cursor = _0_nextch(console.cursor);
}

bool forEachNumber(void (*answer)()) {
    for (;;) {
        switch (takeNumber()) {
            case Token::End: return true;
            case Token::Bad: return false;
            case Token::Number:
                answer();
                skipToken();
                break;
        }
    }
}

const char* decimalText(Q2Value v) {
    char* block = reinterpret_cast<char*>(_2_alocs(kTextWords));
    if (block == nullptr) return text::noNumberText;
    block[_0_numq2tostr(block, v.lo, v.hi)] = '\0';
    _2_frees();
    return block;
}

bool haveTable() {
    if (console.tableHead != nullptr) return true;
    say(text::noTable);
    return false;
}

void console_testing::forgetEndOfInput() { inputEnded = false; }
