// Plays the part of Explorer restarting, for the program running in this Wine prefix:
//   tray-restart forget     removes the program's tray icon, which a new tray would not know
//   tray-restart announce   broadcasts "TaskbarCreated", as a new tray does once it is up
// Exits 0 when the step was taken, 1 when there was nothing to take it on.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2)
        return 2;
    if (std::wcscmp(argv[1], L"forget") == 0) {
        // The program's hidden main window owns its icon, number 1.
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = FindWindowW(L"RupetaForm1", nullptr);
        data.uID = 1;
        return data.hWnd != nullptr && Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
    }
    if (std::wcscmp(argv[1], L"announce") == 0) {
        const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
        return SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                   nullptr) != 0
                   ? 0
                   : 1;
    }
    return 2;
}
