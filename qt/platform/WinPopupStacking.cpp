// The reminder's stacking on Windows.
#include "qt/platform/WinPopupStacking.h"
#include "qt/platform/CreatePopupStacking.h"

#include <QCoreApplication>

#include <windows.h>

WinPopupStacking::WinPopupStacking()
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WinPopupStacking::~WinPopupStacking()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

Qt::WindowFlags WinPopupStacking::windowFlags() const
{
    // A tool window has no taskbar button; without WindowDoesNotAcceptFocus a click activates it.
    return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
           Qt::WindowDoesNotAcceptFocus;
}

void WinPopupStacking::watch(QWidget& popup, std::function<void()> lost)
{
    m_popup = &popup;
    m_window = popup.winId();
    m_lost = std::move(lost);
}

void WinPopupStacking::raiseAbove(QWidget& popup)
{
    SetWindowPos(reinterpret_cast<HWND>(popup.winId()), HWND_TOPMOST, 1, 1, 1, 1,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool WinPopupStacking::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    // Every change of place or stacking passes here first; the notice goes on unchanged.
    if (eventType != "windows_generic_MSG" || !m_popup || !m_lost)
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_WINDOWPOSCHANGING && msg->hwnd == reinterpret_cast<HWND>(m_window))
        m_lost();
    return false;
}

std::unique_ptr<PopupStacking> createPopupStacking()
{
    return std::make_unique<WinPopupStacking>();
}
