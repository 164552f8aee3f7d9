// The settings dialog's Win32 side, from the FormConfig control table.
#pragma once

#include "win32/Win32Dialog.h"
#include "windows/TFormConfigView.h"

class TFormConfig;

class Win32FormConfig : public TFormConfigView
{
public:
    explicit Win32FormConfig(TFormConfig& form);

    ModalResult runModal(bool escapeCancels) override;
    void endModal(ModalResult result) override;

    void setTimer(const std::string& text, const SpinRange& range, int position) override;
    void setReset(const std::string& text, const SpinRange& range, int position) override;
    std::string timerText() const override;
    std::string resetText() const override;
    void setAutoReset(bool checked) override;
    bool autoReset() const override;
    void checkPosition(int radio) override;
    int checkedPosition() const override;
    void enableResetControls(bool on) override;

    HWND window() const { return m_dialog.handle(); }

private:
    // An edit box with the up-down control attached to it.
    void setSpin(int edit, int upDown, const std::string& text, const SpinRange& range,
                 int position);

    Win32Dialog m_dialog;
};
