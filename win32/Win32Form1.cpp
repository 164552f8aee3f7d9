// The hidden main window's Win32 side.
#include "win32/Win32Form1.h"

#include "Menus.h"
#include "core/Texts.h"
#include "shell/TForm1.h"
#include "win32/NoticeWindow.h"
#include "win32/TrayIcons.h"
#include "win32/WideText.h"
#include "win32/Win32Toolkit.h"
#include "win32/WindowProc.h"

namespace {

namespace Menu = Layouts::PopupMenu1;

// A tray click, handled from the message loop: the tray may be waiting on the callback, and a
// double click runs the settings dialog modally.
constexpr UINT QueuedClick = WM_APP + 1;
constexpr std::array<int, 5> LinkIds{Menu::Menu_Info1, Menu::Menu_Info2, Menu::Menu_Info3,
                                     Menu::Menu_Info4, Menu::Menu_Info5};

int menuId(TForm1View::MenuItem item)
{
    switch (item) {
    case TForm1View::MenuItem::MenuConfig:
        return Menu::MenuConfig;
    case TForm1View::MenuItem::MenuSample:
        return Menu::MenuSample;
    case TForm1View::MenuItem::MenuStretch:
        return Menu::MenuStretch;
    case TForm1View::MenuItem::MenuAbout:
        break;
    }
    return Menu::MenuAbout;
}

} // namespace

