#!/usr/bin/env python3
"""The layout converter's odd cases: nested offsets of group boxes and frames, the edit and
up-down pair, default and cancel buttons, hidden panels, radio groups, fonts, tab order, and
layouts it must refuse."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "win32" / "tools"))
import ui2win32  # noqa: E402

FORM = """<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Probe</class>
 <widget class="QDialog" name="Probe">
  <property name="geometry"><rect><x>5</x><y>6</y><width>300</width><height>200</height></rect>
  </property>
  <property name="windowTitle"><string>試験 &amp; "probe"</string></property>
  <property name="styleSheet">
   <string notr="true">* {{ font-family: "ＭＳ Ｐゴシック"; font-size: 12px; }}
QGroupBox {{ margin-top: 6px; }}</string>
  </property>
  {widgets}
 </widget>
 {extra}
</ui>
"""


def widget(cls, name, x, y, w, h, props="", children=""):
    return (f'<widget class="{cls}" name="{name}"><property name="geometry"><rect><x>{x}</x>'
            f"<y>{y}</y><width>{w}</width><height>{h}</height></rect></property>{props}"
            f"{children}</widget>")


def text(value, name="text"):
    return f'<property name="{name}"><string>{value}</string></property>'


def flag(name, value=True, dynamic=False):
    stdset = ' stdset="0"' if dynamic else ""
    return f'<property name="{name}"{stdset}><bool>{str(value).lower()}</bool></property>'


UPDOWN = """<customwidgets><customwidget><class>UpDown</class><extends>QWidget</extends>
<header>windows/UpDown.h</header></customwidget></customwidgets>"""


def parse(widgets, extra=""):
    return ui2win32.parse_layout(FORM.format(widgets=widgets, extra=extra))


def by_name(window):
    return {c.name: c for c in window.controls}


class Converter(unittest.TestCase):
    def test_children_of_nested_group_boxes_and_frames_move_by_every_parent(self):
        inner = widget("QGroupBox", "Inner", 10, 20, 100, 80, text("内", "title"),
                       widget("QCheckBox", "Check", 3, 4, 50, 17, text("c")))
        outer = widget("QFrame", "Panel", 30, 40, 200, 150,
                       '<property name="frameShape"><enum>QFrame::Box</enum></property>'
                       '<property name="frameShadow"><enum>QFrame::Sunken</enum></property>',
                       inner)
        controls = by_name(parse(outer + widget("QLabel", "After", 7, 8, 20, 12, text("a"))))
        self.assertEqual(controls["Panel"].rect, (30, 40, 200, 150))
        self.assertEqual(controls["Inner"].rect, (40, 60, 100, 80))
        self.assertEqual(controls["Check"].rect, (43, 64, 50, 17))
        # The window's own position is not an offset, and a sibling after a parent is not moved.
        self.assertEqual(controls["After"].rect, (7, 8, 20, 12))
        self.assertEqual([c.name for c in parse(outer).controls], ["Panel", "Inner", "Check"])
        self.assertIn("SS_ETCHEDFRAME", controls["Panel"].style)
        self.assertIn("BS_GROUPBOX", controls["Inner"].style)
        # Each entry names its layout parent, so that a window can hide a panel with its
        # contents.
        entries = ui2win32.render([parse(outer)]).split("\n    {")[1:]
        self.assertEqual([e.split(",")[0] for e in entries], ['"Panel"', '"Inner"', '"Check"'])
        for entry, parent in zip(entries, ("Probe", "Panel", "Inner")):
            self.assertTrue(entry.split("\n")[3].endswith(f', "{parent}"}},'), entry)

    def test_up_down_follows_its_edit_with_range_and_no_alignment(self):
        props = "".join(f'<property name="{n}"><number>{v}</number></property>'
                        for n, v in (("minimum", 5), ("maximum", 15), ("increment", 2),
                                     ("position", 9)))
        window = parse(widget("QLineEdit", "Edit", 16, 32, 49, 20, text("9")) +
                       widget("UpDown", "Spin", 65, 32, 16, 20, props), UPDOWN)
        edit, spin = window.controls
        self.assertEqual((edit.class_name, spin.class_name), ("EDIT", "msctls_updown32"))
        self.assertEqual(spin.range, (5, 15, 2, 9))
        self.assertEqual(spin.rect, (65, 32, 16, 20))
        self.assertIn("UDS_AUTOBUDDY", spin.style)
        self.assertIn("UDS_SETBUDDYINT", spin.style)
        self.assertFalse({"UDS_ALIGNRIGHT", "UDS_ALIGNLEFT"} & set(spin.style))
        self.assertEqual(edit.ex_style, ["WS_EX_CLIENTEDGE"])
        with self.assertRaisesRegex(ui2win32.LayoutError, "must follow its edit"):
            parse(widget("UpDown", "Spin", 65, 32, 16, 20, props), UPDOWN)

    def test_default_and_cancel_buttons_get_the_dialog_managers_ids(self):
        controls = by_name(parse(
            widget("QPushButton", "Other", 0, 0, 75, 25, text("x")) +
            widget("QPushButton", "Ok", 0, 30, 75, 25, text("OK") + flag("default")) +
            widget("QPushButton", "Cancel", 80, 30, 75, 25,
                   text("ｷｬﾝｾﾙ") + flag("cancel", dynamic=True))))
        self.assertEqual(controls["Ok"].ident, ui2win32.IDOK)
        self.assertIn("BS_DEFPUSHBUTTON", controls["Ok"].style)
        self.assertEqual(controls["Cancel"].ident, ui2win32.IDCANCEL)
        self.assertIn("BS_PUSHBUTTON", controls["Cancel"].style)
        self.assertEqual(controls["Other"].ident, ui2win32.FIRST_ID)
        with self.assertRaisesRegex(ui2win32.LayoutError, "more than one default"):
            parse(widget("QPushButton", "A", 0, 0, 9, 9, flag("default")) +
                  widget("QPushButton", "B", 9, 0, 9, 9, flag("default")))

    def test_hidden_panel_hides_its_contents(self):
        controls = by_name(parse(
            widget("QGroupBox", "Panel", 8, 144, 329, 137, flag("visible", False),
                   widget("QLineEdit", "Pass", 224, 104, 89, 20,
                          '<property name="echoMode"><enum>QLineEdit::Password</enum>'
                          "</property>" + text("QLineEdit { lineedit-password-character: 42; }",
                                               "styleSheet"))) +
            widget("QLabel", "Shown", 0, 0, 10, 12, text("s"))))
        self.assertNotIn("WS_VISIBLE", controls["Panel"].style)
        self.assertNotIn("WS_VISIBLE", controls["Pass"].style)
        self.assertIn("WS_VISIBLE", controls["Shown"].style)
        self.assertIn("ES_PASSWORD", controls["Pass"].style)
        self.assertEqual(controls["Pass"].password_char, 42)

    def test_a_run_of_radio_buttons_is_one_group_entered_once_by_tab(self):
        radios = "".join(widget("QRadioButton", f"R{i}", 0, 20 * i, 50, 17, text(f"r{i}"))
                         for i in range(3))
        stops = "<tabstops>" + "".join(f"<tabstop>{n}</tabstop>"
                                       for n in ("R0", "R1", "R2", "Check")) + "</tabstops>"
        controls = by_name(parse(radios + widget("QCheckBox", "Check", 0, 80, 50, 17,
                                                 text("c")), stops))
        self.assertIn("WS_GROUP", controls["R0"].style)
        self.assertIn("WS_TABSTOP", controls["R0"].style)
        for name in ("R1", "R2"):
            self.assertNotIn("WS_GROUP", controls[name].style)
            self.assertNotIn("WS_TABSTOP", controls[name].style)
        self.assertIn("WS_GROUP", controls["Check"].style)
        self.assertIn("WS_TABSTOP", controls["Check"].style)

    def test_tab_order_other_than_document_order_is_refused(self):
        two = (widget("QCheckBox", "A", 0, 0, 9, 9, text("a")) +
               widget("QCheckBox", "B", 0, 9, 9, 9, text("b")))
        with self.assertRaisesRegex(ui2win32.LayoutError, "tab order"):
            parse(two, "<tabstops><tabstop>B</tabstop><tabstop>A</tabstop></tabstops>")

    def test_fonts_are_inherited_and_overridden_per_widget(self):
        window = parse(widget("QGroupBox", "G", 0, 0, 99, 99,
                              text("font-family: Arial; font-size: 11px;", "styleSheet"),
                              widget("QLabel", "L", 1, 1, 9, 9,
                                     text("font-weight: bold; text-decoration: underline; "
                                          "color: #0000ff;", "styleSheet"))))
        self.assertEqual(window.font, ui2win32.Font("ＭＳ Ｐゴシック", 12))
        controls = by_name(window)
        self.assertEqual(controls["G"].font, ui2win32.Font("Arial", 11))
        self.assertEqual(controls["L"].font, ui2win32.Font("Arial", 11, True, True))
        self.assertEqual(controls["L"].text_colour, (0, 0, 255))
        with self.assertRaisesRegex(ui2win32.LayoutError, "pixels"):
            parse(widget("QLabel", "P", 0, 0, 9, 9, text("font-size: 9pt;", "styleSheet")))

    def test_unknown_widgets_are_refused_rather_than_guessed(self):
        with self.assertRaisesRegex(ui2win32.LayoutError, "no Win32 control"):
            parse(widget("QSlider", "S", 0, 0, 9, 9))

    def test_captions_become_wide_literals_that_survive_any_source_encoding(self):
        window = parse(widget("QLabel", "L", 0, 0, 9, 9, text('分 "\\ (30～90分)')))
        header = ui2win32.render([window])
        self.assertIn(r'L"\u8a66\u9a13 & \"probe\""', header)
        self.assertIn(r'L"\u5206 \"\\ (30\uff5e90\u5206)"', header)
        self.assertTrue(header.isascii())
        self.assertEqual(window.client_width, 300)
        self.assertEqual(window.client_height, 200)


if __name__ == "__main__":
    unittest.main()
