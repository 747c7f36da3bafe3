// The console's single state record, shared by the menus and every dialog.
#pragma once

#include <cstdint>

#include "platform/localtime.h"
#include "primetable/table_words.h"
#include "q64/base.h"

struct ConsoleState {
    char lineBuf[128];         // the answer line; also the time stamp text
    char* cursor;              // start of the next token
    uint64_t tokenLen;         // length of the token at cursor
    Q2Value inValue;           // the last number parsed
    TableBlock* tableHead;     // first block of the prime table; null: no table
    TableBlock* newestBlock;   // the block most recently obtained
    int64_t tableQwords;       // words of all blocks
    int64_t primeCount;        // primes below the table's limit
    int64_t primeMax;          // largest prime of the table
    Q2Value queryLimit;        // primeMax squared: the largest number a query takes
    platform::LocalTime localTime;
};

extern ConsoleState console;
