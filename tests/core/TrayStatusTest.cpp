// The tray icon's picture steps, tooltip and change cache.
#include "core/TrayStatus.h"

#include "core/Cp932.h"

#include <gtest/gtest.h>

#include <climits>

TEST(TrayStatus, PictureFollowsTheSixteenStepTable)
{
    // Why: the icon is the only progress display; each minute must pick the right picture.
    struct Case
    {
        std::int32_t e;
        std::int32_t t;
        bool idle;
        int image;
    };
    const Case cases[] = {
        {0, 30, false, 1},
        {1, 30, false, 1},
        {2, 30, false, 10},
        {4, 30, false, 7},
        {6, 30, false, 14},
        {8, 30, false, 2},
        {15, 30, false, 3},
        {28, 30, false, 5},
        {29, 30, false, 13},
        {0, 60, false, 1},
        {3, 60, false, 1},
        {4, 60, false, 10},
        {19, 60, false, 15},
        {23, 60, false, 8},
        {30, 60, false, 3},
        {34, 60, false, 16},
        {38, 60, false, 9},
        {45, 60, false, 4},
        {49, 60, false, 17},
        {56, 60, false, 5},
        {59, 60, false, 13},
        {5, 90, false, 1},
        {6, 90, false, 10},
        {45, 90, false, 3},
        {84, 90, false, 5},
        {85, 90, false, 13},
        {42, 60, false, 12},
        {27, 60, false, 11},
        // Idle wins over progress.
        {12, 60, true, 6},
        {0, 30, true, 6},
        // Out-of-range values: no crash, no overflow, nearest end of the table.
        {60, 60, false, 13},
        {INT32_MAX, 1, false, 13},
        {-5, 30, false, 1},
        {INT32_MIN, 1, false, 1},
        {10, 0, false, 1},
        {10, -30, false, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trayImageFor(c.e, c.t, c.idle), c.image)
            << c.e << " of " << c.t << (c.idle ? " idle" : "");
}

TEST(TrayStatus, TooltipTellsElapsedAndConfiguredMinutesAndFitsTheTipBuffer)
{
    // Why: the tooltip text is fixed, and its code page 932 form must fit 63 bytes + NUL.
    EXPECT_EQ(trayTooltip(12, 60), "12分経過しました\n(タイマー設定: 60分間)");
    EXPECT_EQ(utf8ToCp932(trayTooltip(89, 90)).size(), 39u);
    EXPECT_LE(utf8ToCp932(trayTooltip(INT32_MIN, INT32_MIN)).size(), 63u);
}

TEST(TrayStatus, StepOfImageInvertsTheTable)
{
    // Why: the generator draws ImageN from its step; a picture drawn for the wrong step would
    // show the wrong progress.
    EXPECT_EQ(trayStepOfImage(6), -1);
    for (int step = 0; step < 16; ++step)
        EXPECT_EQ(trayStepOfImage(trayImageFor(step, 16, false)), step) << step;
    EXPECT_EQ(trayStepOfImage(0), -1);
    EXPECT_EQ(trayStepOfImage(18), -1);
}

TEST(TrayStatus, SendsOnlyWhenMinutesPeriodOrIdleFlagChange)
{
    // Why: the tray is refreshed every second and must be sent only real changes; a picture
    // only when it differs from the one shown, starting with the first picture the icon has.
    TrayStatus status;
    // The cache starts at 0 minutes of 0 and not idle.
    EXPECT_FALSE(status.update(0, 0, false));

    const auto first = status.update(0, 30, false);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->image, std::nullopt); // the icon was created with Image1
    EXPECT_EQ(first->tooltip, trayTooltip(0, 30));
    EXPECT_FALSE(status.update(0, 30, false)); // next tick, same minute

    const auto idle = status.update(0, 30, true);
    ASSERT_TRUE(idle);
    EXPECT_EQ(idle->image, 6);
    EXPECT_FALSE(status.update(0, 30, true));

    const auto back = status.update(0, 30, false);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->image, 1);

    const auto minute = status.update(2, 30, false);
    ASSERT_TRUE(minute);
    EXPECT_EQ(minute->image, 10);
    const auto sameImage = status.update(3, 30, false);
    ASSERT_TRUE(sameImage);
    EXPECT_EQ(sameImage->image, std::nullopt);
    EXPECT_EQ(sameImage->tooltip, trayTooltip(3, 30));
    const auto period = status.update(3, 60, false);
    ASSERT_TRUE(period);
    EXPECT_EQ(period->image, 1);
    EXPECT_EQ(period->tooltip, trayTooltip(3, 60));
}
