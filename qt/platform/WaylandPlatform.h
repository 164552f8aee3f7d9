// The platform services in a Wayland session: activity from the compositor's idle reports
// (any key or pointer input counts, since no single key can be told apart there); the
// start-up modifiers, the opener and the clock from the XWayland side.
#pragma once

#include "shell/platform/IdleSource.h"
#include "shell/platform/Platform.h"

#include <memory>

class WaylandPlatform : public Platform
{
public:
    // source: nothing when the compositor offers no idle interface. desktop: the services
    // that work through XWayland as on X11.
    WaylandPlatform(std::unique_ptr<IdleSource> source, std::unique_ptr<Platform> desktop);

    // Input since the last call, or input within the source's timeout; always true
    // without a source.
    bool enterPressedSinceLastQuery() override;
    bool spacePressedSinceLastQuery() override;
    std::optional<CursorPos> cursorPos() override;
    bool ctrlAndShiftDown() override;
    void openDocument(const std::string& text) override;
    DateTime now() override;
    bool showNotification(const std::string& summary, const std::string& body) override;
    bool trayHostReadsMenus() override;
    bool seesActivity() override;

private:
    std::unique_ptr<IdleSource> m_source;
    std::unique_ptr<Platform> m_desktop;
    // Until the first report the user counts as active: at worst a first idle tick is late.
    bool m_idle = false;
    bool m_resumed = false;
};
