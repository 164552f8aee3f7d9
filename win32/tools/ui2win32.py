#!/usr/bin/env python3
"""Turns the stored layouts (Qt Designer *.ui files) into Win32 control tables.

Writes one C++ header with, per layout, a namespace Layouts::<class> holding the control ids,
`window` (caption, client size, font, background) and `controls` (one Layout::Control per
widget, in creation order; see win32/Layout.h). Rectangles are in the window's client area at
96 dpi: children of group boxes and frames, which Windows makes siblings, are moved by their
parents' offsets.

Usage: ui2win32.py OUTPUT.h LAYOUT.ui...
"""
import re
import sys
import xml.etree.ElementTree as ET
from dataclasses import dataclass, field
from pathlib import Path


class LayoutError(Exception):
    pass


@dataclass(frozen=True)
class Font:
    face: str
    pixel_height: int
    bold: bool = False
    underline: bool = False


@dataclass
class Control:
    name: str
    widget_class: str
    class_name: str
    caption: str
    style: list
    ex_style: list
    rect: tuple
    font: Font
    parent: str
    ident: int = 0
    text_colour: tuple = None
    range: tuple = (0, 0, 0, 0)
    password_char: int = 0
    picture: str = None
    hand_cursor: bool = False


@dataclass
class Window:
    name: str
    caption: str
    client_width: int
    client_height: int
    font: Font
    background: tuple = None
    controls: list = field(default_factory=list)


IDOK, IDCANCEL, FIRST_ID = 1, 2, 1000


def css_rules(text, widget_class):
    """Declarations of a style sheet that apply to a widget of the class: bare ones and those
    of the rules "*" and the class itself."""
    declarations = {}
    if text is None:
        return declarations
    if "{" not in text:
        blocks = [("*", text)]
    else:
        blocks = re.findall(r"([^{}]+)\{([^}]*)\}", text)
    for selector, body in blocks:
        if selector.strip() not in ("*", widget_class):
            continue
        for declaration in body.split(";"):
            if ":" in declaration:
                key, value = declaration.split(":", 1)
                declarations[key.strip()] = value.strip()
    return declarations


def apply_css(font, declarations):
    face = declarations.get("font-family", None)
    size = declarations.get("font-size", None)
    if size is not None and not size.endswith("px"):
        raise LayoutError(f"font-size {size!r} is not in pixels")
    return Font(
        face.strip('"') if face else font.face,
        int(size[:-2]) if size else font.pixel_height,
        font.bold or declarations.get("font-weight") == "bold",
        font.underline or declarations.get("text-decoration") == "underline",
    )


def colour(text):
    match = re.fullmatch(r"#([0-9a-fA-F]{6})", text)
    if not match:
        raise LayoutError(f"colour {text!r} is not #rrggbb")
    value = int(match.group(1), 16)
    return (value >> 16, (value >> 8) & 0xFF, value & 0xFF)


def prop(widget, name):
    """The value element of a property of the widget, or None."""
    element = widget.find(f"property[@name='{name}']")
    return None if element is None else element[0]


def text_prop(widget, name, default=""):
    value = prop(widget, name)
    return default if value is None or value.text is None else value.text


def bool_prop(widget, name, default=False):
    value = prop(widget, name)
    return default if value is None else value.text == "true"


def number_prop(widget, name):
    value = prop(widget, name)
    if value is None:
        raise LayoutError(f"{widget.get('name')} has no {name}")
    return int(value.text)


def geometry(widget):
    rect = prop(widget, "geometry")
    if rect is None:
        raise LayoutError(f"{widget.get('name')} has no geometry")
    return tuple(int(rect.find(k).text) for k in ("x", "y", "width", "height"))


def custom_bases(root):
    return {c.findtext("class"): c.findtext("extends") for c in root.iter("customwidget")}


# Per widget class: the Win32 class and its own styles; the caption property.
PLAIN = {
    "QGroupBox": ("BUTTON", ["BS_GROUPBOX"], "title"),
    "QCheckBox": ("BUTTON", ["BS_AUTOCHECKBOX"], "text"),
    "QRadioButton": ("BUTTON", ["BS_AUTORADIOBUTTON"], "text"),
    "QLineEdit": ("EDIT", ["ES_LEFT", "ES_AUTOHSCROLL"], "text"),
    "UpDown": ("msctls_updown32",
               ["UDS_AUTOBUDDY", "UDS_SETBUDDYINT", "UDS_ARROWKEYS", "UDS_NOTHOUSANDS"], None),
    "Shape": ("STATIC", ["SS_OWNERDRAW"], None),
}


