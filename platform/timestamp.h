// PackedTime: a local date and time in one 64-bit word, and its text form
// YYYY/MM/DD hh:mm:ss.mmm (23 characters and a NUL).
//
// Bits, most significant first: year 52-63 (12), month 44-51, day 36-43,
// hour 28-35, minute 20-27, second 12-19 (8 each), millisecond 0-11 (12).
// All ones means "no time stamp".
#pragma once

#include <cstdint>

#include "platform/localtime.h"

inline constexpr uint64_t kNoTimeStamp = ~UINT64_C(0);
inline constexpr uint64_t kTimeTextBytes = 24;

extern "C" {
// Packs the platform's record; year and millisecond keep their low 12 bits,
// the other fields their low 8 bits. No check is made.
uint64_t timepack(const platform::LocalTime* time);

// Writes the 23-character text and its NUL into `out` (at least 24 bytes) and
// returns 0; returns -1 and writes nothing for the all-ones value. Fields are
// not checked: 8-bit fields show their last two digits, the millisecond its
// last three, the year four.
int64_t timetostr(char* out, uint64_t packed);

// The four decimal digits of v (0..9999) as ASCII, thousands in the lowest byte.
uint32_t timedgt4(uint64_t v);

// The stamp unchanged when every field is in range (year 1970-2500, month
// 1-12, day 1-31, hour 0-23, minute and second 0-59, millisecond 0-999),
// otherwise all ones. Month lengths are not checked.
uint64_t timechk(uint64_t packed);
}
