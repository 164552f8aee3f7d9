#!/usr/bin/env python3
"""The menu converter: display order with submenus between begin and end entries, separators,
commands numbered from 1 in that order, hidden and checkable items, captions with "&" and
quotes written as C++ wide strings, and layouts it must refuse."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "win32" / "tools"))
import menu2win32  # noqa: E402

UI = """<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0"><class>Probe</class>
<widget class="QWidget" name="Probe">{menus}</widget>{actions}</ui>"""


def action(name, text, extra=""):
    return (f'<action name="{name}"><property name="text"><string>{text}</string></property>'
            f"{extra}</action>")


def menu(name, adds, title="", children=""):
    title_prop = f'<property name="title"><string>{title}</string></property>' if title else ""
    return (f'<widget class="QMenu" name="{name}">{title_prop}{children}'
            + "".join(f'<addaction name="{a}"/>' for a in adds) + "</widget>")


def parse(menus, actions):
    return menu2win32.parse_menus(UI.format(menus=menus, actions=actions))


ACTIONS = (action("A", "開く(&amp;O)") + action("B", "二") + action("C", "三") +
           action("D", "デモ", '<property name="checkable"><bool>true</bool></property>'
                  '<property name="visible"><bool>false</bool></property>'))


class Converter(unittest.TestCase):
    def test_display_order_with_the_submenu_between_its_begin_and_end(self):
        sub = menu("Sub", ["B", "separator", "C"], "下(&amp;S)")
        [(name, entries)] = parse(menu("Top", ["A", "Sub", "separator", "D"], children=sub),
                                  ACTIONS)
        self.assertEqual(name, "Top")
        self.assertEqual([(e.kind, e.name) for e in entries], [
            ("Item", "A"), ("SubmenuBegin", "Sub"), ("Item", "B"), ("Separator", ""),
            ("Item", "C"), ("SubmenuEnd", "Sub"), ("Separator", ""), ("Item", "D")])
        self.assertEqual([e.ident for e in entries if e.kind == "Item"], [1, 2, 3, 4])
        self.assertEqual(entries[0].caption, "開く(&O)")
        self.assertEqual(entries[1].caption, "下(&S)")
        demo = entries[-1]
        self.assertTrue(demo.checkable)
        self.assertFalse(demo.visible)
        self.assertTrue(entries[0].visible)
        self.assertFalse(entries[0].checkable)

    def test_rendered_header_has_the_commands_and_wide_captions(self):
        menus = parse(menu("Top", ["A", "B"]), action("A", 'a "q" \\ &amp;x') + action("B", "二"))
        text = menu2win32.render(menus)
        self.assertIn("namespace Layouts::Top {", text)
        self.assertIn("    A = 1,", text)
        self.assertIn("    B = 2,", text)
        self.assertIn(r'L"a \"q\" \\ &x"', text)
        self.assertIn(r'L"\u4e8c"', text)

    def test_refuses_what_it_cannot_convert(self):
        cases = {
            "unknown action": (menu("Top", ["Nope"]), ACTIONS),
            "no menu at all": ("", ACTIONS),
            "action name that is no C++ name": (menu("Top", ["a-b"]), action("a-b", "x")),
        }
        for label, (menus, actions) in cases.items():
            with self.subTest(label):
                with self.assertRaises(menu2win32.LayoutError):
                    menu2win32.render(parse(menus, actions))

    def test_the_program_menu_converts(self):
        root = Path(__file__).resolve().parents[2]
        [(name, entries)] = menu2win32.parse_menus(
            (root / "resources" / "Form1.ui").read_text(encoding="utf-8"))
        self.assertEqual(name, "PopupMenu1")
        items = [e.name for e in entries if e.kind == "Item"]
        self.assertEqual(items, ["MenuConfig", "MenuReset", "MenuSample", "MenuStretch",
                                 "Menu_Info1", "Menu_Info2", "Menu_Info3", "Menu_Info4",
                                 "Menu_Info5", "MenuDemo", "MenuAbout", "MenuExit"])


if __name__ == "__main__":
    unittest.main()
