// Platform choice on Linux and other POSIX desktops: X11, or a Wayland session whose windows
// run through XWayland and whose activity comes from the compositor.
#include "qt/platform/MutterIdleSource.h"
#include "shell/platform/Platform.h"
#include "qt/platform/WaylandIdleSource.h"
#include "qt/platform/WaylandPlatform.h"
#include "qt/platform/X11Platform.h"

#include <cstdlib>

namespace {

bool waylandSession()
{
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return display != nullptr && *display != '\0';
}

std::unique_ptr<IdleSource> idleSource()
{
    if (auto wayland = WaylandIdleSource::connect()) {
        return wayland;
    }
    return MutterIdleSource::connect();
}

} // namespace

void prepareSession()
{
    // The windows rely on X11 (global key state, placement); XWayland serves them. A choice
    // the user made stays theirs.
    if (waylandSession()) {
        setenv("QT_QPA_PLATFORM", "xcb", 0);
    }
}

std::unique_ptr<Platform> createPlatform()
{
    if (waylandSession()) {
        return std::make_unique<WaylandPlatform>(idleSource(), std::make_unique<X11Platform>());
    }
    return std::make_unique<X11Platform>();
}
