// One copy per working directory: the instance lock decides; a later start finds the running
// copy's message-only window, named by the lock's key, and asks it to show its settings.
#pragma once

#include "core/InstanceLock.h"

#include <windows.h>

#include <functional>

class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process may run: it then holds the directory's lock for the rest of its
    // life and calls onActivation, from the message loop, whenever a later start here asks.
    // False after telling the copy that holds the lock.
    bool claim(std::function<void()> onActivation);

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void askHolder() const;

    InstanceLock m_lock;
    UINT m_activate;
    HWND m_window = nullptr;
    std::function<void()> m_onActivation;
};
