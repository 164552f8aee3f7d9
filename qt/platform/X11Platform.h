// The platform services on an X11 desktop: global Enter/Space presses through XInput2 raw
// events, the cursor through xcb, the start-up modifiers through Xlib, xdg-open, the local clock.
#pragma once

#include "shell/platform/Platform.h"

#include <cstdint>
#include <memory>
#include <optional>

class QSocketNotifier;
struct _XDisplay;
struct xcb_connection_t;

class X11Platform : public Platform
{
public:
    // Opens a connection of its own to $DISPLAY; without one, no key or cursor is ever seen.
    X11Platform();
    ~X11Platform() override;
    X11Platform(const X11Platform&) = delete;
    X11Platform& operator=(const X11Platform&) = delete;

    bool enterPressedSinceLastQuery() override;
    bool spacePressedSinceLastQuery() override;
    std::optional<CursorPos> cursorPos() override;
    bool ctrlAndShiftDown() override;
    void openDocument(const std::string& text) override;
    DateTime now() override;
    bool showNotification(const std::string& summary, const std::string& body) override;
    bool trayHostReadsMenus() override;

private:
    void drain();

    _XDisplay* m_display = nullptr;
    int m_xiOpcode = 0;
    bool m_enterPressed = false;
    bool m_spacePressed = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    // The cursor is asked for on a connection that nothing watches, one tick ahead.
    xcb_connection_t* m_pointer = nullptr;
    std::uint32_t m_pointerRoot = 0;
    std::optional<unsigned int> m_pointerQuery; // sequence number of the query in flight
};
