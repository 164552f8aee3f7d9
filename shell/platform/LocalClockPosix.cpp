// The local wall clock through the C library.
#include "shell/platform/LocalClock.h"

#include <chrono>
#include <ctime>

DateTime localClockNow()
{
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() %
        1000;
    // localtime_r keeps the zone it found first for the whole process. tzset() looks again:
    // at TZ, and without TZ at whether /etc/localtime was replaced, so a zone change made
    // while the program runs moves "today" at once.
    tzset();
    std::tm local{};
    localtime_r(&seconds, &local);
    return encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           encodeTime(local.tm_hour, local.tm_min, local.tm_sec) +
           static_cast<double>(millis) / (24.0 * 60 * 60 * 1000);
}
