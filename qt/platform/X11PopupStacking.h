// The reminder's stacking on X11: an override-redirect window that no window manager moves,
// lists in a taskbar or focuses, raised again by the program whenever something covers it.
#pragma once

#include "qt/PopupStacking.h"

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <cstdint>

class X11PopupStacking : public PopupStacking, private QAbstractNativeEventFilter
{
public:
    X11PopupStacking();
    ~X11PopupStacking() override;
    X11PopupStacking(const X11PopupStacking&) = delete;
    X11PopupStacking& operator=(const X11PopupStacking&) = delete;

    Qt::WindowFlags windowFlags() const override;
    void watch(QWidget& popup, std::function<void()> lost) override;
    void raiseAbove(QWidget& popup) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    QPointer<QWidget> m_popup;
    std::uint32_t m_window = 0;
    std::function<void()> m_lost;
};
