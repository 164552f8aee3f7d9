// Date-time values as days since 1899-12-30, and their "yyyy/MM/dd hh:mm:ss" text forms.
#include "core/DateTime.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr std::int64_t SecondsPerDay = 86400;
// Days from 1899-12-30 to 1970-01-01.
constexpr std::int64_t UnixEpochDays = 25569;
// Dates are kept within four-digit years from the representation's day zero onwards; a value
// outside this range has no text form that reads back.
constexpr int FirstYear = 1899;
constexpr int LastYear = 9999;

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil
{
    std::int64_t year;
    unsigned month;
    unsigned day;
};

Civil civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool isLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// Reads 1 to maxDigits decimal digits at pos.
bool readNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits, int& value)
{
    std::size_t n = 0;
    value = 0;
    while (pos < text.size() && n < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++n;
    }
    return n > 0;
}

bool readChar(std::string_view text, std::size_t& pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// "h:mm" or "h:mm:ss" with one or two digits per field; the seconds of the day.
bool readTime(std::string_view text, std::size_t& pos, std::int64_t& seconds)
{
    int h = 0, m = 0, s = 0;
    if (!readNumber(text, pos, 2, h) || !readChar(text, pos, ':') || !readNumber(text, pos, 2, m))
        return false;
    if (readChar(text, pos, ':') && !readNumber(text, pos, 2, s))
        return false;
    if (h > 23 || m > 59 || s > 59)
        return false;
    seconds = h * 3600 + m * 60 + s;
    return true;
}

// "yyyy/M/d" or "yyyy-M-d" with the same separator twice; the serial day.
bool readDate(std::string_view text, std::size_t& pos, std::int64_t& serialDay)
{
    const std::size_t start = pos;
    int y = 0, m = 0, d = 0;
    if (!readNumber(text, pos, 4, y) || pos - start != 4 || pos >= text.size())
        return false;
    const char sep = text[pos];
    if (sep != '/' && sep != '-')
        return false;
    ++pos;
    if (!readNumber(text, pos, 2, m) || !readChar(text, pos, sep) || !readNumber(text, pos, 2, d))
        return false;
    if (y < FirstYear || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m))
        return false;
    serialDay = daysFromCivil(y, m, d) + UnixEpochDays;
    // Days before the representation's day zero count backwards in a way that does not
    // survive formatting, so they are not accepted.
    return serialDay >= 0;
}

} // namespace

DateTime encodeDate(int year, int month, int day)
{
    return static_cast<DateTime>(daysFromCivil(year, month, day) + UnixEpochDays);
}

DateTime encodeTime(int hour, int minute, int second)
{
    return static_cast<DateTime>(hour * 3600 + minute * 60 + second) / SecondsPerDay;
}

DateTime dateOnly(DateTime value)
{
    return std::floor(value);
}

std::int64_t secondsSince1970(DateTime value)
{
    // Whole milliseconds first, the clock's resolution, so that a reading at a whole second
    // that floating point puts a hair below it still counts as that second; then the seconds
    // truncated.
    const double millis = std::round((value - UnixEpochDays) * SecondsPerDay * 1000);
    // Keep the conversion defined for any clock reading.
    if (!(millis > -9.0e18 && millis < 9.0e18))
        return 0;
    return static_cast<std::int64_t>(millis) / 1000;
}

std::string formatDateTime(DateTime value)
{
    static const double lastSecond =
        static_cast<double>((daysFromCivil(LastYear, 12, 31) + UnixEpochDays + 1) * SecondsPerDay);
    const double rounded = std::round(value * SecondsPerDay);
    if (!(rounded >= 0 && rounded < lastSecond))
        return {};
    const auto total = static_cast<std::int64_t>(rounded);
    const std::int64_t days = total / SecondsPerDay;
    const auto secondsOfDay = static_cast<int>(total % SecondsPerDay);

    char time[32];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", secondsOfDay / 3600, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    if (days == 0)
        return time;
    const Civil c = civilFromDays(days - UnixEpochDays);
    char date[40];
    std::snprintf(date, sizeof date, "%04d/%02u/%02u", static_cast<int>(c.year), c.month, c.day);
    if (secondsOfDay == 0)
        return date;
    return std::string(date) + ' ' + time;
}

std::optional<DateTime> parseDateTime(std::string_view text)
{
    std::size_t pos = 0;
    std::int64_t day = 0;
    std::int64_t seconds = 0;
    if (readDate(text, pos, day)) {
        if (pos < text.size()) {
            if (!readChar(text, pos, ' '))
                return std::nullopt;
            while (readChar(text, pos, ' ')) {
            }
            if (!readTime(text, pos, seconds))
                return std::nullopt;
        }
    } else {
        pos = 0;
        if (!readTime(text, pos, seconds))
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    return static_cast<DateTime>(day) + static_cast<DateTime>(seconds) / SecondsPerDay;
}
