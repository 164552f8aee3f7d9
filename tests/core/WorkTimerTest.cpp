// The work timer engine, driven tick by tick through a fake host.
#include "core/WorkTimer.h"

#include "tests/core/FakeHost.h"
#include "core/Settings.h"

#include <gtest/gtest.h>

namespace {

class WorkTimerTest : public ::testing::Test
{
protected:
    WorkTimerTest()
    {
        settings.TimerMinutes = 30;
        settings.ResetMinutes = 10;
        settings.AutoReset = true;
        host.timer = &timer;
    }

    // One tick a second later, with the user moving the mouse.
    void activeTick()
    {
        host.moveCursor();
        idleTick();
    }
    // One tick a second later, with no input at all.
    void idleTick()
    {
        host.advanceSeconds(1);
        timer.tick();
    }
    void activeTicks(int n)
    {
        for (int i = 0; i < n; ++i)
            activeTick();
    }
    void idleTicks(int n)
    {
        for (int i = 0; i < n; ++i)
            idleTick();
    }

    Settings settings;
    FakeHost host;
    WorkTimer timer{settings, host};
};

struct PeriodCase
{
    std::int32_t timerMinutes;
    int alarmTick;
};

class WorkTimerPeriod : public WorkTimerTest, public ::testing::WithParamInterface<PeriodCase>
{
};

} // namespace

TEST_P(WorkTimerPeriod, ReminderFiresAfterExactlyTimerMinutesOfTicks)
{
    // Why: the break reminder is the product; it must come on the exact tick.
    settings.TimerMinutes = GetParam().timerMinutes;
    for (int i = 1; i < GetParam().alarmTick; ++i) {
        activeTick();
        ASSERT_EQ(host.alarms, 0) << "tick " << i;
        ASSERT_EQ(host.trayCalls.back().elapsedMinutes, i / 60);
        ASSERT_LT(timer.ElapsedMinutes(), settings.TimerMinutes);
    }
    EXPECT_EQ(host.trayCalls.back().elapsedMinutes, GetParam().timerMinutes - 1);
    activeTick();
    EXPECT_EQ(host.alarms, 1);
    EXPECT_EQ(timer.ElapsedSeconds(), 0);
    EXPECT_EQ(timer.ElapsedMinutes(), 0);
    EXPECT_EQ(host.trayCalls.back().elapsedMinutes, 0);
    EXPECT_EQ(host.trayCalls.back().timerMinutes, GetParam().timerMinutes);
    activeTicks(GetParam().alarmTick - 1);
    EXPECT_EQ(host.alarms, 1);
    activeTick();
    EXPECT_EQ(host.alarms, 2);
}

INSTANTIATE_TEST_SUITE_P(Periods, WorkTimerPeriod,
                         ::testing::Values(PeriodCase{30, 1800}, PeriodCase{1, 60},
                                           PeriodCase{90, 5400}),
                         [](const auto& info) {
                             return std::to_string(info.param.timerMinutes) + "Minutes";
                         });

TEST_F(WorkTimerTest, OneTickCallsOutInTheFixedOrder)
{
    // Why: the host's probes are latches; asking them in another order or skipping one
    // changes what counts as activity.
    timer.tick();
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"guard", "tray 0", "now", "enter", "space", "cursor"}));
}

TEST_F(WorkTimerTest, SpaceIsAskedEvenWhenEnterWasPressed)
{
    // Why: a Space press consumed late would count as activity on a later, idle tick.
    activeTick();
    host.enterLatch = true;
    host.spaceLatch = true;
    idleTick();
    EXPECT_FALSE(host.spaceLatch);
    idleTicks(settings.ResetMinutes * 60);
    EXPECT_FALSE(timer.IdleResetShown());
    idleTick();
    EXPECT_TRUE(timer.IdleResetShown());
}

