// The local wall clock on Windows: the system's UTC moved by the current zone's offset.
#include "shell/platform/LocalClock.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

namespace {

// Minutes east of UTC that the system applies now.
long zoneOffsetMinutes()
{
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    long bias = zone.Bias;
    if (which == TIME_ZONE_ID_STANDARD)
        bias += zone.StandardBias;
    else if (which == TIME_ZONE_ID_DAYLIGHT)
        bias += zone.DaylightBias;
    return -bias;
}

DateTime utcNow()
{
    const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    return 25569 + std::chrono::duration<double>(since1970).count() / 86400;
}

} // namespace

TEST(LocalClockWin, IsUtcShiftedByTheCurrentZone)
{
    // Why: the date that decides the survey and the start page is the user's local one.
    const long offset = zoneOffsetMinutes();
    // The test runs in a zone away from UTC, so a clock that ignored the zone would show.
    ASSERT_NE(offset, 0) << "run this test with TZ set to a zone other than UTC";
    const DateTime utc = utcNow();
    const DateTime local = localClockNow();
    EXPECT_NEAR((local - utc) * 24 * 60, static_cast<double>(offset), 2.0 / 60);
}
