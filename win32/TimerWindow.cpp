// The program's timers on one message-only window.
#include "win32/TimerWindow.h"

#include "win32/Win32Timer.h"
#include "win32/WindowProc.h"

TimerWindow::TimerWindow()
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    m_frequency = frequency.QuadPart;
    registerObjectWindowClass<TimerWindow>(L"RupetaTimers");
    m_window = CreateWindowExW(0, L"RupetaTimers", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), this);
}

TimerWindow::~TimerWindow()
{
    destroyObjectWindow(m_window);
}

std::int64_t TimerWindow::nowMs() const
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    // Split so that the multiplication cannot overflow after a long uptime.
    const std::int64_t seconds = counter.QuadPart / m_frequency;
    const std::int64_t rest = counter.QuadPart % m_frequency;
    return seconds * 1000 + rest * 1000 / m_frequency;
}

UINT_PTR TimerWindow::add(Win32Timer& timer)
{
    const UINT_PTR id = m_nextId++;
    m_timers.emplace(id, &timer);
    return id;
}

void TimerWindow::remove(UINT_PTR id)
{
    disarm(id);
    m_timers.erase(id);
}

void TimerWindow::arm(UINT_PTR id, int delayMs)
{
    // Shorter waits are raised to USER_TIMER_MINIMUM by Windows itself.
    SetTimer(m_window, id, static_cast<UINT>(delayMs), nullptr);
}

void TimerWindow::disarm(UINT_PTR id)
{
    KillTimer(m_window, id);
}

LRESULT TimerWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return DefWindowProcW(window, message, wParam, lParam);
    const auto found = m_timers.find(wParam);
    if (found == m_timers.end())
        KillTimer(window, wParam);
    else
        found->second->fire();
    return 0;
}
