// A window class whose procedure hands every message to the C++ object that made the window:
// T::handleMessage(HWND, UINT, WPARAM, LPARAM), with the object given as the creation parameter.
#pragma once

#include <windows.h>

template <class T>
LRESULT CALLBACK objectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(window, message, wParam, lParam);
}

// Registers the class once per process; the cursor is the arrow.
template <class T> void registerObjectWindowClass(const wchar_t* name)
{
    static const ATOM atom = [name] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = objectWindowProc<T>;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = name;
        return RegisterClassW(&windowClass);
    }();
    (void)atom;
}

// Destroys the window without calling back into its object, which is going away.
inline void destroyObjectWindow(HWND window)
{
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}
