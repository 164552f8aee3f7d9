// The precise timer's schedule: firings stay on the grid of whole intervals from the start
// however late each one comes, missed ones are skipped, and a restart starts a new grid.
#include "win32/TimerSchedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Case
{
    const char* name;
    int interval;
    std::vector<std::int64_t> firings; // when the timer actually fired, from a start at 0
    std::vector<std::int64_t> dues;    // the due time after each firing
};

const Case Cases[] = {
    {"on time", 1000, {1000, 2000, 3000}, {2000, 3000, 4000}},
    // Each firing 15 ms late (a coarse system tick): re-arming for a whole interval from the
    // firing would drift by 1.5 %.
    {"late by a tick each time", 1000, {1015, 2015, 3015}, {2000, 3000, 4000}},
    {"late by most of an interval", 1000, {1990, 2999}, {2000, 3000}},
    // A machine that slept: the missed firings are not made up in a burst.
    {"missed several", 1000, {5500}, {6000}},
    {"exactly on a later grid point", 1000, {3000}, {4000}},
    {"short interval", 10, {12, 25}, {20, 30}},
    {"zero interval counts as one", 0, {1, 2}, {2, 3}},
};

} // namespace

class TimerScheduleCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(TimerScheduleCases, DueTimesStayOnTheGrid)
{
    const Case& c = GetParam();
    TimerSchedule schedule;
    schedule.start(0, c.interval);
    EXPECT_EQ(schedule.due(), std::max(c.interval, 1));
    for (std::size_t i = 0; i < c.firings.size(); ++i) {
        schedule.advance(c.firings[i]);
        EXPECT_EQ(schedule.due(), c.dues[i]) << "after firing " << i << " at " << c.firings[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Firings, TimerScheduleCases, ::testing::ValuesIn(Cases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(TimerSchedule, DelayCountsFromNowAndNeverGoesBelowZero)
{
    TimerSchedule schedule;
    schedule.start(500, 1000);
    EXPECT_EQ(schedule.delayFrom(500), 1000);
    EXPECT_EQ(schedule.delayFrom(1400), 100);
    EXPECT_EQ(schedule.delayFrom(1600), 0);
}

TEST(TimerSchedule, RestartBeginsANewGrid)
{
    TimerSchedule schedule;
    schedule.start(0, 1000);
    schedule.advance(1000);
    schedule.start(1300, 500);
    EXPECT_EQ(schedule.due(), 1800);
    schedule.advance(1810);
    EXPECT_EQ(schedule.due(), 2300);
    EXPECT_EQ(schedule.interval(), 500);
}
