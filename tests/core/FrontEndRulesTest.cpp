// The rules every front-end shares: spinner steps, dialog centring, chime play and stop, the
// click test, the single-instance name and the texts.
#include "core/ChimePlayback.h"
#include "core/ClickTracker.h"
#include "core/DialogPlace.h"
#include "core/Settings.h"
#include "core/SpinStep.h"
#include "core/Texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(SpinStep, StepsWithinTheRangeFromATypedNumber)
{
    // Why: the spinner must never wrap round and must start from what the user typed, as long
    // as that is a plain number the spinner could show.
    struct Case
    {
        SpinRange range;
        int position;
        const char* typed;
        int direction;
        int expected;
    };
    const Case cases[] = {
        {TimerMinutesRange, 80, "80", +1, 85},
        {TimerMinutesRange, 85, "85", +1, 90},
        {TimerMinutesRange, 90, "90", +1, 90}, // no wrap to 30
        {TimerMinutesRange, 90, "90", -1, 85},
        {TimerMinutesRange, 85, "47", +1, 52},   // starts from the typed number
        {TimerMinutesRange, 52, " 47 ", -1, 42}, // blanks around it
        {TimerMinutesRange, 52, "+47", -1, 42},
        {TimerMinutesRange, 52, "abc", -1, 47}, // unreadable text keeps the position
        {TimerMinutesRange, 52, "", -1, 47},
        {TimerMinutesRange, 52, "4 7", -1, 47},
        {TimerMinutesRange, 52, "$2F", -1, 47}, // hexadecimal is not plain decimal
        {TimerMinutesRange, 52, "0x2F", -1, 47},
        {TimerMinutesRange, 52, "+-40", -1, 47},
        {TimerMinutesRange, 52, "120", +1, 57}, // outside the range: ignored
        {TimerMinutesRange, 52, "99999999999", +1, 57},
        {TimerMinutesRange, 30, "30", -1, 30}, // no wrap to 90
        {ResetMinutesRange, 14, "14", +1, 15},
        {ResetMinutesRange, 15, "15", +1, 15},
        {SpinRange{INT_MIN, INT_MAX, INT_MAX}, INT_MAX, "", +1, INT_MAX}, // no overflow
        {SpinRange{INT_MIN, INT_MAX, INT_MAX}, INT_MIN, "", -1, INT_MIN},
        {SpinRange{10, 5, 1}, 3, "", +1, 10}, // an empty range holds its minimum
    };
    for (const Case& c : cases)
        EXPECT_EQ(spinStep(c.range, c.position, c.typed, c.direction), c.expected)
            << c.position << " '" << c.typed << "' " << c.direction;
}

TEST(SpinStep, ClampTakesTheNearestEnd)
{
    // Why: a stored value outside the range puts the spinner at the nearest end.
    EXPECT_EQ(TimerMinutesRange.clamp(120), 90);
    EXPECT_EQ(TimerMinutesRange.clamp(2), 30);
    EXPECT_EQ(TimerMinutesRange.clamp(45), 45);
    EXPECT_EQ(ResetMinutesRange.clamp(2), 5);
    EXPECT_EQ(ResetMinutesRange.clamp(20), 15);
}

TEST(DialogPlace, CentresTheFrameOnTheScreen)
{
    // Why: dialogs open in the middle of the primary screen, also one not at the origin.
    EXPECT_EQ(centredOn({0, 0, 1024, 768}, 344, 182), (ScreenPoint{340, 293}));
    EXPECT_EQ(centredOn({0, 0, 1024, 768}, 345, 183), (ScreenPoint{339, 292}));
    EXPECT_EQ(centredOn({1920, -200, 1280, 1024}, 654, 437), (ScreenPoint{2233, 93}));
    EXPECT_EQ(centredOn({0, 0, 300, 200}, 400, 300), (ScreenPoint{-50, -50}));
}

TEST(ChimePlayback, StopKeepsThePlaceAndAChimeAtItsEndStartsOver)
{
    // Why: a reminder hidden and shown again goes on with the chime where it stopped; a chime
    // that was played to the end plays whole again.
    using namespace ChimePlayback;
    struct Case
    {
        Output output;
        bool atEnd;
        Action play;
        Action stop;
    };
    const Case cases[] = {
        {Output::Stopped, true, Action::StartOver, Action::None}, // the first play
        {Output::Stopped, false, Action::Start, Action::None},
        {Output::Active, false, Action::Start, Action::Suspend},
        {Output::Active, true, Action::StartOver, Action::Close}, // only the last moment left
        {Output::Suspended, false, Action::Resume, Action::None},
        {Output::Suspended, true, Action::Resume, Action::None},
        {Output::Idle, true, Action::StartOver, Action::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(play(c.output, c.atEnd), c.play) << int(c.output) << c.atEnd;
        EXPECT_EQ(stop(c.output, c.atEnd), c.stop) << int(c.output) << c.atEnd;
    }
}

TEST(ClickTracker, LeftPressAndReleaseInsideIsAClick)
{
    // Why: the reminder's labels and background react to a completed left click only.
    struct Case
    {
        bool pressLeft;
        bool releaseLeft;
        bool inside;
        bool click;
    };
    const Case cases[] = {
        {true, true, true, true},   {true, true, false, false},  {false, true, true, false},
        {true, false, true, false}, {false, false, true, false},
    };
    for (const Case& c : cases) {
        ClickTracker tracker;
        tracker.press(c.pressLeft);
        EXPECT_EQ(tracker.release(c.releaseLeft, c.inside), c.click);
    }
    ClickTracker tracker; // a release without a press is no click, nor is a second release
    EXPECT_FALSE(tracker.release(true, true));
    tracker.press(true);
    EXPECT_TRUE(tracker.release(true, true));
    EXPECT_FALSE(tracker.release(true, true));
}

TEST(Texts, MessagesAndVersion)
{
    // Why: these texts are what the user reads; the version comes from the build.
    EXPECT_EQ(Texts::elapsedMessage(45), "45分たちました");
    EXPECT_EQ(Texts::versionLine(), "Version 1.07");
    EXPECT_EQ(Texts::soundFileError("beep.wav", "File contains data in an unknown format.\n"),
              "サウンド ファイル \"beep.wav\" を開けません。\n"
              "File contains data in an unknown format.");
}
