// A precise timer of the message loop.
#include "win32/Win32Timer.h"

#include "win32/TimerWindow.h"

Win32Timer::Win32Timer(TimerWindow& window, std::function<void()> timeout)
    : m_window(window), m_timeout(std::move(timeout)), m_id(window.add(*this))
{
}

Win32Timer::~Win32Timer()
{
    m_window.remove(m_id);
}

void Win32Timer::start(int intervalMs)
{
    m_interval = intervalMs;
    m_active = true;
    const std::int64_t now = m_window.nowMs();
    m_schedule.start(now, intervalMs);
    m_window.arm(m_id, m_schedule.delayFrom(now));
}

void Win32Timer::stop()
{
    m_active = false;
    m_window.disarm(m_id);
}

bool Win32Timer::isActive() const
{
    return m_active;
}

int Win32Timer::interval() const
{
    return m_interval;
}

void Win32Timer::fire()
{
    if (!m_active)
        return;
    const std::int64_t now = m_window.nowMs();
    // Windows may fire a little before the counter says the time has come.
    if (now < m_schedule.due()) {
        m_window.arm(m_id, m_schedule.delayFrom(now));
        return;
    }
    m_schedule.advance(now);
    m_window.arm(m_id, m_schedule.delayFrom(now));
    m_timeout(); // last: the handler may stop, restart or destroy this timer
}
