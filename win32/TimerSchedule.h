// When a repeating timer is due: on a grid of whole intervals from its start, so that late
// firings never add up to drift (a timer re-armed from each late firing loses some per cent).
#pragma once

#include <cstdint>

class TimerSchedule
{
public:
    // The first firing is one interval from now; intervals under 1 ms count as 1.
    void start(std::int64_t nowMs, int intervalMs);
    // After a firing at nowMs: the next grid point after it, skipping any that were missed.
    void advance(std::int64_t nowMs);
    std::int64_t due() const { return m_due; }
    // Milliseconds from now until due, 0 when due already.
    int delayFrom(std::int64_t nowMs) const;
    int interval() const { return m_interval; }

private:
    std::int64_t m_origin = 0;
    std::int64_t m_due = 0;
    int m_interval = 1;
};
