// The work timer: one tick per second of counting, the reminder, and the automatic resets.
#include "core/WorkTimer.h"

#include "core/Settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();

} // namespace

WorkTimer::WorkTimer(const Settings& settings, WorkTimerHost& host)
    : m_settings(settings), m_host(host)
{
}

void WorkTimer::tick()
{
    m_host.guardApplicationWindow();

    // Saturates instead of overflowing when a huge period never completes.
    if (m_elapsedSeconds < Int32Max)
        ++m_elapsedSeconds;
    m_elapsedMinutes = m_elapsedSeconds / 60;
    if (m_elapsedMinutes >= m_settings.TimerMinutes) {
        m_host.ShowAlarm();
        m_elapsedMinutes = 0;
        m_elapsedSeconds = 0;
        m_host.UpdateTrayIcon(0, m_settings.TimerMinutes);
        return;
    }
    m_host.UpdateTrayIcon(m_elapsedMinutes, m_settings.TimerMinutes);

    // A forward jump of the wall clock means the machine slept or was off.
    const DateTime t = m_host.now();
    if (!m_firstTickTaken) {
        m_lastTickTime = t;
        m_firstTickTaken = true;
    }
    // Compared in whole milliseconds, so that a gap of exactly ResetMinutes is not lost to
    // the rounding of day fractions.
    const double gapMilliseconds = std::round((t - m_lastTickTime) * 24 * 60 * 60 * 1000);
    m_lastTickTime = t;
    if (m_settings.AutoReset &&
        gapMilliseconds >= static_cast<double>(m_settings.ResetMinutes) * 60 * 1000)
        reset();

    // Both keys are asked every tick so that neither latch keeps an old press.
    const bool enter = m_host.enterPressedSinceLastQuery();
    const bool space = m_host.spacePressedSinceLastQuery();
    bool idle = !enter && !space;
    // A position that cannot be read counts as no movement; the last one read is kept.
    if (const auto pos = m_host.cursorPos()) {
        if (idle && *pos != m_lastCursor)
            idle = false;
        m_lastCursor = *pos;
    }

    if (idle && m_previousIdle) {
        const std::int64_t cap =
            std::clamp<std::int64_t>(std::int64_t{m_settings.ResetMinutes} * 60, 0, Int32Max);
        if (m_idleSeconds < Int32Max)
            ++m_idleSeconds;
        if (m_idleSeconds >= cap) {
            m_idleSeconds = static_cast<std::int32_t>(cap);
            if (m_settings.AutoReset) {
                // Set first, so that the reset's own tray update shows the idle picture.
                m_idleResetShown = true;
                reset();
            }
        }
    } else {
        m_idleSeconds = 0;
        m_idleResetShown = false;
    }
    m_previousIdle = idle;
}

void WorkTimer::reset()
{
    m_elapsedSeconds = 0;
    m_elapsedMinutes = 0;
    m_host.UpdateTrayIcon(0, m_settings.TimerMinutes);
}
