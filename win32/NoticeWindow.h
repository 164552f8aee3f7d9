// A small window that says something once and leaves the program running: its text and a
// close button, shown with or without taking the focus. Closing it only hides it for good.
#pragma once

#include <windows.h>

#include <string>

class NoticeWindow
{
public:
    NoticeWindow(const std::wstring& title, const std::wstring& text, bool activates);
    ~NoticeWindow();
    NoticeWindow(const NoticeWindow&) = delete;
    NoticeWindow& operator=(const NoticeWindow&) = delete;

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_window = nullptr;
    HFONT m_font = nullptr;
};
