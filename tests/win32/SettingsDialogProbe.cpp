// Reads the settings dialog of a running ルペタ through Win32, from a process of its own in the
// same Wine: every control, in client coordinates, against the FormConfig control table (labels
// as wide as their caption in the layout font). Prints what differs.
// Usage: settings-dialog-probe shown|gone — waits up to 20 s for the dialog to be up (and then
// checks it) or to be gone; exit status 0 when it was and everything matched.
#include "Layouts.h"
#include "win32/LayoutBuilder.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

namespace L = Layouts::FormConfig;

HWND dialog()
{
    const HWND window = FindWindowW(nullptr, L::window.caption);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

bool waitFor(bool up)
{
    for (int i = 0; i < 200; ++i) {
        if ((dialog() != nullptr) == up)
            return true;
        Sleep(100);
    }
    return false;
}

int captionWidth(const std::wstring& text, HFONT font)
{
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    RECT r{};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.right - r.left;
}

int check(HWND window)
{
    int wrong = 0;
    RECT client{};
    GetClientRect(window, &client);
    if (client.right != L::window.clientWidth || client.bottom != L::window.clientHeight) {
        std::printf("client area %ldx%ld, not %dx%d\n", client.right, client.bottom,
                    L::window.clientWidth, L::window.clientHeight);
        ++wrong;
    }
    LayoutFonts fonts;
    for (const Layout::Control& c : L::controls) {
        const HWND child = GetDlgItem(window, c.id);
        if (child == nullptr) {
            std::printf("%s: missing\n", c.name);
            ++wrong;
            continue;
        }
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        const bool label =
            std::wcscmp(c.className, L"STATIC") == 0 && (c.style & SS_TYPEMASK) == SS_LEFT;
        const int width = label ? captionWidth(text, fonts.get(c.font)) : c.rect.width;
        if (r.left != c.rect.x || r.top != c.rect.y || r.right - r.left != width ||
            r.bottom - r.top != c.rect.height) {
            std::printf("%s: at %ld,%ld %ldx%ld, not %d,%d %dx%d\n", c.name, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, c.rect.x, c.rect.y, width,
                        c.rect.height);
            ++wrong;
        }
    }
    std::printf("%zu controls read back, %d differ\n", std::size(L::controls), wrong);
    return wrong == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const bool shown = argc == 2 && std::strcmp(argv[1], "shown") == 0;
    if (!shown && !(argc == 2 && std::strcmp(argv[1], "gone") == 0)) {
        std::fputs("usage: settings-dialog-probe shown|gone\n", stderr);
        return 2;
    }
    if (!waitFor(shown)) {
        std::puts(shown ? "no settings dialog came up" : "the settings dialog stayed up");
        return 1;
    }
    return shown ? check(dialog()) : 0;
}
