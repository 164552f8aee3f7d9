// The kinds of entry in the menu tables made from the stored layouts (*.ui) at build time: a
// menu as a flat list in display order, each submenu between its begin and end entries.
#pragma once

namespace MenuLayout {

enum class Kind
{
    Item,
    Separator,
    SubmenuBegin, // the submenu's own item in its parent; the caption is its title
    SubmenuEnd,
};

struct Entry
{
    const char* name; // the action's or submenu's layout name; "" for a separator
    int id;           // the command of an item (from 1), 0 for the other kinds
    Kind kind;
    const wchar_t* caption; // "&" marks the access key
    bool checkable;
    bool visible; // a hidden entry takes no room until the window shows it
};

} // namespace MenuLayout
