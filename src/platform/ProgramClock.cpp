#include "platform/ProgramClock.h"

namespace veltrane::platform {

ClockTime programClockTime(std::time_t utcSeconds) {
    std::tm utc{};
    gmtime_r(&utcSeconds, &utc);
    ClockTime time;
    time.year = utc.tm_year + 1900;
    time.month = utc.tm_mon + 1;
    time.day = utc.tm_mday;
    time.hour = utc.tm_hour + 1;
    time.minute = utc.tm_min;
    time.second = utc.tm_sec;
    time.weekday = utc.tm_wday;
    return time;
}

}  // namespace veltrane::platform
