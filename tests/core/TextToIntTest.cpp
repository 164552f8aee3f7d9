// The text-to-integer rule used for every number in the settings file and dialog.
#include "core/TextToInt.h"

#include <gtest/gtest.h>

#include <string_view>

TEST(TextToInt, ConvertsExactlyTheTextsOfTheRule)
{
    // Why: every hand-edited setting goes through this rule; a lenient or strict slip changes
    // what users' files mean.
    struct Case
    {
        std::string_view text;
        std::int32_t expected;
    };
    constexpr std::int32_t F = -777; // the caller's fallback
    const Case cases[] = {
        {"60", 60},
        {"0", 0},
        {"+5", 5},
        {"-5", -5},
        {"007", 7},
        {"  42", 42},
        {"\t42", 42},
        {" \t -3", -3},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x3C", 60},
        {"0X5a", 90},
        {"-0x10", -16},
        {"+$10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"0x7FFFFFFF", 2147483647},
        {"-0x80000000", INT32_MIN},
        {"000000000000000000000012", 12},
        {"", F},
        {" ", F},
        {"-", F},
        {"+", F},
        {"$", F},
        {"0x", F},
        {"x", F},
        {"-$", F},
        {"abc", F},
        {"12 ", F},
        {"12\t", F},
        {"1 2", F},
        {"- 5", F},
        {"--5", F},
        {"+-5", F},
        {"5-", F},
        {"1e3", F},
        {"3.0", F},
        {"0x1G", F},
        {"$-1", F},
        {"2147483648", F},
        {"-2147483649", F},
        {"0x80000000", F},
        {"0xFFFFFFFF", F},
        {"99999999999999999999999", F},
        {"\n5", F},
        {std::string_view("5\0", 2), F},
        {"\xEF\xBC\x95", F}, // a full-width digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(textToInt(c.text, F), c.expected) << '"' << c.text << '"';
}
