// What a click on the tray icon means.
#include "shell/TrayClicks.h"

TrayClicks::TrayClicks(int doubleClickMs) : m_doubleClickMs(doubleClickMs) {}

TrayClicks::Action TrayClicks::activated(Click click, std::int64_t nowMs)
{
    switch (click) {
    case Click::DoubleClick:
        m_firstClick.reset();
        return Action::Settings;
    case Click::Trigger:
        if (m_firstClick && nowMs - *m_firstClick <= m_doubleClickMs) {
            // A third click starts a new pair.
            m_firstClick.reset();
            return Action::Settings;
        }
        m_firstClick = nowMs;
        return Action::MenuAfterDelay;
    case Click::Context:
        m_firstClick.reset();
        return Action::MenuNow;
    case Click::Other:
        break;
    }
    return Action::None;
}
