// The sequence every dialog opening follows.
#pragma once

#include "windows/DialogView.h"

class MainForm;

class ModalRun
{
public:
    // Unless the re-entrancy flag `open` (if any) is set: EnableMenus(false), run the dialog
    // modally with `open` set, EnableMenus(true), and return the result. When the program ends
    // during the run, nothing after the run happens and the result is Abandoned. Esc cancels
    // only a dialog with a cancel button; the others stay open.
    static ModalResult run(MainForm& main, bool* open, DialogView& dialog, bool hasCancelButton);
};
