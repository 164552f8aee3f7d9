// Prints the top-level windows of every process in this Wine prefix whose title is TITLE,
// hidden ones included, one line each in UTF-8, led by the Windows process id and a tab:
// "box<TAB>text" for a message box (its text is in the static controls inside), "window" for
// any other window. Desktop tests read the program's error boxes and count its running copies
// with it.
//   window-texts TITLE
#include "core/WideText.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK staticText(HWND child, LPARAM found)
{
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, ARRAYSIZE(cls));
    // The message text is the static control with an id of -1; the icon is another static.
    if (lstrcmpiW(cls, L"Static") == 0 && !textOf(child).empty()) {
        auto& text = *reinterpret_cast<std::wstring*>(found);
        text += (text.empty() ? L"" : L" ") + textOf(child);
    }
    return TRUE;
}

BOOL CALLBACK printWindow(HWND window, LPARAM title)
{
    if (textOf(window) != reinterpret_cast<const wchar_t*>(title))
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::printf("%lu\t", process);
    wchar_t cls[32] = L"";
    GetClassNameW(window, cls, ARRAYSIZE(cls));
    if (lstrcmpW(cls, L"#32770") == 0) {
        std::wstring text;
        EnumChildWindows(window, staticText, reinterpret_cast<LPARAM>(&text));
        // One line per box, whatever line breaks the text holds.
        for (auto& c : text)
            if (c == L'\r' || c == L'\n')
                c = L' ';
        std::printf("box\t%s\n", narrow(text).c_str());
    } else {
        std::printf("window\n");
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2)
        return 2;
    EnumWindows(printWindow, reinterpret_cast<LPARAM>(argv[1]));
    return 0;
}
