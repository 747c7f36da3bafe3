// PackedTime: packing, text form and range check.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/timestamp.h"

namespace {

platform::LocalTime at(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                       uint16_t second, uint16_t millisecond) {
    return platform::LocalTime{year, month, 3, day, hour, minute, second, millisecond};
}

std::string text(uint64_t packed) {
    char buf[32];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(timetostr(buf, packed), 0);
    EXPECT_EQ(buf[23], '\0');
    EXPECT_EQ(buf[24], '#');
    return buf;
}

TEST(TimeStamp, PackPutsEachFieldInItsBits) {
    platform::LocalTime t = at(2026, 12, 6, 6, 45, 43, 7);
    EXPECT_EQ(timepack(&t), (uint64_t{2026} << 52) | (uint64_t{12} << 44) | (uint64_t{6} << 36) |
                                (uint64_t{6} << 28) | (uint64_t{45} << 20) | (uint64_t{43} << 12) | 7);
    // The day of the week is not kept; over-wide fields keep their low bits.
    platform::LocalTime other = t;
    other.dayOfWeek = 6;
    EXPECT_EQ(timepack(&other), timepack(&t));
    platform::LocalTime wide = at(0x1FFF, 0x1FF, 0x101, 0, 0, 0, 0x1FFF);
    EXPECT_EQ(timepack(&wide), (uint64_t{0xFFF} << 52) | (uint64_t{0xFF} << 44) |
                                   (uint64_t{1} << 36) | 0xFFF);
}

TEST(TimeStamp, TextForm) {
    platform::LocalTime t = at(2026, 12, 6, 6, 45, 43, 7);
    EXPECT_EQ(text(timepack(&t)), "2026/12/06 06:45:43.007");
    platform::LocalTime zero = at(0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(text(timepack(&zero)), "0000/00/00 00:00:00.000");
    // Fields are not checked: the last digits are shown.
    platform::LocalTime odd = at(4095, 255, 123, 99, 200, 60, 4095);
    EXPECT_EQ(text(timepack(&odd)), "4095/55/23 99:00:60.095");
}

TEST(TimeStamp, NoStampWritesNothing) {
    char buf[24];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(timetostr(buf, ~uint64_t{0}), -1);
    EXPECT_EQ(std::string(buf, sizeof buf), std::string(24, '#'));
}

TEST(TimeStamp, FourDigits) {
    auto digits = [](uint64_t v) {
        uint32_t d = timedgt4(v);
        char s[4];
        std::memcpy(s, &d, 4);  // thousands first in memory
        return std::string(s, 4);
    };
    EXPECT_EQ(digits(0), "0000");
    EXPECT_EQ(digits(7), "0007");
    EXPECT_EQ(digits(1234), "1234");
    EXPECT_EQ(digits(9999), "9999");
}

TEST(TimeStamp, RangeCheck) {
    auto check = [](platform::LocalTime t) {
        uint64_t p = timepack(&t);
        return timechk(p) == p;
    };
    EXPECT_TRUE(check(at(1970, 1, 1, 0, 0, 0, 0)));
    EXPECT_TRUE(check(at(2500, 12, 31, 23, 59, 59, 999)));
    EXPECT_TRUE(check(at(2026, 2, 31, 12, 0, 0, 0)));  // month lengths are not checked
    EXPECT_FALSE(check(at(1969, 6, 1, 0, 0, 0, 0)));
    EXPECT_FALSE(check(at(2501, 6, 1, 0, 0, 0, 0)));
    EXPECT_FALSE(check(at(2026, 0, 1, 0, 0, 0, 0)));
    EXPECT_FALSE(check(at(2026, 13, 1, 0, 0, 0, 0)));
    EXPECT_FALSE(check(at(2026, 6, 0, 0, 0, 0, 0)));
    EXPECT_FALSE(check(at(2026, 6, 32, 0, 0, 0, 0)));
    EXPECT_FALSE(check(at(2026, 6, 1, 24, 0, 0, 0)));
    EXPECT_FALSE(check(at(2026, 6, 1, 0, 60, 0, 0)));
    EXPECT_FALSE(check(at(2026, 6, 1, 0, 0, 60, 0)));
    EXPECT_FALSE(check(at(2026, 6, 1, 0, 0, 0, 1000)));
    EXPECT_EQ(timechk(~uint64_t{0}), ~uint64_t{0});
}

}  // namespace
