// One copy per working directory.
#include "win32/SingleInstance.h"

#include "win32/WideText.h"
#include "win32/WindowProc.h"

namespace {

constexpr const wchar_t* ClassName = L"RupetaInstance";
constexpr DWORD HandOverMs = 2000;

} // namespace

SingleInstance::SingleInstance()
    : m_lock(InstanceLock::defaultFolder()),
      m_activate(RegisterWindowMessageW(L"RupetaShowSettings"))
{
}

SingleInstance::~SingleInstance()
{
    destroyObjectWindow(m_window);
}

bool SingleInstance::claim(std::function<void()> onActivation)
{
    switch (m_lock.claim()) {
    case InstanceLock::Claim::HeldElsewhere:
        askHolder();
        return false;
    case InstanceLock::Claim::Unguarded:
        // No lock to keep: this copy runs rather than not at all.
        return true;
    case InstanceLock::Claim::Claimed:
        break;
    }
    m_onActivation = std::move(onActivation);
    registerObjectWindowClass<SingleInstance>(ClassName);
    m_window = CreateWindowExW(0, ClassName, widen(m_lock.key()).c_str(), 0, 0, 0, 0, 0,
                               HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
    return true;
}

void SingleInstance::askHolder() const
{
    // The holder may have taken the lock a moment ago and not have its window yet.
    const std::wstring name = widen(m_lock.key());
    const ULONGLONG deadline = GetTickCount64() + HandOverMs;
    do {
        if (const HWND holder = FindWindowExW(HWND_MESSAGE, nullptr, ClassName, name.c_str())) {
            PostMessageW(holder, m_activate, 0, 0);
            return;
        }
        Sleep(20);
    } while (GetTickCount64() < deadline);
}

LRESULT SingleInstance::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_activate && m_activate != 0) {
        if (m_onActivation)
            m_onActivation();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
