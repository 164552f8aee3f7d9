// A scripted stand-in for the main window: clock, key latches, cursor, and a log of call-outs.
#pragma once

#include "core/WorkTimer.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

class FakeHost : public WorkTimerHost
{
public:
    struct TrayCall
    {
        std::int32_t elapsedMinutes;
        std::int32_t timerMinutes;
        bool idleShown; // the engine's IdleResetShown at the time of the call
    };

    DateTime clock = 39000.5; // 2006-10-10 12:00
    bool enterLatch = false;
    bool spaceLatch = false;
    std::optional<CursorPos> cursor = CursorPos{};
    const WorkTimer* timer = nullptr; // for IdleResetShown as seen by the tray update

    int alarms = 0;
    std::vector<TrayCall> trayCalls;
    std::vector<std::string> calls;

    void advanceSeconds(double seconds) { clock += seconds / 86400.0; }
    void moveCursor()
    {
        CursorPos p = cursor.value_or(CursorPos{});
        ++p.x;
        cursor = p;
    }

    DateTime now() override
    {
        calls.push_back("now");
        return clock;
    }
    bool enterPressedSinceLastQuery() override
    {
        calls.push_back("enter");
        return std::exchange(enterLatch, false);
    }
    bool spacePressedSinceLastQuery() override
    {
        calls.push_back("space");
        return std::exchange(spaceLatch, false);
    }
    std::optional<CursorPos> cursorPos() override
    {
        calls.push_back("cursor");
        return cursor;
    }
    void guardApplicationWindow() override { calls.push_back("guard"); }
    void ShowAlarm() override
    {
        calls.push_back("alarm");
        ++alarms;
    }
    void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) override
    {
        calls.push_back("tray " + std::to_string(elapsedMinutes));
        trayCalls.push_back({elapsedMinutes, timerMinutes, timer && timer->IdleResetShown()});
    }
};
