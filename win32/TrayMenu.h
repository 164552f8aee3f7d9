// The tray menu's items as they stand (captions, hidden, greyed, checked), made into a fresh
// Win32 popup menu at each opening: Win32 menus have no hidden items, so a hidden one is left out.
#pragma once

#include "win32/MenuLayout.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

class TrayMenu
{
public:
    explicit TrayMenu(std::span<const MenuLayout::Entry> entries);

    void setVisible(int id, bool visible);
    void setEnabled(int id, bool enabled);
    void setChecked(int id, bool checked);
    void setCaption(int id, std::wstring caption);
    // The item as a separator line (its caption then shows nowhere).
    void setSeparator(int id, bool separator);

    // A new popup menu with the item commands as ids; the caller destroys it.
    HMENU build() const;

private:
    struct Item
    {
        MenuLayout::Entry entry;
        std::wstring caption;
        bool visible;
        bool enabled = true;
        bool checked = false;
        bool separator = false;
    };
    Item& item(int id);

    std::vector<Item> m_items;
};