TEST_F(WorkTimerTest, ClockGapResetsFromExactlyResetMinutesForwardOnly)
{
    // Why: a suspended machine starts a fresh period; a clock set back must not.
    struct Case
    {
        double gapSeconds;
        bool autoReset;
        bool resets;
    };
    const Case cases[] = {
        {600, true, true},    {599.999, true, false}, {601, true, true},   {86400, true, true},
        {-3600, true, false}, {0, true, false},       {600, false, false}, {7200, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gapSeconds);
        settings.AutoReset = c.autoReset;
        FakeHost fresh;
        fresh.clock = 39000 + 1234.0 / 86400;
        WorkTimer engine(settings, fresh);
        for (int i = 0; i < 120; ++i) {
            fresh.moveCursor();
            fresh.advanceSeconds(1);
            engine.tick();
        }
        fresh.moveCursor();
        fresh.advanceSeconds(c.gapSeconds);
        engine.tick();
        EXPECT_EQ(engine.ElapsedSeconds(), c.resets ? 0 : 121);
        EXPECT_EQ(fresh.trayCalls.back().elapsedMinutes, c.resets ? 0 : 2);
    }
}

TEST_F(WorkTimerTest, FirstTickHasNoGap)
{
    // Why: the first tick has no previous time; whatever the clock says, it must not reset.
    settings.ResetMinutes = 1;
    host.clock = 45000.99;
    timer.tick();
    EXPECT_EQ(timer.ElapsedSeconds(), 1);
}

TEST_F(WorkTimerTest, IdleResetFiresOnTheTickAfterResetMinutesAndHoldsTheCountAtZero)
{
    // Why: an absent user must come back to a fresh period with the idle icon meanwhile.
    settings.ResetMinutes = 5;
    activeTicks(10);
    idleTicks(300); // the first idle tick only arms the counter
    EXPECT_EQ(timer.ElapsedSeconds(), 310);
    EXPECT_FALSE(timer.IdleResetShown());

    const std::size_t before = host.trayCalls.size();
    idleTick(); // the 301st idle tick
    EXPECT_EQ(timer.ElapsedSeconds(), 0);
    EXPECT_TRUE(timer.IdleResetShown());
    // The reset's own tray update already shows the idle picture.
    ASSERT_EQ(host.trayCalls.size(), before + 2);
    EXPECT_FALSE(host.trayCalls[before].idleShown);
    EXPECT_EQ(host.trayCalls[before + 1].elapsedMinutes, 0);
    EXPECT_TRUE(host.trayCalls[before + 1].idleShown);

    for (int i = 0; i < 100; ++i) {
        idleTick();
        ASSERT_EQ(timer.ElapsedSeconds(), 0);
        ASSERT_TRUE(timer.IdleResetShown());
    }
    EXPECT_EQ(host.alarms, 0);
}

TEST_F(WorkTimerTest, ActivityAfterAnIdleResetResumesCounting)
{
    // Why: Enter, Space and a cursor move end the hold, nothing else does, and the icon
    // returns a tick later.
    enum class Activity
    {
        Cursor,
        Enter,
        Space,
        OtherInput
    };
    for (const Activity activity :
         {Activity::Cursor, Activity::Enter, Activity::Space, Activity::OtherInput}) {
        SCOPED_TRACE(static_cast<int>(activity));
        settings.ResetMinutes = 5;
        FakeHost fresh;
        WorkTimer engine(settings, fresh);
        fresh.timer = &engine;
        for (int i = 0; i < 400; ++i)
            engine.tick();
        ASSERT_TRUE(engine.IdleResetShown());

        if (activity == Activity::Cursor)
            fresh.cursor = CursorPos{0, 1};
        fresh.enterLatch = activity == Activity::Enter;
        fresh.spaceLatch = activity == Activity::Space;
        engine.tick();
        if (activity == Activity::OtherInput) {
            // Another key, a click or the wheel reach the engine as nothing at all.
            EXPECT_TRUE(engine.IdleResetShown());
            EXPECT_EQ(engine.ElapsedSeconds(), 0);
            continue;
        }
        EXPECT_FALSE(engine.IdleResetShown());
        EXPECT_EQ(engine.ElapsedSeconds(), 1);
        EXPECT_TRUE(fresh.trayCalls.back().idleShown); // this tick's update came first
        engine.tick();
        EXPECT_FALSE(fresh.trayCalls.back().idleShown);
        EXPECT_EQ(engine.ElapsedSeconds(), 2);
    }
}

