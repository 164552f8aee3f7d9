// What a click on the tray icon means.
#include "shell/TrayClicks.h"

TrayClicks::TrayClicks(int doubleClickMs) : m_doubleClickMs(doubleClickMs) {}

TrayClicks::Action TrayClicks::activated(QSystemTrayIcon::ActivationReason reason, qint64 nowMs)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        m_firstClick.reset();
        return Action::Settings;
    case QSystemTrayIcon::Trigger:
        if (m_firstClick && nowMs - *m_firstClick <= m_doubleClickMs) {
            // A third click starts a new pair.
            m_firstClick.reset();
            return Action::Settings;
        }
        m_firstClick = nowMs;
        return Action::MenuAfterDelay;
    case QSystemTrayIcon::Context:
        m_firstClick.reset();
        return Action::MenuNow;
    default:
        return Action::None;
    }
}
