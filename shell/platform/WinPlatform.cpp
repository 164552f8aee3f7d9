// The platform services on Windows.
#include "shell/platform/WinPlatform.h"

#include "shell/platform/LocalClock.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

bool WinPlatform::enterPressedSinceLastQuery()
{
    // Bit 0: pressed since the previous GetAsyncKeyState call for this key.
    return (GetAsyncKeyState(VK_RETURN) & 1) != 0;
}

bool WinPlatform::spacePressedSinceLastQuery()
{
    return (GetAsyncKeyState(VK_SPACE) & 1) != 0;
}

std::optional<CursorPos> WinPlatform::cursorPos()
{
    POINT point{};
    // Fails while the desktop is locked or another desktop is active.
    if (!GetCursorPos(&point)) {
        return std::nullopt;
    }
    return CursorPos{point.x, point.y};
}

bool WinPlatform::ctrlAndShiftDown()
{
    // Down or toggled both count; Shift is asked only when Ctrl answered.
    return GetKeyState(VK_CONTROL) != 0 && GetKeyState(VK_SHIFT) != 0;
}

void WinPlatform::openDocument(const std::string& text)
{
    // The text is UTF-8; the wide call keeps every character whatever the ANSI code page.
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    ShellExecuteW(nullptr, nullptr, wide.c_str(), nullptr, nullptr, SW_SHOW);
}

DateTime WinPlatform::now()
{
    return localClockNow();
}

bool WinPlatform::showNotification(const std::string&, const std::string&)
{
    // Windows always has its notification area, so nothing ever asks.
    return false;
}

void prepareSession() {}

std::unique_ptr<Platform> createPlatform()
{
    return std::make_unique<WinPlatform>();
}
