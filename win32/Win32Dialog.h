// The window under every dialog view: made from its control table, hidden until its modal run,
// with the keyboard of a Windows dialog (Tab, arrows in groups, Enter for the default button).
#pragma once

#include "win32/Layout.h"
#include "win32/LayoutBuilder.h"
#include "win32/LayoutPictures.h"
#include "windows/DialogView.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class Win32Dialog
{
public:
    // A control's WM_COMMAND: its id and notification code.
    using Command = std::function<void(int id, int code)>;

    // Throws std::runtime_error when the window or a control cannot be made.
    Win32Dialog(const Layout::Window& window, std::span<const Layout::Control> controls,
                Command command);
    ~Win32Dialog();
    Win32Dialog(const Win32Dialog&) = delete;
    Win32Dialog& operator=(const Win32Dialog&) = delete;

    // Called as the run shows the dialog, before it appears.
    std::function<void()> shown;

    // As DialogView: centred with its frame on the primary screen, first tab stop focused; the
    // program's other visible windows are disabled for the run. WM_QUIT ends it as Abandoned
    // and is posted again for the loop outside.
    ModalResult runModal(bool escapeCancels);
    void endModal(ModalResult result);

    HWND handle() const { return m_window; }
    HWND item(int id) const { return GetDlgItem(m_window, id); }

    void setClientSize(int width, int height);
    void moveItem(int id, int left, int top);
    // Shows or hides a control with every control the layout puts inside it.
    void showItem(int id, bool shown);
    // Disabling the focused control hands the focus to the next tab stop first.
    void enableItem(int id, bool enabled);
    // Texts in UTF-8; a label takes the width of its new caption.
    std::string itemText(int id) const;
    void setItemText(int id, std::string_view text);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool isEscape(const MSG& msg) const;
    const Layout::Control* control(int id) const;
    void fitLabel(const Layout::Control& label);
    void focusFirstTabStop();

    std::span<const Layout::Control> m_controls;
    Command m_command;
    LayoutFonts m_fonts;
    LayoutPictures m_pictures;
    HWND m_window = nullptr;
    bool m_escapeCancels = true;
    std::optional<ModalResult> m_result;
};
