// A small window that says something once.
#include "win32/NoticeWindow.h"

#include "win32/WindowProc.h"

namespace {

constexpr int TextWidth = 360;
constexpr int Margin = 12;
constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 24;

} // namespace

NoticeWindow::NoticeWindow(const std::wstring& title, const std::wstring& text, bool activates)
{
    registerObjectWindowClass<NoticeWindow>(L"RupetaNotice");
    m_font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック");
    // The text's height at the fixed width decides the window's.
    RECT textRect{0, 0, TextWidth, 0};
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, m_font);
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);

    const int clientWidth = TextWidth + 2 * Margin;
    const int clientHeight = textRect.bottom + 3 * Margin + ButtonHeight;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | (activates ? 0 : WS_EX_NOACTIVATE);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    m_window = CreateWindowExW(exStyle, L"RupetaNotice", title.c_str(), style,
                               (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                               nullptr, instance, this);
    if (m_window == nullptr)
        return;
    const HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, Margin,
                        Margin, TextWidth, textRect.bottom, m_window, nullptr, instance, nullptr);
    const HWND button =
        CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        clientWidth - Margin - ButtonWidth, clientHeight - Margin - ButtonHeight,
                        ButtonWidth, ButtonHeight, m_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    for (const HWND child : {label, button})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    ShowWindow(m_window, activates ? SW_SHOW : SW_SHOWNOACTIVATE);
}

NoticeWindow::~NoticeWindow()
{
    destroyObjectWindow(m_window);
    DeleteObject(m_font);
}

LRESULT NoticeWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            ShowWindow(window, SW_HIDE);
        return 0;
    case WM_CLOSE:
        // Also what taskkill sends to every window: only the main window's ends the program.
        ShowWindow(window, SW_HIDE);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
