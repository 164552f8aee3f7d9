// A tray icon with a menu and a 1-second timer that does nothing else, in plain Win32: the
// floor against which the Windows program's resident cost is measured. Right click: the menu
// with "Quit"; closing the window (taskkill) ends it too.
#include <windows.h>

#include <shellapi.h>

namespace {

constexpr UINT TrayMessage = WM_APP + 10; // 1034, as the program's own
constexpr UINT_PTR TickTimer = 1;
constexpr UINT QuitCommand = 1;

NOTIFYICONDATAW trayData(HWND window)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 1;
    return data;
}

void showMenu(HWND window)
{
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, QuitCommand, L"Quit");
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when clicked elsewhere only if its owner is in the foreground.
    SetForegroundWindow(window);
    const UINT chosen =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == QuitCommand)
        DestroyWindow(window);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static unsigned ticks = 0;
    switch (message) {
    case WM_TIMER:
        ++ticks;
        return 0;
    case TrayMessage:
        if (LOWORD(lParam) == WM_RBUTTONUP)
            showMenu(window);
        return 0;
    case WM_DESTROY: {
        NOTIFYICONDATAW data = trayData(window);
        Shell_NotifyIconW(NIM_DELETE, &data);
        PostQuitMessage(0);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BareTray";
    RegisterClassW(&windowClass);
    // A hidden top-level window, not a message-only one, so that taskkill's WM_CLOSE reaches it.
    const HWND window = CreateWindowExW(0, L"BareTray", L"bare-tray", WS_OVERLAPPED, 0, 0, 0, 0,
                                        nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;

    NOTIFYICONDATAW data = trayData(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayMessage;
    data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(data.szTip, L"bare-tray", ARRAYSIZE(data.szTip));
    if (!Shell_NotifyIconW(NIM_ADD, &data))
        return 1;
    SetTimer(window, TickTimer, 1000, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
