#include "platform/timestamp.h"

namespace {

struct Field {
    unsigned shift;
    unsigned width;
};
constexpr Field kYear{52, 12}, kMonth{44, 8}, kDay{36, 8}, kHour{28, 8},
    kMinute{20, 8}, kSecond{12, 8}, kMillisecond{0, 12};

constexpr uint64_t put(uint64_t value, Field f) {
    return (value & ((uint64_t{1} << f.width) - 1)) << f.shift;
}
constexpr uint64_t get(uint64_t packed, Field f) {
    return (packed >> f.shift) & ((uint64_t{1} << f.width) - 1);
}

// Writes the last `digits` digits of v (taken from timedgt4) at out.
char* putDigits(char* out, uint64_t v, int digits) {
    uint32_t four = timedgt4(v % 10000);
    for (int i = 4 - digits; i < 4; ++i) *out++ = static_cast<char>(four >> (8 * i));
    return out;
}

}  // namespace

extern "C" uint64_t timepack(const platform::LocalTime* t) {
    return put(t->year, kYear) | put(t->month, kMonth) | put(t->day, kDay) |
           put(t->hour, kHour) | put(t->minute, kMinute) | put(t->second, kSecond) |
           put(t->millisecond, kMillisecond);
}

extern "C" uint32_t timedgt4(uint64_t v) {
    uint64_t high = v / 100, low = v % 100;
    uint32_t digits[4] = {static_cast<uint32_t>(high / 10), static_cast<uint32_t>(high % 10),
                          static_cast<uint32_t>(low / 10), static_cast<uint32_t>(low % 10)};
    uint32_t text = 0;
    for (int i = 0; i < 4; ++i) text |= (digits[i] + '0') << (8 * i);
    return text;
}

extern "C" int64_t timetostr(char* out, uint64_t packed) {
    if (packed == kNoTimeStamp) return -1;
    char* p = putDigits(out, get(packed, kYear), 4);
    *p++ = '/';
    p = putDigits(p, get(packed, kMonth), 2);
    *p++ = '/';
    p = putDigits(p, get(packed, kDay), 2);
    *p++ = ' ';
    p = putDigits(p, get(packed, kHour), 2);
    *p++ = ':';
    p = putDigits(p, get(packed, kMinute), 2);
    *p++ = ':';
    p = putDigits(p, get(packed, kSecond), 2);
    *p++ = '.';
    p = putDigits(p, get(packed, kMillisecond), 3);
    *p = '\0';
    return 0;
}

extern "C" uint64_t timechk(uint64_t packed) {
    struct Range {
        Field field;
        uint64_t low, high;
    };
    constexpr Range ranges[] = {{kYear, 1970, 2500}, {kMonth, 1, 12},  {kDay, 1, 31},
                                {kHour, 0, 23},      {kMinute, 0, 59}, {kSecond, 0, 59},
                                {kMillisecond, 0, 999}};
    for (const Range& r : ranges) {
        uint64_t v = get(packed, r.field);
        if (v < r.low || v > r.high) return kNoTimeStamp;
    }
    return packed;
}
