// Controls from the control tables.
#include "win32/LayoutBuilder.h"

#include <commctrl.h>

#include <cwchar>

namespace {

bool sameFont(const Layout::Font& a, const Layout::Font& b)
{
    return std::wcscmp(a.face, b.face) == 0 && a.pixelHeight == b.pixelHeight && a.bold == b.bold &&
           a.underline == b.underline;
}

} // namespace

LayoutFonts::~LayoutFonts()
{
    for (const auto& [font, handle] : m_fonts)
        DeleteObject(handle);
}

HFONT LayoutFonts::get(const Layout::Font& font)
{
    for (const auto& [known, handle] : m_fonts) {
        if (sameFont(known, font))
            return handle;
    }
    // A negative height asks for the character height in pixels, as the layouts give it.
    const HFONT handle =
        CreateFontW(-font.pixelHeight, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                    font.underline, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face);
    m_fonts.emplace_back(font, handle);
    return handle;
}

bool createControls(HWND parent, std::span<const Layout::Control> controls, LayoutFonts& fonts)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const Layout::Control& c : controls) {
        const HWND control =
            CreateWindowExW(c.exStyle, c.className, c.caption, c.style, c.rect.x, c.rect.y,
                            c.rect.width, c.rect.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (control == nullptr)
            return false;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.get(c.font)), FALSE);
        if (c.passwordChar != 0)
            SendMessageW(control, EM_SETPASSWORDCHAR, c.passwordChar, 0);
        if (std::wcscmp(c.className, UPDOWN_CLASSW) == 0) {
            SendMessageW(control, UDM_SETRANGE32, c.range.minimum, c.range.maximum);
            UDACCEL step{0, static_cast<UINT>(c.range.step)};
            SendMessageW(control, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
            SendMessageW(control, UDM_SETPOS32, 0, c.range.position);
        }
    }
    return true;
}
