// The kinds of entry in the control tables made from the stored layouts (*.ui) at build time:
// per window its caption, client size and font, per control what CreateWindowExW needs.
#pragma once

#include <windows.h>

namespace Layout {

struct Font
{
    const wchar_t* face;
    int pixelHeight; // character height, as a negative LOGFONT height
    bool bold;
    bool underline;
};

// In the parent window's client area, at 96 dpi.
struct Rect
{
    int x;
    int y;
    int width;
    int height;
};

// Range, step and start of an up-down control, attached to the edit created just before it; all
// zero when its window sets them (the settings dialog's, from core/Settings.h).
struct UpDownRange
{
    int minimum;
    int maximum;
    int step;
    int position;
};

struct Control
{
    const char* name;
    int id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    Rect rect;
    Font font;
    COLORREF textColour;  // NoColour: the system's
    UpDownRange range;    // up-down controls only
    wchar_t passwordChar; // 0: shown as typed
    const char* picture;  // the picture a static control shows, by its layout name, or nullptr
    bool handCursor;      // the pointing hand over the control
    const char* parent;   // the layout's parent: the window's name, or a group box's or frame's
};

struct Window
{
    const char* name;
    const wchar_t* caption;
    int clientWidth;
    int clientHeight;
    Font font;
    COLORREF background; // NoColour: the system's
};

inline constexpr COLORREF NoColour = CLR_INVALID;

} // namespace Layout
