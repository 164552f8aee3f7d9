// The survey campaign's dates, password rule and page addresses.
#include "core/Survey.h"

#include "BuildConfig.h"

#include <gtest/gtest.h>

TEST(Survey, IsDueFromTheTwentyFirstDayUntilTheEndDateWithoutThePassword)
{
    // Why: the requests must start and stop on exactly these days.
    struct Case
    {
        DateTime today;
        DateTime firstActivated;
        const char* password;
        bool due;
    };
    const DateTime jan11 = encodeDate(2007, 1, 11);
    const Case cases[] = {
        {encodeDate(2007, 2, 1), jan11, "", true},        // 21 days, last campaign day
        {encodeDate(2007, 1, 31), jan11, "", false},      // 20 days
        {encodeDate(2007, 2, 2), jan11, "", false},       // after the end date
        {encodeDate(2007, 2, 1) + 0.9, jan11, "", true},  // time of day of today ignored
        {encodeDate(2007, 2, 1), jan11, "QXJ", false},    // password accepted
        {encodeDate(2007, 2, 1), jan11, "qxj", true},     // compared exactly
        {encodeDate(2007, 2, 1), jan11, "QXJ ", true},    // whole text
        {encodeDate(2007, 2, 1), jan11 + 0.5, "", false}, // stored time moves the threshold
        {encodeDate(2006, 12, 1), encodeDate(2006, 11, 1), "", true},
        {encodeDate(2006, 12, 1), encodeDate(2006, 11, 11), "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSurveyDue(c.today, c.firstActivated, c.password), c.due)
            << formatDateTime(c.today) << " / " << formatDateTime(c.firstActivated) << " / "
            << c.password;
}

TEST(Survey, StartPageOnlyOnAFirstRunUpToTheStartPageEndDate)
{
    // Why: the welcome page opens once per installation and only during the campaign.
    EXPECT_TRUE(isStartPageDue(true, encodeDate(2007, 1, 1)));
    EXPECT_TRUE(isStartPageDue(true, encodeDate(2007, 1, 1) + 0.99));
    EXPECT_TRUE(isStartPageDue(true, encodeDate(2006, 6, 1)));
    EXPECT_FALSE(isStartPageDue(true, encodeDate(2007, 1, 2)));
    EXPECT_FALSE(isStartPageDue(false, encodeDate(2006, 6, 1)));
}

TEST(Survey, PasswordMustBeExactlyQXJ)
{
    // Why: only the questionnaire's password may end the requests.
    EXPECT_TRUE(isCampaignPassword("QXJ"));
    for (const char* typed : {"qxj", "QXJ ", " QXJ", "QX", "QXJQ", ""})
        EXPECT_FALSE(isCampaignPassword(typed)) << '"' << typed << '"';
}

TEST(Survey, PagesCarryTheIdUnescaped)
{
    // Why: the maker's server reads the identifier exactly as stored.
    const std::string host = BuildConfig::MakerHost;
    EXPECT_EQ(startPageUrl("1-2-3-4-5-6"), "http://" + host + "/rupeta/start.aspx?ID=1-2-3-4-5-6");
    EXPECT_EQ(surveyPageUrl("1-2-3-4-5-6"),
              "http://" + host + "/rupeta/monitor.aspx?ID=1-2-3-4-5-6");
    EXPECT_EQ(startPageUrl(""), "http://" + host + "/rupeta/start.aspx?ID=");
    EXPECT_EQ(surveyPageUrl("a b&c"), "http://" + host + "/rupeta/monitor.aspx?ID=a b&c");
}

TEST(Survey, BothPagesGetTheIdConvertedFromCodePage932)
{
    // Why: a hand-edited non-ASCII identifier must reach both pages as the same characters.
    const std::string host = BuildConfig::MakerHost;
    EXPECT_EQ(startPageUrl("\x83\x5C-1"), "http://" + host + "/rupeta/start.aspx?ID=ソ-1");
    EXPECT_EQ(surveyPageUrl("\x83\x5C-1"), "http://" + host + "/rupeta/monitor.aspx?ID=ソ-1");
}
