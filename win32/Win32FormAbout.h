// The about dialog's Win32 side, from the FormAbout control table.
#pragma once

#include "win32/Win32Dialog.h"
#include "windows/TFormAboutView.h"

class TFormAbout;

class Win32FormAbout : public TFormAboutView
{
public:
    explicit Win32FormAbout(TFormAbout& form);

    ModalResult runModal(bool escapeCancels) override;
    void endModal(ModalResult result) override;

    void setVersion(const std::string& text) override;
    void showSurveyPanel(bool shown) override;
    void resize(int width, int height) override;
    void moveOkButton(int top) override;
    std::string passwordText() const override;
    void disableSurveyControls() override;

    HWND window() const { return m_dialog.handle(); }

private:
    Win32Dialog m_dialog;
};