def control_for(widget, widget_class, base_class, rect, font, parent):
    name = widget.get("name")
    css = css_rules(text_prop(widget, "styleSheet", None), base_class)
    font = apply_css(font, css)
    control = Control(name, widget_class, "", "", [], [], rect, font, parent)
    if "color" in css:
        control.text_colour = colour(css["color"])
    if widget_class in PLAIN:
        control.class_name, style, caption = PLAIN[widget_class]
        control.style = list(style)
        control.caption = text_prop(widget, caption) if caption else ""
    elif base_class == "QPushButton":
        control.class_name = "BUTTON"
        default = bool_prop(widget, "default")
        control.style = ["BS_DEFPUSHBUTTON" if default else "BS_PUSHBUTTON"]
        control.caption = text_prop(widget, "text")
    elif base_class == "QLabel":
        control.class_name = "STATIC"
        pixmap = prop(widget, "pixmap")
        if pixmap is not None:
            control.picture = pixmap.text
            control.style = ["SS_BITMAP" if pixmap.text.endswith(".bmp") else "SS_ICON"]
        else:
            control.style = ["SS_LEFT", "SS_NOPREFIX"]
            control.caption = text_prop(widget, "text")
        if widget_class != base_class:  # a label that takes clicks
            control.style.append("SS_NOTIFY")
    elif base_class == "QFrame":
        shape = text_prop(widget, "frameShape")
        shadow = text_prop(widget, "frameShadow")
        if shape != "QFrame::Box" or shadow != "QFrame::Sunken":
            raise LayoutError(f"{name}: only sunken box frames are known")
        control.class_name = "STATIC"
        control.style = ["SS_ETCHEDFRAME"]
    else:
        raise LayoutError(f"{name}: no Win32 control for {widget_class}")
    if widget_class == "QLineEdit":
        control.ex_style = ["WS_EX_CLIENTEDGE"]
        if text_prop(widget, "echoMode") == "QLineEdit::Password":
            control.style.append("ES_PASSWORD")
            control.password_char = int(css.get("lineedit-password-character", "42"))
    control.hand_cursor = text_prop(widget, "cursor") == "PointingHandCursor"
    # A layout may give an up-down control its range; the settings dialog's come from the
    # program's rules (core/Settings.h), which its window hands to the control when it fills it.
    if widget_class == "UpDown" and prop(widget, "minimum") is not None:
        control.range = tuple(number_prop(widget, p)
                              for p in ("minimum", "maximum", "increment", "position"))
    return control


def parse_layout(text):
    """The Window of one .ui file's text."""
    root = ET.fromstring(text)
    bases = custom_bases(root)
    top = root.find("widget")
    name = root.findtext("class")
    css = css_rules(text_prop(top, "styleSheet", None), "*")
    if "font-family" not in css or "font-size" not in css:
        raise LayoutError(f"{name}: the window's style sheet names no font")
    font = apply_css(Font("", 0), css)
    _, _, width, height = geometry(top)
    window = Window(name, text_prop(top, "windowTitle"), width, height, font)
    brush = top.find("property[@name='palette']/palette/active/colorrole[@role='Window']"
                     "/brush/color")
    if brush is not None:
        window.background = tuple(int(brush.findtext(c)) for c in ("red", "green", "blue"))

    def base_of(widget_class):
        while widget_class in bases:
            widget_class = bases[widget_class]
        return widget_class

    def walk(parent_widget, parent_name, dx, dy, visible, font):
        for widget in parent_widget.findall("widget"):
            widget_class = widget.get("class")
            x, y, w, h = geometry(widget)
            shown = visible and bool_prop(widget, "visible", True)
            control = control_for(widget, widget_class, base_of(widget_class),
                                  (dx + x, dy + y, w, h), font, parent_name)
            control.style = ["WS_CHILD"] + (["WS_VISIBLE"] if shown else []) + control.style
            if not bool_prop(widget, "enabled", True):
                control.style.append("WS_DISABLED")
            window.controls.append(control)
            if widget.findall("widget"):
                # Windows has no such parents: the children become siblings drawn above them.
                walk(widget, control.name, dx + x, dy + y, shown, control.font)

    walk(top, name, 0, 0, True, font)
    assign_ids(window, root)
    order_tabs(window, root)
    return window