TEST_F(WorkTimerTest, WithoutAutoResetIdlenessIsCountedButNeverResets)
{
    // Why: the user switched resets off; switching them on later acts on the idle time so far.
    settings.AutoReset = false;
    settings.ResetMinutes = 5;
    activeTick();
    idleTicks(1000);
    EXPECT_EQ(timer.ElapsedSeconds(), 1001);
    EXPECT_FALSE(timer.IdleResetShown());

    settings.AutoReset = true;
    idleTick();
    EXPECT_EQ(timer.ElapsedSeconds(), 0);
    EXPECT_TRUE(timer.IdleResetShown());
}

TEST_F(WorkTimerTest, AlarmTickAsksNoProbeAndMeasuresNoGap)
{
    // Why: the reminder tick ends early; the next gap is measured from the tick before it.
    settings.TimerMinutes = 1;
    settings.ResetMinutes = 1;
    activeTicks(59);
    host.calls.clear();
    host.enterLatch = true;
    host.advanceSeconds(30);
    timer.tick();
    EXPECT_EQ(host.alarms, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"guard", "alarm", "tray 0"}));
    EXPECT_TRUE(host.enterLatch);

    // 60 s after the last measured tick, though only 30 s after the reminder.
    host.advanceSeconds(30);
    timer.tick();
    EXPECT_EQ(timer.ElapsedSeconds(), 0);
    EXPECT_EQ(host.trayCalls.back().elapsedMinutes, 0);
}

TEST_F(WorkTimerTest, LoweredPeriodFiresOnTheNextTick)
{
    // Why: shortening the period in the dialog must not leave the count past the end.
    settings.TimerMinutes = 60;
    activeTicks(20 * 60);
    EXPECT_EQ(host.alarms, 0);
    settings.TimerMinutes = 15;
    activeTick();
    EXPECT_EQ(host.alarms, 1);
    EXPECT_EQ(timer.ElapsedSeconds(), 0);
    EXPECT_EQ(host.trayCalls.back().timerMinutes, 15);
}

TEST_F(WorkTimerTest, UnreadableCursorCountsAsNoMovement)
{
    // Why: a locked desktop hides the cursor; that must neither fake activity nor lose the
    // position to compare with.
    settings.ResetMinutes = 5;
    host.cursor = CursorPos{5, 5};
    idleTick();
    host.cursor.reset();
    idleTicks(300);
    EXPECT_FALSE(timer.IdleResetShown());
    host.cursor = CursorPos{5, 5}; // same place as the last readable position
    idleTick();
    EXPECT_TRUE(timer.IdleResetShown());
    host.cursor = CursorPos{6, 5};
    idleTick();
    EXPECT_FALSE(timer.IdleResetShown());
}

TEST_F(WorkTimerTest, ResetZeroesTheCountOnly)
{
    // Why: the menu's reset restarts the period without forgetting idleness.
    settings.ResetMinutes = 5;
    activeTick();
    idleTicks(200);
    timer.reset();
    EXPECT_EQ(timer.ElapsedSeconds(), 0);
    EXPECT_EQ(timer.ElapsedMinutes(), 0);
    EXPECT_EQ(host.trayCalls.back().elapsedMinutes, 0);
    // The idle count went on across the reset: idle tick 301 still resets.
    idleTicks(100);
    EXPECT_FALSE(timer.IdleResetShown());
    idleTick();
    EXPECT_TRUE(timer.IdleResetShown());
}

TEST_F(WorkTimerTest, PeriodsOfZeroOrLessNeitherCrashNorOverflow)
{
    // Why: the engine must stay defined whatever values reach it.
    struct Case
    {
        std::int32_t timer;
        std::int32_t reset;
    };
    for (const Case c : {Case{0, 0}, Case{-1, -1}, Case{INT32_MIN, INT32_MIN},
                         Case{INT32_MAX, INT32_MAX}, Case{30, INT32_MIN}}) {
        settings.TimerMinutes = c.timer;
        settings.ResetMinutes = c.reset;
        FakeHost fresh;
        WorkTimer engine(settings, fresh);
        for (int i = 0; i < 5; ++i) {
            fresh.advanceSeconds(1);
            engine.tick();
        }
        EXPECT_EQ(fresh.alarms, c.timer <= 0 ? 5 : 0) << c.timer;
    }
}
