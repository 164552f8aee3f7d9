// The control tables made into real Win32 controls: every child, read back through Win32
// (GetWindowRect in client coordinates), sits at its table rectangle, with its class, font,
// visibility, up-down buddy and range. Needs a desktop (tests/e2e/wine_gtest.sh).
#include "Layouts.h"
#include "win32/LayoutBuilder.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <span>
#include <string>

namespace {

struct Case
{
    const Layout::Window& window;
    std::span<const Layout::Control> controls;
};

const Case Cases[] = {
    {Layouts::FormConfig::window, Layouts::FormConfig::controls},
    {Layouts::FormAbout::window, Layouts::FormAbout::controls},
    {Layouts::Form_Stretch::window, Layouts::Form_Stretch::controls},
    {Layouts::Form2::window, Layouts::Form2::controls},
};

// A hidden parent with the layout's client size; the controls need no more to be measured.
HWND makeParent(const Layout::Window& window)
{
    static const ATOM atom = [] {
        WNDCLASSW c{};
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"LayoutProbe";
        return RegisterClassW(&c);
    }();
    EXPECT_NE(atom, 0);
    RECT frame{0, 0, window.clientWidth, window.clientHeight};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, 0);
    return CreateWindowExW(0, L"LayoutProbe", window.caption, WS_CAPTION | WS_SYSMENU, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

class LayoutWindows : public ::testing::TestWithParam<Case>
{
protected:
    static void SetUpTestSuite()
    {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&classes));
    }
};

TEST_P(LayoutWindows, EveryControlSitsAtItsTableRectangle)
{
    const Case& c = GetParam();
    const HWND parent = makeParent(c.window);
    ASSERT_NE(parent, nullptr);
    RECT client{};
    GetClientRect(parent, &client);
    EXPECT_EQ(client.right, c.window.clientWidth);
    EXPECT_EQ(client.bottom, c.window.clientHeight);

    LayoutFonts fonts;
    ASSERT_TRUE(createControls(parent, c.controls, fonts));
    for (const Layout::Control& control : c.controls) {
        SCOPED_TRACE(std::string(c.window.name) + "." + control.name);
        const HWND child = GetDlgItem(parent, control.id);
        ASSERT_NE(child, nullptr);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, control.rect.x);
        EXPECT_EQ(r.top, control.rect.y);
        EXPECT_EQ(r.right - r.left, control.rect.width);
        EXPECT_EQ(r.bottom - r.top, control.rect.height);

        wchar_t className[64] = {};
        GetClassNameW(child, className, 64);
        EXPECT_EQ(lstrcmpiW(className, control.className), 0);
        EXPECT_EQ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0,
                  (control.style & WS_VISIBLE) != 0);

        // Controls that show text keep their font; pictures, frames and arrows have none.
        if (control.caption[0] != L'\0' || lstrcmpiW(control.className, L"EDIT") == 0) {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            EXPECT_EQ(font.lfHeight, -control.font.pixelHeight);
            EXPECT_STREQ(font.lfFaceName, control.font.face);
            EXPECT_EQ(font.lfWeight, control.font.bold ? FW_BOLD : FW_NORMAL);
            EXPECT_EQ(font.lfUnderline != 0, control.font.underline);
        }

        if (lstrcmpiW(control.className, UPDOWN_CLASSW) == 0) {
            // Attached to the edit made just before it, which shows the start position.
            const HWND buddy = reinterpret_cast<HWND>(SendMessageW(child, UDM_GETBUDDY, 0, 0));
            EXPECT_EQ(buddy, GetDlgItem(parent, (&control - 1)->id));
            int low = 0, high = 0;
            SendMessageW(child, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                         reinterpret_cast<LPARAM>(&high));
            EXPECT_EQ(low, control.range.minimum);
            EXPECT_EQ(high, control.range.maximum);
            wchar_t text[16] = {};
            GetWindowTextW(buddy, text, 16);
            EXPECT_EQ(std::wstring(text), std::to_wstring(control.range.position));
        }
    }
    DestroyWindow(parent);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutWindows, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.window.name); });
