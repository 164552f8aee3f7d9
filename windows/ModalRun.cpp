// The sequence every dialog opening follows.
#include "windows/ModalRun.h"

#include "windows/MainForm.h"

ModalResult ModalRun::run(MainForm& main, bool* open, DialogView& dialog, bool hasCancelButton)
{
    if (open && *open)
        return ModalResult::Abandoned;
    if (open)
        *open = true;
    main.EnableMenus(false);
    const ModalResult result = dialog.runModal(hasCancelButton);
    if (open)
        *open = false;
    // The main window is gone with the dialog: neither may be touched again.
    if (result == ModalResult::Abandoned)
        return result;
    main.EnableMenus(true);
    return result;
}
