// The program's toolkit in plain Win32: precise timers on one message-only window, the
// performance counter as the clock, the end of the message loop, the views.
#pragma once

#include "shell/ShellToolkit.h"
#include "win32/TimerWindow.h"

class Win32Toolkit : public ShellToolkit
{
public:
    std::unique_ptr<Timer> createTimer(std::function<void()> timeout) override;
    std::int64_t monotonicMs() override;
    // Posts WM_QUIT, which also ends a dialog's modal loop (it posts the message on).
    void quit() override;
    std::unique_ptr<TForm2View> createView(TForm2& form) override;
    std::unique_ptr<TFormConfigView> createView(TFormConfig& form) override;
    std::unique_ptr<TFormAboutView> createView(TFormAbout& form) override;
    std::unique_ptr<TForm_StretchView> createView(TForm_Stretch& form) override;
    std::unique_ptr<TForm1View> createView(TForm1& form) override;

    // True while the tray menu is open: the reminder then leaves it on top.
    bool menuOpen() const { return m_menuOpen; }
    void setMenuOpen(bool open) { m_menuOpen = open; }

private:
    TimerWindow m_timers;
    bool m_menuOpen = false;
};
