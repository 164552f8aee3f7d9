// How the reminder stays above other windows without the focus or a taskbar entry; each window
// system has its own way, chosen in the platform layer.
#pragma once

#include <Qt>

#include <functional>

class QWidget;

class PopupStacking
{
public:
    virtual ~PopupStacking() = default;

    // The flags the popup is created with.
    virtual Qt::WindowFlags windowFlags() const = 0;
    // From now on calls lost() whenever something may have come above the popup. The popup's
    // native window must exist; once the popup is destroyed nothing is called any more.
    virtual void watch(QWidget& popup, std::function<void()> lost) = 0;
    // Puts the popup above every other window without activating it.
    virtual void raiseAbove(QWidget& popup) = 0;
};
