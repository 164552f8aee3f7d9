// What a click on the tray icon means. StatusNotifierItem hosts know no double click: Qt turns
// every Activate into a Trigger, so a second Trigger within the double-click time is one. XEmbed
// trays report Trigger and then DoubleClick, and both kinds end up the same here.
#pragma once

#include <QSystemTrayIcon>

#include <optional>

class TrayClicks
{
public:
    enum class Action
    {
        None,
        MenuAfterDelay, // a first left click: the menu, unless a second click follows in time
        MenuNow,
        Settings,
    };

    explicit TrayClicks(int doubleClickMs);

    // The action for an activation at the given milliseconds of a monotonic clock.
    Action activated(QSystemTrayIcon::ActivationReason reason, qint64 nowMs);

private:
    int m_doubleClickMs;
    std::optional<qint64> m_firstClick;
};
