// The tray menu, made afresh at each opening.
#include "win32/TrayMenu.h"

#include <stdexcept>

TrayMenu::TrayMenu(std::span<const MenuLayout::Entry> entries)
{
    for (const MenuLayout::Entry& entry : entries)
        m_items.push_back({entry, entry.caption, entry.visible});
}

TrayMenu::Item& TrayMenu::item(int id)
{
    for (Item& item : m_items) {
        if (item.entry.kind == MenuLayout::Kind::Item && item.entry.id == id)
            return item;
    }
    throw std::out_of_range("no such menu item");
}

void TrayMenu::setVisible(int id, bool visible)
{
    item(id).visible = visible;
}

void TrayMenu::setEnabled(int id, bool enabled)
{
    item(id).enabled = enabled;
}

void TrayMenu::setChecked(int id, bool checked)
{
    item(id).checked = checked;
}

void TrayMenu::setCaption(int id, std::wstring caption)
{
    item(id).caption = std::move(caption);
}

void TrayMenu::setSeparator(int id, bool separator)
{
    item(id).separator = separator;
}

HMENU TrayMenu::build() const
{
    // Open menus and the entries that began them; a hidden submenu is skipped whole.
    std::vector<HMENU> menus{CreatePopupMenu()};
    std::vector<const Item*> opened;
    int skipDepth = 0;
    for (const Item& item : m_items) {
        const MenuLayout::Kind kind = item.entry.kind;
        if (skipDepth > 0) {
            skipDepth += kind == MenuLayout::Kind::SubmenuBegin ? 1
                         : kind == MenuLayout::Kind::SubmenuEnd ? -1
                                                                : 0;
            continue;
        }
        switch (kind) {
        case MenuLayout::Kind::SubmenuBegin:
            if (!item.visible) {
                skipDepth = 1;
                break;
            }
            menus.push_back(CreatePopupMenu());
            opened.push_back(&item);
            break;
        case MenuLayout::Kind::SubmenuEnd: {
            const HMENU submenu = menus.back();
            menus.pop_back();
            AppendMenuW(menus.back(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                        opened.back()->caption.c_str());
            opened.pop_back();
            break;
        }
        case MenuLayout::Kind::Separator:
            AppendMenuW(menus.back(), MF_SEPARATOR, 0, nullptr);
            break;
        case MenuLayout::Kind::Item:
            if (!item.visible)
                break;
            if (item.separator) {
                AppendMenuW(menus.back(), MF_SEPARATOR, 0, nullptr);
                break;
            }
            AppendMenuW(menus.back(),
                        MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) |
                            (item.checked ? MF_CHECKED : MF_UNCHECKED),
                        static_cast<UINT_PTR>(item.entry.id), item.caption.c_str());
            break;
        }
    }
    return menus.front();
}
