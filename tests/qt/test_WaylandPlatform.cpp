// Activity in a Wayland session: the compositor's idle and resumed reports against the
// engine's once-a-tick question, with a scripted source instead of a compositor; and the
// choice of platform by session.
#include "tests/shell/FakePlatform.h"
#include "qt/platform/WaylandPlatform.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

class ScriptedSource : public IdleSource
{
public:
    void idle() { changed(true); }
    void resumed() { changed(false); }
};

struct Scenario
{
    const char* name;
    // i: the compositor reports idleness, r: input resumed, T/F: a tick asks and expects
    // activity / none.
    std::string script;
};

class WaylandActivity : public testing::TestWithParam<Scenario>
{
};

TEST_P(WaylandActivity, TicksSeeInputSinceTheLastTick)
{
    auto source = std::make_unique<ScriptedSource>();
    ScriptedSource& events = *source;
    WaylandPlatform platform(std::move(source), std::make_unique<FakePlatform>());
    int tick = 0;
    for (const char step : GetParam().script) {
        switch (step) {
        case 'i':
            events.idle();
            break;
        case 'r':
            events.resumed();
            break;
        default:
            ++tick;
            EXPECT_EQ(platform.enterPressedSinceLastQuery(), step == 'T') << "tick " << tick;
            EXPECT_FALSE(platform.spacePressedSinceLastQuery()) << "tick " << tick;
            EXPECT_EQ(platform.cursorPos(), std::nullopt) << "tick " << tick;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, WaylandActivity,
    testing::Values(
        // Before the first report the user counts as active.
        Scenario{"StartsActive", "TT"},
        // Typing faster than the timeout: the compositor never reports idleness.
        Scenario{"ContinuousTyping", "iFrTTTTT"},
        // One key press between two ticks, idle again before the next tick asks.
        Scenario{"SingleKeyPressSeenOnce", "iFFriTFF"},
        // One key press less than the timeout before the tick: still counts at that tick.
        Scenario{"KeyPressJustBeforeTheTick", "iFrTiF"},
        // Nothing for a long time: every tick is idle.
        Scenario{"LongQuietPeriod", "iFFFFFFFFFFFF"},
        // Presses in several ticks with pauses between them.
        Scenario{"TypingWithPauses", "iriTFriTriTF"}),
    [](const testing::TestParamInfo<Scenario>& info) { return info.param.name; });

TEST(WaylandPlatform, WithoutAnIdleSourceEveryTickIsActive)
{
    WaylandPlatform platform(nullptr, std::make_unique<FakePlatform>());
    EXPECT_FALSE(platform.seesActivity());
    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_TRUE(platform.enterPressedSinceLastQuery());
        EXPECT_FALSE(platform.spacePressedSinceLastQuery());
    }
    EXPECT_TRUE(WaylandPlatform(std::make_unique<ScriptedSource>(), nullptr).seesActivity());
}

TEST(WaylandPlatform, ModifiersOpenerAndClockComeFromTheDesktop)
{
    auto desktop = std::make_unique<FakePlatform>();
    FakePlatform& fake = *desktop;
    fake.ctrlShift = true;
    fake.clock = encodeDate(2027, 1, 2);
    WaylandPlatform platform(nullptr, std::move(desktop));
    EXPECT_TRUE(platform.ctrlAndShiftDown());
    EXPECT_EQ(platform.now(), encodeDate(2027, 1, 2));
    platform.openDocument("https://example.org/a b");
    EXPECT_EQ(fake.opened, std::vector<std::string>{"https://example.org/a b"});
}

struct Session
{
    const char* name;
    std::optional<std::string> waylandDisplay;
    std::optional<std::string> userPlatform;
    std::optional<std::string> expectedPlatform;
};

class SessionChoice : public testing::TestWithParam<Session>
{
protected:
    static void set(const char* name, const std::optional<std::string>& value)
    {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
};

TEST_P(SessionChoice, WaylandWindowsGoThroughXWaylandUnlessTheUserChose)
{
    set("WAYLAND_DISPLAY", GetParam().waylandDisplay);
    set("QT_QPA_PLATFORM", GetParam().userPlatform);
    prepareSession();
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    EXPECT_EQ(platform ? std::optional<std::string>(platform) : std::nullopt,
              GetParam().expectedPlatform);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, SessionChoice,
    testing::Values(Session{"X11", std::nullopt, std::nullopt, std::nullopt},
                    Session{"X11WithUserChoice", std::nullopt, "offscreen", "offscreen"},
                    Session{"EmptyWaylandDisplayIsX11", "", std::nullopt, std::nullopt},
                    Session{"Wayland", "wayland-1", std::nullopt, "xcb"},
                    Session{"WaylandWithUserChoice", "wayland-1", "wayland", "wayland"}),
    [](const testing::TestParamInfo<Session>& info) { return info.param.name; });

// A Wayland session whose compositor cannot be reached and whose session bus is missing has
// no idle source: activity is unseen. An X11 session is the X11 layer, which always sees it.
TEST(SessionChoice, WithoutAnyIdleInterfaceActivityIsUnseen)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    unsetenv("DISPLAY");
    setenv("WAYLAND_DISPLAY", "wayland-none", 1);
    EXPECT_FALSE(createPlatform()->seesActivity());
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_TRUE(createPlatform()->seesActivity());
}

} // namespace
