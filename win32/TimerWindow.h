// The program's timers on one message-only window: each Win32Timer is a SetTimer of its own
// there, found again by a number never reused, so a firing already queued for a timer that is
// gone reaches nothing. Also the monotonic clock of the timers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <unordered_map>

class Win32Timer;

class TimerWindow
{
public:
    TimerWindow();
    ~TimerWindow();
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

    // Milliseconds of the performance counter.
    std::int64_t nowMs() const;

    UINT_PTR add(Win32Timer& timer);
    void remove(UINT_PTR id);
    // Fires timer id after delayMs (the timer re-arms itself at each firing).
    void arm(UINT_PTR id, int delayMs);
    void disarm(UINT_PTR id);

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_window = nullptr;
    std::unordered_map<UINT_PTR, Win32Timer*> m_timers;
    UINT_PTR m_nextId = 1;
    std::int64_t m_frequency = 1;
};