def assign_ids(window, root):
    defaults = [c for c in window.controls if "BS_DEFPUSHBUTTON" in c.style]
    cancels = [c for c in window.controls
               if bool_prop(root.find(f".//widget[@name='{c.name}']"), "cancel")]
    if len(defaults) > 1 or len(cancels) > 1:
        raise LayoutError(f"{window.name}: more than one default or cancel button")
    next_id = FIRST_ID
    for control in window.controls:
        if control in defaults:
            control.ident = IDOK
        elif control in cancels:
            control.ident = IDCANCEL
        else:
            control.ident = next_id
            next_id += 1
    for index, control in enumerate(window.controls):
        if control.class_name == "msctls_updown32":
            before = window.controls[index - 1] if index > 0 else None
            if before is None or before.class_name != "EDIT" or before.parent != control.parent:
                raise LayoutError(f"{control.name}: an up-down control must follow its edit")


def order_tabs(window, root):
    """Windows tabs through controls in creation order, so the layout's tab order must be its
    document order. A run of radio buttons is one group, entered by Tab and moved in by the
    arrow keys."""
    stops = [t.text for t in root.iter("tabstop")]
    in_document = [c.name for c in window.controls if c.name in stops]
    if in_document != stops:
        raise LayoutError(f"{window.name}: the tab order {stops} differs from the document "
                          f"order {in_document}; reorder the widgets")
    previous = None
    for control in window.controls:
        radio = "BS_AUTORADIOBUTTON" in control.style
        continues_group = (radio and previous is not None and previous.parent == control.parent
                           and "BS_AUTORADIOBUTTON" in previous.style)
        if not continues_group:
            control.style.append("WS_GROUP")
            if control.name in stops:
                control.style.append("WS_TABSTOP")
        previous = control


def wide(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '\\"':
            out.append("\\" + ch)
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append(f"\\u{code:04x}")
        else:
            out.append(f"\\U{code:08x}")
    return 'L"' + "".join(out) + '"'


def font_literal(font):
    return (f"{{{wide(font.face)}, {font.pixel_height}, {str(font.bold).lower()}, "
            f"{str(font.underline).lower()}}}")


def colour_literal(rgb):
    return "Layout::NoColour" if rgb is None else f"RGB({rgb[0]}, {rgb[1]}, {rgb[2]})"


def identifier(name):
    if not re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", name):
        raise LayoutError(f"{name!r} is no C++ name")
    return name


def render(windows):
    lines = ["// Made from the stored layouts by win32/tools/ui2win32.py at build time.",
             "#pragma once", "", '#include "win32/Layout.h"', "", "#include <commctrl.h>", ""]
    for window in windows:
        lines.append(f"namespace Layouts::{identifier(window.name)} {{")
        lines.append("")
        lines.append("enum Id : int {")
        for c in window.controls:
            lines.append(f"    {identifier(c.name)} = {c.ident},")
        lines.append("};")
        lines.append("")
        lines.append(f'inline constexpr Layout::Window window{{"{window.name}", '
                     f"{wide(window.caption)}, {window.client_width}, {window.client_height}, "
                     f"{font_literal(window.font)}, {colour_literal(window.background)}}};")
        lines.append("")
        lines.append("inline constexpr Layout::Control controls[] = {")
        for c in window.controls:
            picture = f'"{c.picture}"' if c.picture else "nullptr"
            lines.append(
                f'    {{"{c.name}", {c.name}, {wide(c.class_name)}, {wide(c.caption)},\n'
                f"     {' | '.join(c.style)},\n"
                f"     {' | '.join(c.ex_style) or '0'}, {{{', '.join(map(str, c.rect))}}}, "
                f"{font_literal(c.font)}, {colour_literal(c.text_colour)},\n"
                f"     {{{', '.join(map(str, c.range))}}}, {c.password_char}, {picture}, "
                f'{str(c.hand_cursor).lower()}, "{c.parent}"}},')
        lines.append("};")
        lines.append("")
        lines.append(f"}} // namespace Layouts::{window.name}")
        lines.append("")
    return "\n".join(lines)


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        windows = [parse_layout(Path(p).read_text(encoding="utf-8")) for p in argv[2:]]
    except (LayoutError, ET.ParseError) as error:
        print(f"ui2win32.py: {error}", file=sys.stderr)
        return 1
    out = Path(argv[1])
    text = render(windows)
    if not out.exists() or out.read_text(encoding="utf-8") != text:
        out.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
