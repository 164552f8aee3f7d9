// The stretch guide's Win32 side, from the Form_Stretch control table: the picture, its advice
// and the close button.
#pragma once

#include "win32/Win32Dialog.h"
#include "windows/TForm_StretchView.h"

class TForm_Stretch;

class Win32Form_Stretch : public TForm_StretchView
{
public:
    explicit Win32Form_Stretch(TForm_Stretch& form);

    ModalResult runModal(bool escapeCancels) override;
    void endModal(ModalResult result) override;

    HWND window() const { return m_dialog.handle(); }

private:
    Win32Dialog m_dialog;
};
