// The hidden main window's screen side: the tray icon, its menu and the notices.
#pragma once

#include "core/DialogPlace.h"

#include <cstddef>
#include <string>

class TForm1View
{
public:
    // The items of the tray menu that are switched on and off.
    enum class MenuItem
    {
        MenuConfig,
        MenuSample,
        MenuStretch,
        MenuAbout,
    };

    // A small window that says something once and leaves the program running.
    struct Notice
    {
        std::string name;  // tells the notices apart
        std::string title; // UTF-8
        std::string text;  // UTF-8
        bool activates;    // takes the focus when it appears
    };

    virtual ~TForm1View() = default;

    virtual void showDemoItem() = 0;
    virtual void checkDemoItem(bool checked) = 0;
    virtual void enableMenuItem(MenuItem item, bool on) = 0;
    // Link item 0..4 of the submenu: its caption ("&" marks the access key), or a separator
    // line; a hidden item takes no room.
    virtual void setLinkItem(std::size_t index, const std::string& caption, bool separator,
                             bool visible) = 0;

    // The tray icon with picture ImageN (1..17) and its tooltip (UTF-8); it shows itself
    // whenever a tray appears.
    virtual void showTrayIcon(int image, const std::string& tooltip) = 0;
    // Hands the menu to a tray host that reads menus (and may draw them itself), before the
    // icon shows; other trays get none, or the toolkit would open it beside the program's own.
    virtual void giveMenuToTrayHost() = 0;
    virtual void setTrayImage(int image) = 0;
    virtual void setTrayTooltip(const std::string& tooltip) = 0;
    virtual void removeTrayIcon() = 0;
    // Whether a tray shows the icon now.
    virtual bool trayAvailable() const = 0;
    // Where the click being handled now happened: the tray host's point, else the cursor.
    virtual ScreenPoint clickPoint() = 0;
    virtual void popupMenu(ScreenPoint at) = 0;
    // The desktop's double-click time in milliseconds.
    virtual int doubleClickMs() const = 0;

    virtual void showNotice(const Notice& notice) = 0;
    // The main window itself must never appear.
    virtual void keepHidden() = 0;
};