Win32Form1::Win32Form1(TForm1& form, Win32Toolkit& toolkit)
    : m_form(form), m_toolkit(toolkit), m_menu(Menu::entries),
      m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated"))
{
    registerObjectWindowClass<Win32Form1>(L"RupetaForm1");
    m_window = CreateWindowExW(0, L"RupetaForm1", widen(Texts::AppName).c_str(), WS_OVERLAPPED, 0,
                               0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

Win32Form1::~Win32Form1()
{
    if (m_trayAdded) {
        NOTIFYICONDATAW data = trayData(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
    m_notices.clear();
    destroyObjectWindow(m_window);
    for (const HICON icon : m_trayIcons) {
        if (icon != nullptr)
            DestroyIcon(icon);
    }
}

void Win32Form1::showDemoItem()
{
    m_menu.setVisible(Menu::MenuDemo, true);
}

void Win32Form1::checkDemoItem(bool checked)
{
    m_menu.setChecked(Menu::MenuDemo, checked);
}

void Win32Form1::enableMenuItem(MenuItem item, bool on)
{
    m_menu.setEnabled(menuId(item), on);
}

void Win32Form1::setLinkItem(std::size_t index, const std::string& caption, bool separator,
                             bool visible)
{
    const int id = LinkIds.at(index);
    m_menu.setCaption(id, widen(caption));
    m_menu.setSeparator(id, separator);
    m_menu.setVisible(id, visible);
}

HICON Win32Form1::trayIcon(int image)
{
    HICON& icon = m_trayIcons.at(static_cast<std::size_t>(image - 1));
    if (icon == nullptr) {
        // The small icon size of the tray, from the sizes the resource holds.
        icon = static_cast<HICON>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TrayIcons::FirstImage + image - 1),
            IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    return icon;
}

NOTIFYICONDATAW Win32Form1::trayData(UINT flags)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = m_window;
    data.uID = 1;
    data.uFlags = flags;
    data.uCallbackMessage = TrayMessage;
    if (flags & NIF_ICON)
        data.hIcon = trayIcon(m_image);
    if (flags & NIF_TIP) {
        const std::wstring tip = fitBuffer(m_tooltip, ARRAYSIZE(data.szTip));
        tip.copy(data.szTip, tip.size());
    }
    return data;
}

bool Win32Form1::addTrayIcon()
{
    NOTIFYICONDATAW data = trayData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    m_trayAdded = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return m_trayAdded;
}

void Win32Form1::showTrayIcon(int image, const std::string& tooltip)
{
    m_image = image;
    m_tooltip = widen(tooltip);
    m_trayShown = true;
    // Without a tray yet (Explorer still starting), "TaskbarCreated" brings the icon later.
    addTrayIcon();
}

void Win32Form1::giveMenuToTrayHost()
{
    // Windows' tray only reports clicks; the program opens its own menu.
}

void Win32Form1::setTrayImage(int image)
{
    m_image = image;
    if (m_trayAdded) {
        NOTIFYICONDATAW data = trayData(NIF_ICON);
        Shell_NotifyIconW(NIM_MODIFY, &data);
    }
}

void Win32Form1::setTrayTooltip(const std::string& tooltip)
{
    m_tooltip = widen(tooltip);
    if (m_trayAdded) {
        NOTIFYICONDATAW data = trayData(NIF_TIP);
        Shell_NotifyIconW(NIM_MODIFY, &data);
    }
}

void Win32Form1::removeTrayIcon()
{
    m_trayShown = false;
    if (m_trayAdded) {
        NOTIFYICONDATAW data = trayData(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
        m_trayAdded = false;
    }
}

bool Win32Form1::trayAvailable() const
{
    return m_trayAdded;
}

ScreenPoint Win32Form1::clickPoint()
{
    return {m_clickPoint.x, m_clickPoint.y};
}

void Win32Form1::popupMenu(ScreenPoint at)
{
    const HMENU menu = m_menu.build();
    // The menu closes at a click elsewhere only when its owner is the foreground window.
    SetForegroundWindow(m_window);
    m_toolkit.setMenuOpen(true);
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, m_window, nullptr));
    m_toolkit.setMenuOpen(false);
    PostMessageW(m_window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    // Run from the message loop, like a command of a menu that was not tracked here.
    if (chosen != 0)
        PostMessageW(m_window, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
}

int Win32Form1::doubleClickMs() const
{
    return static_cast<int>(GetDoubleClickTime());
}

void Win32Form1::showNotice(const Notice& notice)
{
    m_notices.push_back(
        std::make_unique<NoticeWindow>(widen(notice.title), widen(notice.text), notice.activates));
}

void Win32Form1::keepHidden()
{
    if (IsWindowVisible(m_window))
        ShowWindow(m_window, SW_HIDE);
}

void Win32Form1::trayMessage(UINT mouseMessage)
{
    TrayClicks::Click click = TrayClicks::Click::Other;
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        if (m_afterDoubleClick) {
            m_afterDoubleClick = false;
            return;
        }
        click = TrayClicks::Click::Trigger;
        break;
    case WM_LBUTTONDBLCLK:
        m_afterDoubleClick = true;
        click = TrayClicks::Click::DoubleClick;
        break;
    case WM_RBUTTONUP:
        click = TrayClicks::Click::Context;
        break;
    case WM_MBUTTONUP:
        break;
    default:
        return; // presses and moves
    }
    // The tray's callback is sent, not posted, so GetMessagePos would tell some older message's
    // place; the pointer has not gone far since the click.
    GetCursorPos(&m_clickPoint);
    PostMessageW(m_window, QueuedClick, static_cast<WPARAM>(click), 0);
}

void Win32Form1::runCommand(int id)
{
    switch (id) {
    case Menu::MenuConfig:
        m_form.MenuConfigClick();
        return;
    case Menu::MenuReset:
        m_form.MenuResetClick();
        return;
    case Menu::MenuSample:
        m_form.MenuSampleClick();
        return;
    case Menu::MenuStretch:
        m_form.MenuStretchClick();
        return;
    case Menu::MenuDemo:
        m_form.MenuDemoClick();
        return;
    case Menu::MenuAbout:
        m_form.MenuAboutClick();
        return;
    case Menu::MenuExit:
        m_form.MenuExitClick();
        return;
    default:
        break;
    }
    for (std::size_t i = 0; i < LinkIds.size(); ++i) {
        if (LinkIds[i] == id)
            m_form.Menu_InfoClick(i);
    }
}

LRESULT Win32Form1::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_taskbarCreated && m_taskbarCreated != 0) {
        // Explorer (re)started: its tray knows no icons.
        if (m_trayShown)
            addTrayIcon();
        return 0;
    }
    switch (message) {
    case TrayMessage:
        if (wParam == 1)
            trayMessage(LOWORD(lParam));
        return 0;
    case QueuedClick:
        m_form.HandleTrayMessage(static_cast<TrayClicks::Click>(wParam));
        return 0;
    case WM_COMMAND:
        runCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        // taskkill without /f: end as the menu's exit does, the settings saved.
        m_form.MenuExitClick();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The process may be ended once this returns: save now.
        if (wParam != FALSE)
            m_form.MenuExitClick();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
