#!/usr/bin/env python3
"""Turns the menus of a stored layout (Qt Designer *.ui file) into Win32 menu tables.

Writes one C++ header with, per top-level QMenu, a namespace Layouts::<menu> holding the item
commands and `entries`, the menu in display order with each submenu between its begin and end
entries (see win32/MenuLayout.h). Captions keep the layout's "&" access-key marks, which Win32
menus read the same way.

Usage: menu2win32.py OUTPUT.h LAYOUT.ui
"""
import sys
import xml.etree.ElementTree as ET
from dataclasses import dataclass
from pathlib import Path

from ui2win32 import LayoutError, identifier, text_prop, bool_prop, wide


@dataclass
class Entry:
    name: str
    kind: str
    caption: str = ""
    checkable: bool = False
    visible: bool = True
    ident: int = 0


def parse_menus(text):
    """The (name, entries) of every top-level menu in one .ui file's text."""
    root = ET.fromstring(text)
    actions = {a.get("name"): a for a in root.iter("action")}
    menus = []
    next_id = [1]

    def entries_of(menu, seen):
        name = menu.get("name")
        if name in seen:
            raise LayoutError(f"{name}: a menu inside itself")
        submenus = {m.get("name"): m for m in menu.findall("widget") if m.get("class") == "QMenu"}
        out = []
        for add in menu.findall("addaction"):
            item = add.get("name")
            if item == "separator":
                out.append(Entry("", "Separator"))
            elif item in submenus:
                sub = submenus[item]
                out.append(Entry(item, "SubmenuBegin", text_prop(sub, "title"),
                                 visible=bool_prop(sub, "visible", True)))
                out.extend(entries_of(sub, seen | {name}))
                out.append(Entry(item, "SubmenuEnd"))
            elif item in actions:
                action = actions[item]
                out.append(Entry(item, "Item", text_prop(action, "text"),
                                 bool_prop(action, "checkable"),
                                 bool_prop(action, "visible", True), next_id[0]))
                next_id[0] += 1
            else:
                raise LayoutError(f"{name}: no action or submenu {item!r}")
        return out

    for menu in root.iter("widget"):
        if menu.get("class") != "QMenu":
            continue
        if any(menu in parent.findall("widget") for parent in root.iter("widget")
               if parent.get("class") == "QMenu"):
            continue  # a submenu, written inside its parent
        menus.append((menu.get("name"), entries_of(menu, set())))
    if not menus:
        raise LayoutError("the layout has no menu")
    return menus


def render(menus):
    lines = ["// Made from the stored layouts by win32/tools/menu2win32.py at build time.",
             "#pragma once", "", '#include "win32/MenuLayout.h"', ""]
    for name, entries in menus:
        lines.append(f"namespace Layouts::{identifier(name)} {{")
        lines.append("")
        lines.append("enum Id : int {")
        for e in entries:
            if e.kind == "Item":
                lines.append(f"    {identifier(e.name)} = {e.ident},")
        lines.append("};")
        lines.append("")
        lines.append("inline constexpr MenuLayout::Entry entries[] = {")
        for e in entries:
            lines.append(f'    {{"{e.name}", {e.ident}, MenuLayout::Kind::{e.kind}, '
                         f"{wide(e.caption)}, {str(e.checkable).lower()}, "
                         f"{str(e.visible).lower()}}},")
        lines.append("};")
        lines.append("")
        lines.append(f"}} // namespace Layouts::{name}")
        lines.append("")
    return "\n".join(lines)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        menus = parse_menus(Path(argv[2]).read_text(encoding="utf-8"))
    except (LayoutError, ET.ParseError) as error:
        print(f"menu2win32.py: {error}", file=sys.stderr)
        return 1
    out = Path(argv[1])
    text = render(menus)
    if not out.exists() or out.read_text(encoding="utf-8") != text:
        out.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
