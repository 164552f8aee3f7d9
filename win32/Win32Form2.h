// The reminder popup's Win32 side, from Form2's control table: a borderless topmost window that
// is never activated, its labels on the background colour, its two shapes drawn by the window.
#pragma once

#include "core/ClickTracker.h"
#include "win32/LayoutBuilder.h"
#include "windows/TForm2View.h"

#include <windows.h>

class TForm2;
class Win32Toolkit;

class Win32Form2 : public TForm2View
{
public:
    // SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW
    static constexpr UINT TopmostFlags = 0x53;

    Win32Form2(TForm2& form, Win32Toolkit& toolkit);
    ~Win32Form2() override;
    Win32Form2(const Win32Form2&) = delete;
    Win32Form2& operator=(const Win32Form2&) = delete;

    void setColor(std::uint32_t bgr) override;
    void setMessage(const std::string& text) override;
    void resize(int width, int height) override;
    void hideFrame() override;
    ScreenRect primaryScreen() const override;
    void moveTo(int x, int y) override;
    void showNoActivate() override;
    void hide() override;
    bool isVisible() const override;
    void raiseAbove() override;
    bool isMenuOpen() const override;

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint();
    void clicked(int id);
    void windowPosChanging(WINDOWPOS& pos) const;
    bool handCursorOver(HWND child) const;

    TForm2& m_form;
    Win32Toolkit& m_toolkit;
    HWND m_window = nullptr;
    LayoutFonts m_fonts;
    HBRUSH m_background = nullptr;
    HICON m_image = nullptr;
    RECT m_shape1{}; // the outline round the whole popup
    RECT m_shape2{}; // the frame of the first showing, until the first blink
    bool m_frameShown = true;
    ClickTracker m_click;
};
