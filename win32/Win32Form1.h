// The hidden main window's Win32 side: a hidden top-level window (so that taskkill's WM_CLOSE
// and the session's end reach it), the tray icon with callback message 1034, the tray menu from
// Form1's layout, the notices.
#pragma once

#include "shell/TForm1View.h"
#include "win32/TrayMenu.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

class NoticeWindow;
class TForm1;
class Win32Toolkit;

class Win32Form1 : public TForm1View
{
public:
    static constexpr UINT TrayMessage = WM_USER + 10; // 1034

    Win32Form1(TForm1& form, Win32Toolkit& toolkit);
    ~Win32Form1() override;
    Win32Form1(const Win32Form1&) = delete;
    Win32Form1& operator=(const Win32Form1&) = delete;

    void showDemoItem() override;
    void checkDemoItem(bool checked) override;
    void enableMenuItem(MenuItem item, bool on) override;
    void setLinkItem(std::size_t index, const std::string& caption, bool separator,
                     bool visible) override;
    void showTrayIcon(int image, const std::string& tooltip) override;
    void giveMenuToTrayHost() override;
    void setTrayImage(int image) override;
    void setTrayTooltip(const std::string& tooltip) override;
    void removeTrayIcon() override;
    bool trayAvailable() const override;
    ScreenPoint clickPoint() override;
    void popupMenu(ScreenPoint at) override;
    int doubleClickMs() const override;
    void showNotice(const Notice& notice) override;
    void keepHidden() override;

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void trayMessage(UINT mouseMessage);
    void runCommand(int id);
    HICON trayIcon(int image);
    NOTIFYICONDATAW trayData(UINT flags);
    bool addTrayIcon();

    TForm1& m_form;
    Win32Toolkit& m_toolkit;
    HWND m_window = nullptr;
    TrayMenu m_menu;
    std::array<HICON, 17> m_trayIcons{}; // loaded on first use
    int m_image = 1;
    std::wstring m_tooltip;
    bool m_trayShown = false; // the program wants the icon
    bool m_trayAdded = false; // the tray has it
    UINT m_taskbarCreated;
    POINT m_clickPoint{};
    // The button's release that follows a double click is no click of its own.
    bool m_afterDoubleClick = false;
    std::vector<std::unique_ptr<NoticeWindow>> m_notices;
};
