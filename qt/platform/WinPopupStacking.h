// The reminder's stacking on Windows: a topmost tool window that claims the topmost place again
// whenever its place or stacking is about to change.
#pragma once

#include "qt/PopupStacking.h"

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

class WinPopupStacking : public PopupStacking, private QAbstractNativeEventFilter
{
public:
    WinPopupStacking();
    ~WinPopupStacking() override;
    WinPopupStacking(const WinPopupStacking&) = delete;
    WinPopupStacking& operator=(const WinPopupStacking&) = delete;

    Qt::WindowFlags windowFlags() const override;
    void watch(QWidget& popup, std::function<void()> lost) override;
    void raiseAbove(QWidget& popup) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    QPointer<QWidget> m_popup;
    WId m_window = 0;
    std::function<void()> m_lost;
};
