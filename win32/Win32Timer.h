// A timer of the message loop, precise: each firing is due on the grid of whole intervals from
// its start (TimerSchedule), as one SetTimer re-armed for the rest of the wait.
#pragma once

#include "win32/TimerSchedule.h"
#include "windows/Timer.h"

#include <windows.h>

#include <functional>

class TimerWindow;

class Win32Timer : public Timer
{
public:
    Win32Timer(TimerWindow& window, std::function<void()> timeout);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void start(int intervalMs) override;
    void stop() override;
    bool isActive() const override;
    int interval() const override;

    // The window's WM_TIMER for this timer.
    void fire();

private:
    TimerWindow& m_window;
    std::function<void()> m_timeout;
    UINT_PTR m_id;
    TimerSchedule m_schedule;
    int m_interval = 0;
    bool m_active = false;
};
