#include "platform/localtime.h"

#include <sys/time.h>
#include <time.h>

namespace platform {

void getLocalTime(LocalTime* out) {
    timeval now{};
    gettimeofday(&now, nullptr);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    out->year = static_cast<uint16_t>(local.tm_year + 1900);
    out->month = static_cast<uint16_t>(local.tm_mon + 1);
    out->dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    out->day = static_cast<uint16_t>(local.tm_mday);
    out->hour = static_cast<uint16_t>(local.tm_hour);
    out->minute = static_cast<uint16_t>(local.tm_min);
    out->second = static_cast<uint16_t>(local.tm_sec);
    out->millisecond = static_cast<uint16_t>(now.tv_usec / 1000);
}

}  // namespace platform
