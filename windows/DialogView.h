// What every dialog's screen side does: run modally and end the run.
#pragma once

enum class ModalResult
{
    Ok,
    Cancel,    // the cancel button, Esc where it cancels, or the close box
    Abandoned, // the program ended during the run and took the dialog with it
};

class DialogView
{
public:
    virtual ~DialogView() = default;

    // Shows the dialog centred, frame included, on the primary screen, with the first control
    // in tab order focused and the keyboard taken, and returns once it has closed. The tray and
    // windows that come up meanwhile stay usable; the program's windows that were up as the run
    // started take no input until it ends. Esc ends the run as Cancel only when escapeCancels.
    virtual ModalResult runModal(bool escapeCancels) = 0;
    // Ends the run with this result.
    virtual void endModal(ModalResult result) = 0;
};
