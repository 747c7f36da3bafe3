// The local date and time, as the platform reports it.
#pragma once

#include <cstdint>

namespace platform {

// Eight 16-bit fields, in this order.
struct LocalTime {
    uint16_t year;
    uint16_t month;      // 1..12
    uint16_t dayOfWeek;  // 0 = Sunday
    uint16_t day;        // 1..31
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t millisecond;
};
static_assert(sizeof(LocalTime) == 16);

void getLocalTime(LocalTime* out);

}  // namespace platform
