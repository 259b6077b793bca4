#pragma once

#include <cstdint>
#include <ctime>

namespace veltrane::platform {

// A date and time as the program shows it: the UTC clock with one added to
// the hour and not wrapped, so 23 h UTC reads 24 on the same day.
struct ClockTime {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1 to 12
    std::int32_t day = 0;
    std::int32_t hour = 0;  // 1 to 24
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t weekday = 0;  // 0 Sunday to 6 Saturday, of the UTC date
};

// The program's clock for a UTC time in seconds since the epoch.
ClockTime programClockTime(std::time_t utcSeconds);

}  // namespace veltrane::platform
