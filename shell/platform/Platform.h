// What the resident shell needs from the operating system, free of any toolkit.
#pragma once

#include "core/DateTime.h"
#include "core/WorkTimer.h"

#include <memory>
#include <optional>
#include <string>

class Platform
{
public:
    virtual ~Platform() = default;

    // Each reports whether the key was pressed anywhere on the desktop since the last call.
    virtual bool enterPressedSinceLastQuery() = 0;
    virtual bool spacePressedSinceLastQuery() = 0;
    // Screen coordinates of the mouse cursor; nothing when they cannot be read.
    virtual std::optional<CursorPos> cursorPos() = 0;
    // Whether Ctrl and Shift both report a non-zero state right now (start-up only).
    virtual bool ctrlAndShiftDown() = 0;
    // Hands the text (UTF-8) unchanged, as one argument, to the desktop's opener; no shell.
    virtual void openDocument(const std::string& text) = 0;
    // The local wall-clock time.
    virtual DateTime now() = 0;
    // Shows a message (UTF-8) through the desktop's notification service; false when there is
    // none to take it.
    virtual bool showNotification(const std::string& summary, const std::string& body) = 0;
    // False where the desktop shows the program no input at all: the activity probes then
    // always report activity, so idleness never resets the timer.
    virtual bool seesActivity() { return true; }
    // True where the tray host takes the tray menu as a description (a StatusNotifierItem host,
    // over dbusmenu) and may draw it itself; false for XEmbed trays, where only the program
    // draws it.
    virtual bool trayHostReadsMenus() { return false; }
};

// Defined once per platform build; the first runs before the toolkit starts.
void prepareSession();
std::unique_ptr<Platform> createPlatform();
