// The reminder popup's Win32 side.
#include "win32/Win32Form2.h"

#include "Layouts.h"
#include "win32/TrayIcons.h"
#include "win32/WideText.h"
#include "win32/Win32Toolkit.h"
#include "win32/WindowProc.h"
#include "windows/TForm2.h"

#include <vector>

namespace {

namespace Layout2 = Layouts::Form2;

// The shapes' pens, as the layout gives them: Shape1 the default thin black one, Shape2 a wide
// orange one. The pen lies inside the shape's rectangle.
constexpr COLORREF Shape1Pen = RGB(0, 0, 0);
constexpr int Shape1PenWidth = 1;
constexpr COLORREF Shape2Pen = RGB(255, 128, 64);
constexpr int Shape2PenWidth = 2;

RECT tableRect(int id)
{
    for (const Layout::Control& c : Layout2::controls) {
        if (c.id == id)
            return {c.rect.x, c.rect.y, c.rect.x + c.rect.width, c.rect.y + c.rect.height};
    }
    return {};
}

const Layout::Control* tableEntry(int id)
{
    for (const Layout::Control& c : Layout2::controls) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

void drawOutline(HDC dc, const RECT& r, COLORREF colour, int width)
{
    const HBRUSH brush = CreateSolidBrush(colour);
    const RECT bands[] = {{r.left, r.top, r.right, r.top + width},
                          {r.left, r.bottom - width, r.right, r.bottom},
                          {r.left, r.top, r.left + width, r.bottom},
                          {r.right - width, r.top, r.right, r.bottom}};
    for (const RECT& band : bands)
        FillRect(dc, &band, brush);
    DeleteObject(brush);
}

} // namespace

Win32Form2::Win32Form2(TForm2& form, Win32Toolkit& toolkit)
    : m_form(form), m_toolkit(toolkit), m_shape1(tableRect(Layout2::Shape1)),
      m_shape2(tableRect(Layout2::Shape2))
{
    registerObjectWindowClass<Win32Form2>(L"RupetaForm2");
    const Layout::Window& layout = Layout2::window;
    m_window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"RupetaForm2",
                        layout.caption, WS_POPUP, 0, 0, layout.clientWidth, layout.clientHeight,
                        nullptr, nullptr, GetModuleHandleW(nullptr), this);
    // The shapes are drawn by the window itself: overlapping sibling controls would paint
    // over the labels in no fixed order.
    std::vector<Layout::Control> controls;
    for (const Layout::Control& c : Layout2::controls) {
        if ((c.style & SS_TYPEMASK) != SS_OWNERDRAW)
            controls.push_back(c);
    }
    createControls(m_window, controls, m_fonts);
    m_image = static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TrayIcons::Program), IMAGE_ICON, 32, 32, 0));
    SendDlgItemMessageW(m_window, Layout2::Image1, STM_SETICON, reinterpret_cast<WPARAM>(m_image),
                        0);
}

Win32Form2::~Win32Form2()
{
    destroyObjectWindow(m_window);
    if (m_background != nullptr)
        DeleteObject(m_background);
    if (m_image != nullptr)
        DestroyIcon(m_image);
}

void Win32Form2::setColor(std::uint32_t bgr)
{
    // 0xBBGGRR is a COLORREF already.
    if (m_background != nullptr)
        DeleteObject(m_background);
    m_background = CreateSolidBrush(static_cast<COLORREF>(bgr));
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Form2::setMessage(const std::string& text)
{
    const HWND label = GetDlgItem(m_window, Layout2::Label_Message);
    const std::wstring wide = widen(text);
    SetWindowTextW(label, wide.c_str());
    // The label takes the width of its text, in its own font.
    const HDC dc = GetDC(label);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT r{};
    GetClientRect(label, &r);
    SetWindowPos(label, nullptr, 0, 0, size.cx, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form2::resize(int width, int height)
{
    m_shape1.right = m_shape1.left + width;
    m_shape1.bottom = m_shape1.top + height;
    m_shape2.right = m_shape2.left + width;
    SetWindowPos(m_window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_window, nullptr, TRUE);
}

void Win32Form2::hideFrame()
{
    if (!m_frameShown)
        return;
    m_frameShown = false;
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

ScreenRect Win32Form2::primaryScreen() const
{
    // The primary monitor starts at the origin; its whole size, the taskbar included.
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32Form2::moveTo(int x, int y)
{
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form2::showNoActivate()
{
    SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, TopmostFlags);
    m_form.FormShow();
}

void Win32Form2::hide()
{
    ShowWindow(m_window, SW_HIDE);
}

bool Win32Form2::isVisible() const
{
    return IsWindowVisible(m_window) != FALSE;
}

void Win32Form2::raiseAbove()
{
    SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, TopmostFlags);
}

bool Win32Form2::isMenuOpen() const
{
    return m_toolkit.menuOpen();
}

void Win32Form2::paint()
{
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    FillRect(dc, &client, m_background);
    drawOutline(dc, m_shape1, Shape1Pen, Shape1PenWidth);
    if (m_frameShown)
        drawOutline(dc, m_shape2, Shape2Pen, Shape2PenWidth);
    EndPaint(m_window, &ps);
}

void Win32Form2::clicked(int id)
{
    switch (id) {
    case Layout2::Label1:
        m_form.Label1Click();
        break;
    case Layout2::Label_Message:
        m_form.Label_MessageClick();
        break;
    case Layout2::Image1:
        m_form.Image1Click();
        break;
    case Layout2::Label2:
        m_form.Label2Click();
        break;
    default:
        break;
    }
}

// Re-asserts the top place in the request itself: calling SetWindowPos from here would re-enter
// this handler at once.
void Win32Form2::windowPosChanging(WINDOWPOS& pos) const
{
    if ((pos.flags & SWP_NOZORDER) != 0 || pos.hwndInsertAfter == HWND_TOPMOST)
        return;
    if (m_form.KeepOnTop() && !m_toolkit.menuOpen())
        pos.hwndInsertAfter = HWND_TOPMOST;
}

bool Win32Form2::handCursorOver(HWND child) const
{
    if (child == m_window)
        return false;
    const Layout::Control* entry = tableEntry(GetDlgCtrlID(child));
    return entry != nullptr && entry->handCursor;
}

LRESULT Win32Form2::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
        windowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        paint();
        return 0;
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const Layout::Control* entry = tableEntry(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        SetTextColor(dc, entry != nullptr && entry->textColour != Layout::NoColour
                             ? entry->textColour
                             : RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(m_background);
    }
    case WM_SETCURSOR:
        if (handCursorOver(reinterpret_cast<HWND>(wParam))) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED)
            clicked(LOWORD(wParam)); // last: the handler may run a dialog or end the program
        return 0;
    case WM_LBUTTONDOWN: {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&m_shape1, at)) {
            m_form.Shape1MouseDown();
            return 0;
        }
        m_click.press(true);
        return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        m_click.press(false);
        return 0;
    case WM_LBUTTONUP: {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client{};
        GetClientRect(window, &client);
        if (m_click.release(true, PtInRect(&client, at)))
            m_form.FormClick();
        return 0;
    }
    case WM_CLOSE:
        // taskkill asks every window; only the main window's ends the program.
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
