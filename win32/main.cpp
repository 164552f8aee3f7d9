// Process entry: one copy per directory, the chime, then the hidden main window and the
// message loop.
#include "core/Texts.h"
#include "shell/TForm1.h"
#include "shell/platform/Platform.h"
#include "win32/MciChime.h"
#include "win32/SingleInstance.h"
#include "win32/WideText.h"
#include "win32/Win32Toolkit.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

// The executable's folder, with its closing backslash.
std::wstring exeDir()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);

    // Decided before the settings are loaded, so that a second copy writes nothing.
    SingleInstance instance;
    TForm1* running = nullptr;
    // A second start here acts as a double click on the tray icon.
    if (!instance.claim([&running] {
            if (running != nullptr)
                running->HandleTrayMessage(TrayClicks::Click::DoubleClick);
        }))
        return 0;

    std::string error;
    const auto sound = MciChime::open(exeDir(), error);
    if (!sound) {
        MessageBoxW(nullptr, widen(error).c_str(), widen(Texts::AppName).c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }

    prepareSession();
    const auto platform = createPlatform();
    Win32Toolkit toolkit;
    TForm1 form(*platform, *sound, toolkit);
    running = &form;

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    running = nullptr;
    return 0;
}
