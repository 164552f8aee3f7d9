// Date-time values and the text forms stored for "first-activated".
#include "core/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DateTime, EncodesDaysSince18991230)
{
    // Why: the campaign dates and the stored dates must share one day count.
    EXPECT_EQ(encodeDate(1899, 12, 30), 0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2);
    EXPECT_EQ(encodeDate(1970, 1, 1), 25569);
    EXPECT_EQ(encodeDate(2007, 2, 1), 39114);
    EXPECT_EQ(encodeTime(12, 0, 0), 0.5);
    EXPECT_EQ(dateOnly(39114.75), 39114);
    EXPECT_EQ(secondsSince1970(25569), 0);
    EXPECT_EQ(secondsSince1970(25570.5), 86400 + 43200);
}

TEST(DateTime, SecondsSince1970AreTruncated)
{
    // Why: the identifier's seed is the whole second the clock shows, never the next one.
    const DateTime second = encodeDate(2024, 5, 6) + encodeTime(10, 20, 30);
    const double ms = 1.0 / 86400000;
    for (const double offset : {0.0, 1 * ms, 499 * ms, 500 * ms, 999 * ms})
        EXPECT_EQ(secondsSince1970(second + offset), 1714990830) << offset / ms << " ms";
    EXPECT_EQ(secondsSince1970(second + 1000 * ms), 1714990831);
}

TEST(DateTime, FormatsDateTimeOrBothRoundedToTheSecond)
{
    // Why: whole days are what the program stores; other forms must still read back.
    struct Case
    {
        DateTime value;
        const char* text;
    };
    const Case cases[] = {
        {encodeDate(2007, 1, 11), "2007/01/11"},
        {encodeDate(2007, 1, 11) + encodeTime(9, 5, 7), "2007/01/11 09:05:07"},
        {encodeDate(2024, 2, 29) + encodeTime(23, 59, 59), "2024/02/29 23:59:59"},
        {encodeTime(13, 4, 0), "13:04:00"},
        {0, "00:00:00"},
        {1, "1899/12/31"},
        {encodeDate(2007, 1, 11) + 0.4 / 86400, "2007/01/11"},
        {encodeDate(2007, 1, 11) + 0.6 / 86400, "2007/01/11 00:00:01"},
        {encodeDate(2007, 1, 11) - 0.4 / 86400, "2007/01/11"},
        {0.99999999, "1899/12/31"},
        {encodeDate(9999, 12, 31) + encodeTime(23, 59, 59), "9999/12/31 23:59:59"},
        // No text form reads these back, so none is written.
        {-1, ""},
        {encodeDate(10000, 1, 1), ""},
        {NAN, ""},
        {INFINITY, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDateTime(c.value), c.text) << c.value;
}

TEST(DateTime, ParsesTheWrittenFormsAndRejectsImpossibleOnes)
{
    // Why: a hand-edited date that parses must mean what it says; anything else means today.
    struct Case
    {
        const char* text;
        std::optional<DateTime> value;
    };
    const DateTime jan11 = encodeDate(2007, 1, 11);
    const Case cases[] = {
        {"2007/01/11", jan11},
        {"2007/1/11", jan11},
        {"2007/01/1", encodeDate(2007, 1, 1)},
        {"2007-01-11", jan11},
        {"2007-1-11 9:05:07", jan11 + encodeTime(9, 5, 7)},
        {"2007/01/11 09:05:07", jan11 + encodeTime(9, 5, 7)},
        {"2007/01/11 9:05", jan11 + encodeTime(9, 5, 0)},
        {"2007/01/11  09:05:07", jan11 + encodeTime(9, 5, 7)},
        {"13:04:00", encodeTime(13, 4, 0)},
        {"2024/02/29", encodeDate(2024, 2, 29)},
        {"2000/02/29", encodeDate(2000, 2, 29)},
        {"1899/12/30", 0},
        {"1899/12/31", 1},
        {"2007/02/30", std::nullopt},
        {"2023/02/29", std::nullopt},
        {"1900/02/29", std::nullopt},
        {"2007/13/01", std::nullopt},
        {"2007/00/10", std::nullopt},
        {"2007/01/00", std::nullopt},
        {"2007/01/32", std::nullopt},
        {"1899/12/29", std::nullopt},
        {"1066/10/14", std::nullopt},
        {"2007/01-11", std::nullopt},
        {"07/01/11", std::nullopt},
        {"20070/1/11", std::nullopt},
        {"2007/001/11", std::nullopt},
        {"2007/01/11 24:00:00", std::nullopt},
        {"2007/01/11 23:60:00", std::nullopt},
        {"2007/01/11 23:00:60", std::nullopt},
        {"2007/01/11 ", std::nullopt},
        {"2007/01/11T09:05:07", std::nullopt},
        {"2007/01/11 09:05:07x", std::nullopt},
        {" 2007/01/11", std::nullopt},
        {"", std::nullopt},
        {"today", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDateTime(c.text), c.value) << '"' << c.text << '"';
}

TEST(DateTime, EveryWrittenValueReadsBackAsTheSameValue)
{
    // Why: a saved "first-activated" must not drift or turn into today at the next start.
    std::uint32_t state = 1;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1664525u + 1013904223u;
        const DateTime day = state % 2958466; // up to 9999/12/31
        const DateTime value = i % 3 == 0 ? day : day + (state >> 8) % 86400 / 86400.0;
        const std::string text = formatDateTime(value);
        const auto back = parseDateTime(text);
        ASSERT_TRUE(back) << value << " -> " << text;
        EXPECT_NEAR(*back, value, 0.5 / 86400) << text;
        EXPECT_EQ(formatDateTime(*back), text);
        EXPECT_EQ(parseDateTime(formatDateTime(*back)), back) << text;
    }
}
