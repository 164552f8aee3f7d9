// When a repeating timer is due.
#include "win32/TimerSchedule.h"

#include <algorithm>

void TimerSchedule::start(std::int64_t nowMs, int intervalMs)
{
    m_interval = std::max(intervalMs, 1);
    m_origin = nowMs;
    m_due = nowMs + m_interval;
}

void TimerSchedule::advance(std::int64_t nowMs)
{
    const std::int64_t steps = (nowMs - m_origin) / m_interval + 1;
    m_due = std::max(m_due + m_interval, m_origin + steps * m_interval);
}

int TimerSchedule::delayFrom(std::int64_t nowMs) const
{
    return static_cast<int>(std::max<std::int64_t>(m_due - nowMs, 0));
}
