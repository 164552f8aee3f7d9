// Prints what a shortcut (.lnk) holds, read back through the shell's own IShellLinkW, one
// "key=value" line each in UTF-8: target, working directory, arguments and icon. The
// installer test reads the shortcuts the installer made with it.
//   shortcut-reader PATH.lnk
#include "core/WideText.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

void printLine(const char* key, const wchar_t* value)
{
    std::printf("%s=%s\n", key, narrow(value).c_str());
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2)
        return 2;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int status = 1;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(argv[1], STGM_READ))) {
        wchar_t text[MAX_PATH * 2] = {};
        int icon = 0;
        // The raw path: as stored, before any resolving against this machine.
        link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
        printLine("target", text);
        text[0] = L'\0';
        link->GetWorkingDirectory(text, MAX_PATH * 2);
        printLine("workdir", text);
        text[0] = L'\0';
        link->GetArguments(text, MAX_PATH * 2);
        printLine("arguments", text);
        text[0] = L'\0';
        link->GetIconLocation(text, MAX_PATH * 2, &icon);
        printLine("icon", (std::wstring(text) + L"," + std::to_wstring(icon)).c_str());
        status = 0;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return status;
}
