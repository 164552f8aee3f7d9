// Local date-time as days since 1899-12-30 (fraction = time of day), and its text forms.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using DateTime = double;

// Whole days of a civil date; the date must be valid.
DateTime encodeDate(int year, int month, int day);
// Fraction of a day for a time of day.
DateTime encodeTime(int hour, int minute, int second);
// The date part of a value (today from now).
DateTime dateOnly(DateTime value);
// Whole seconds (truncated) since 1970-01-01 00:00 counted on the same (local) clock as the
// value.
std::int64_t secondsSince1970(DateTime value);

// "yyyy/MM/dd" for whole days, "hh:mm:ss" below 1.0, "yyyy/MM/dd hh:mm:ss" otherwise, rounded
// to the nearest second; empty for a value with no such form (negative, not finite, or after
// 9999/12/31).
std::string formatDateTime(DateTime value);
// Reads what formatDateTime writes, single-digit month/day/hour, optional seconds, and
// "yyyy-MM-dd" (with or without a time); nothing for any other text, an impossible date or a
// date before 1899/12/30.
std::optional<DateTime> parseDateTime(std::string_view text);
