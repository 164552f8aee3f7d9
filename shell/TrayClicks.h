// What a click on the tray icon means. StatusNotifierItem hosts know no double click: every
// Activate arrives as a plain click, so a second one within the double-click time is one. XEmbed
// trays report a click and then a double click, and both kinds end up the same here.
#pragma once

#include <cstdint>
#include <optional>

class TrayClicks
{
public:
    // What the tray host reports.
    enum class Click
    {
        Trigger, // a left click, or a host's Activate
        DoubleClick,
        Context, // a right click, or a host's ContextMenu
        Other,   // a middle click and the like
    };

    enum class Action
    {
        None,
        MenuAfterDelay, // a first left click: the menu, unless a second click follows in time
        MenuNow,
        Settings,
    };

    explicit TrayClicks(int doubleClickMs);

    // The action for a click at the given milliseconds of a monotonic clock.
    Action activated(Click click, std::int64_t nowMs);

private:
    int m_doubleClickMs;
    std::optional<std::int64_t> m_firstClick;
};
