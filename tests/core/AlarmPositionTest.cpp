// The reminder's place for every settings value, as one table.
#include "core/AlarmPosition.h"

#include <gtest/gtest.h>

#include <climits>

TEST(AlarmPosition, PlacementTableForEverySettingsValue)
{
    // Why: the settings value is used as read; each value must land on its corner, every other
    // value on the centre rule, and odd sizes must round the way the reminder always has.
    struct Case
    {
        std::int32_t value;
        int sw, sh, w, h;
        AlarmPlace place;
    };
    const Case cases[] = {
        {0, 1024, 768, 153, 57, {40, 40}},
        {1, 1024, 768, 153, 57, {40, 671}},
        {2, 1024, 768, 153, 57, {831, 40}},
        {3, 1024, 768, 153, 57, {831, 671}},
        {4, 1024, 768, 153, 57, {435, 499}},
        {7, 1024, 768, 153, 57, {435, 499}},
        {-1, 1024, 768, 153, 57, {435, 499}},
        {INT_MIN, 1024, 768, 153, 57, {435, 499}},
        {INT_MAX, 1024, 768, 153, 57, {435, 499}},
        {4, 1024, 768, 210, 57, {407, 499}}, // the survey reminder
        {3, 1920, 1080, 210, 57, {1670, 983}},
        {4, 1366, 768, 153, 57, {606, 499}},
        // A screen narrower than the reminder: the halving truncates toward zero.
        {4, 100, 10, 153, 57, {-26, 6}},
        {3, 100, 10, 153, 57, {-93, -87}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << " on " << c.sw << "x" << c.sh
                                        << " for " << c.w << "x" << c.h);
        const AlarmPlace place = alarmPlace(alarmPositionFrom(c.value), c.sw, c.sh, c.w, c.h);
        EXPECT_EQ(place.left, c.place.left);
        EXPECT_EQ(place.top, c.place.top);
    }
}

TEST(AlarmPosition, DecodingKeepsTheFourCornersAndFoldsTheRestIntoTheCentre)
{
    // Why: the settings dialog maps the value to its radio buttons through this decoding.
    EXPECT_EQ(alarmPositionFrom(0), AlarmPosition::TopLeft);
    EXPECT_EQ(alarmPositionFrom(1), AlarmPosition::BottomLeft);
    EXPECT_EQ(alarmPositionFrom(2), AlarmPosition::TopRight);
    EXPECT_EQ(alarmPositionFrom(3), AlarmPosition::BottomRight);
    for (const std::int32_t other : {4, 5, -1, 100, INT_MIN, INT_MAX})
        EXPECT_EQ(alarmPositionFrom(other), AlarmPosition::Centre) << other;
}
