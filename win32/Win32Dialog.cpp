// The window under every dialog view, and its modal run.
#include "win32/Win32Dialog.h"

#include "core/DialogPlace.h"
#include "win32/TrayIcons.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <stdexcept>
#include <vector>

namespace {

constexpr wchar_t ClassName[] = L"RupetaDialog";
// A fixed-size dialog frame: title bar with a close box, no icon in it.
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME;

std::wstring widen(std::string_view text)
{
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string narrow(std::wstring_view wide)
{
    const int size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size,
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                        nullptr, nullptr);
    return text;
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The program's windows that are up as a run starts take no input until it ends; hidden ones
// (the tray's) keep working, and windows that come up during the run are left alone.
class OtherWindowsDisabled
{
public:
    explicit OtherWindowsDisabled(HWND dialog) : m_dialog(dialog)
    {
        EnumThreadWindows(GetCurrentThreadId(), &collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : m_windows)
            EnableWindow(window, FALSE);
    }
    ~OtherWindowsDisabled()
    {
        for (HWND window : m_windows)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK collect(HWND window, LPARAM self)
    {
        auto& run = *reinterpret_cast<OtherWindowsDisabled*>(self);
        if (window != run.m_dialog && IsWindowVisible(window) && IsWindowEnabled(window))
            run.m_windows.push_back(window);
        return TRUE;
    }

    HWND m_dialog;
    std::vector<HWND> m_windows;
};

void registerClass(HINSTANCE instance, WNDPROC procedure)
{
    static const ATOM atom = [instance, procedure] {
        // The up-down controls' class.
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = procedure;
        // The dialog manager keeps its state (focus, default button) in these bytes.
        c.cbWndExtra = DLGWINDOWEXTRA;
        c.hInstance = instance;
        c.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(TrayIcons::Program));
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
        c.lpszClassName = ClassName;
        return RegisterClassExW(&c);
    }();
    if (atom == 0)
        throw std::runtime_error("the dialog class cannot be registered");
}

} // namespace

Win32Dialog::Win32Dialog(const Layout::Window& window, std::span<const Layout::Control> controls,
                         Command command)
    : m_controls(controls), m_command(std::move(command))
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, &Win32Dialog::windowProc);
    RECT frame{0, 0, window.clientWidth, window.clientHeight};
    AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
    m_window =
        CreateWindowExW(ExStyle, ClassName, window.caption, Style, 0, 0, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (m_window == nullptr)
        throw std::runtime_error(std::string("the window ") + window.name + " cannot be made");
    if (!createControls(m_window, controls, m_fonts)) {
        DestroyWindow(m_window);
        throw std::runtime_error(std::string("the controls of ") + window.name + " cannot be made");
    }
    m_pictures.show(m_window, controls);
    for (const Layout::Control& c : controls)
        fitLabel(c);
}

Win32Dialog::~Win32Dialog()
{
    // The view that handles the commands is going: nothing may reach it any more.
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    DestroyWindow(m_window);
}

LRESULT CALLBACK Win32Dialog::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        switch (message) {
        case WM_COMMAND:
            if (lParam != 0 && self->m_command) {
                self->m_command(LOWORD(wParam), HIWORD(wParam));
                return 0;
            }
            break;
        case WM_CLOSE:
            // The close box ends every dialog, with or without a cancel button.
            self->endModal(ModalResult::Cancel);
            return 0;
        default:
            break;
        }
    }
    return DefDlgProcW(window, message, wParam, lParam);
}

ModalResult Win32Dialog::runModal(bool escapeCancels)
{
    m_escapeCancels = escapeCancels;
    m_result.reset();
    RECT frame{};
    GetWindowRect(m_window, &frame);
    const ScreenPoint place =
        centredOn({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                  frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(m_window, HWND_TOP, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    {
        const OtherWindowsDisabled others(m_window);
        if (shown)
            shown();
        ShowWindow(m_window, SW_SHOW);
        // Opened from the tray or the reminder, neither of which has the keyboard.
        SetForegroundWindow(m_window);
        focusFirstTabStop();
        MSG msg{};
        while (!m_result) {
            if (GetMessageW(&msg, nullptr, 0, 0) == 0) {
                // The program is ending: so does every loop around this one.
                PostQuitMessage(static_cast<int>(msg.wParam));
                m_result = ModalResult::Abandoned;
                break;
            }
            if (isEscape(msg)) {
                if (m_escapeCancels)
                    endModal(ModalResult::Cancel);
                continue;
            }
            if (!IsDialogMessageW(m_window, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        // The others are enabled again while the dialog is still up, so that the window the
        // user came from can take the activation back.
    }
    ShowWindow(m_window, SW_HIDE);
    return *m_result;
}

void Win32Dialog::endModal(ModalResult result)
{
    if (!m_result)
        m_result = result;
    // Wakes the run's loop when nothing else is on its way.
    PostMessageW(m_window, WM_NULL, 0, 0);
}

bool Win32Dialog::isEscape(const MSG& msg) const
{
    return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
           (msg.hwnd == m_window || IsChild(m_window, msg.hwnd));
}

void Win32Dialog::focusFirstTabStop()
{
    if (const HWND first = GetNextDlgTabItem(m_window, nullptr, FALSE))
        SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void Win32Dialog::setClientSize(int width, int height)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Dialog::moveItem(int id, int left, int top)
{
    SetWindowPos(item(id), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const Layout::Control* Win32Dialog::control(int id) const
{
    for (const Layout::Control& c : m_controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

// The layouts' labels take the width of their caption, as they were designed to: the stored
// widths were measured with the layout font, and a substitute font (Wine's) can come out a few
// pixels wider, which would push the last word onto a line that is cut off.
void Win32Dialog::fitLabel(const Layout::Control& label)
{
    if (std::wcscmp(label.className, L"STATIC") != 0 || (label.style & SS_TYPEMASK) != SS_LEFT)
        return;
    const HWND window = item(label.id);
    const std::wstring text = windowText(window);
    const HDC dc = GetDC(window);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    SetWindowPos(window, nullptr, 0, 0, extent.cx, label.rect.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Dialog::showItem(int id, bool shown)
{
    ShowWindow(item(id), shown ? SW_SHOWNA : SW_HIDE);
    const Layout::Control* parent = control(id);
    if (parent == nullptr)
        return;
    for (const Layout::Control& c : m_controls)
        if (std::strcmp(c.parent, parent->name) == 0)
            showItem(c.id, shown);
}

void Win32Dialog::enableItem(int id, bool enabled)
{
    const HWND control = item(id);
    if (!enabled && GetFocus() == control)
        SendMessageW(m_window, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(control, enabled);
}

std::string Win32Dialog::itemText(int id) const
{
    return narrow(windowText(item(id)));
}

void Win32Dialog::setItemText(int id, std::string_view text)
{
    SetWindowTextW(item(id), widen(text).c_str());
    if (const Layout::Control* c = control(id))
        fitLabel(*c);
}
