// The local wall clock through the Windows API, which always uses the current time zone.
#include "shell/platform/LocalClock.h"

#include <windows.h>

DateTime localClockNow()
{
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return encodeDate(local.wYear, local.wMonth, local.wDay) +
           encodeTime(local.wHour, local.wMinute, local.wSecond) +
           local.wMilliseconds / (24.0 * 60 * 60 * 1000);
}
