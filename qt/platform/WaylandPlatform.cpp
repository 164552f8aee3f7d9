// The platform services in a Wayland session.
#include "qt/platform/WaylandPlatform.h"

#include <utility>

WaylandPlatform::WaylandPlatform(std::unique_ptr<IdleSource> source,
                                 std::unique_ptr<Platform> desktop)
    : m_source(std::move(source)), m_desktop(std::move(desktop))
{
    if (m_source) {
        m_source->changed = [this](bool idle) {
            m_idle = idle;
            // Latched: a key press followed by idleness before the next tick still counts.
            if (!idle) {
                m_resumed = true;
            }
        };
    }
}

bool WaylandPlatform::enterPressedSinceLastQuery()
{
    if (!m_source) {
        return true;
    }
    return std::exchange(m_resumed, false) || !m_idle;
}

bool WaylandPlatform::spacePressedSinceLastQuery()
{
    // Already counted by the Enter probe.
    return false;
}

std::optional<CursorPos> WaylandPlatform::cursorPos()
{
    // Pointer motion is in the Enter probe; XWayland only knows the cursor over its windows.
    return std::nullopt;
}

bool WaylandPlatform::ctrlAndShiftDown()
{
    return m_desktop->ctrlAndShiftDown();
}

void WaylandPlatform::openDocument(const std::string& text)
{
    m_desktop->openDocument(text);
}

DateTime WaylandPlatform::now()
{
    return m_desktop->now();
}

bool WaylandPlatform::showNotification(const std::string& summary, const std::string& body)
{
    return m_desktop->showNotification(summary, body);
}

bool WaylandPlatform::seesActivity()
{
    return m_source != nullptr;
}

bool WaylandPlatform::trayHostReadsMenus()
{
    return m_desktop->trayHostReadsMenus();
}
