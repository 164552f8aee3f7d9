// The work timer engine: counts ticks, raises the reminder, resets on idleness or clock gaps.
#pragma once

#include "core/DateTime.h"

#include <cstdint>
#include <optional>

struct Settings;

struct CursorPos
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const CursorPos&) const = default;
};

// Everything the engine needs from its owner: the clock, the activity probes and call-outs.
class WorkTimerHost
{
public:
    virtual ~WorkTimerHost() = default;
    virtual DateTime now() = 0;
    virtual bool enterPressedSinceLastQuery() = 0;
    virtual bool spacePressedSinceLastQuery() = 0;
    // Nothing when the position cannot be read; the tick then counts as no movement.
    virtual std::optional<CursorPos> cursorPos() = 0;
    virtual void guardApplicationWindow() = 0;
    virtual void ShowAlarm() = 0;
    virtual void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) = 0;
};

class WorkTimer
{
public:
    WorkTimer(const Settings& settings, WorkTimerHost& host);

    // One tick of Timer_Tick.
    void tick();
    // MenuResetClick: back to zero; idleness and the clock-gap baseline are kept.
    void reset();

    std::int32_t ElapsedSeconds() const { return m_elapsedSeconds; }
    std::int32_t ElapsedMinutes() const { return m_elapsedMinutes; }
    bool IdleResetShown() const { return m_idleResetShown; }

private:
    const Settings& m_settings;
    WorkTimerHost& m_host;
    std::int32_t m_elapsedSeconds = 0;
    std::int32_t m_elapsedMinutes = 0;
    bool m_idleResetShown = false;
    DateTime m_lastTickTime = 0;
    bool m_firstTickTaken = false;
    bool m_previousIdle = false;
    std::int32_t m_idleSeconds = 0;
    CursorPos m_lastCursor;
};
