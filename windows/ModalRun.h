// Runs the program's dialogs: the sequence every opening follows, and a modal run that leaves
// the tray and windows that come up meanwhile (a new reminder) usable.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class MainForm;
class QDialog;
class QWidget;

class ModalRun : public QObject
{
    Q_OBJECT

public:
    // The sequence of every dialog opening: unless the re-entrancy flag `open` (if any) is set,
    // build the dialog owned by the main window, centre it, EnableMenus(false), run it modally
    // with `open` set, EnableMenus(true), hand the result to `done` while the dialog still
    // exists, destroy it. When the program ends during the run, the owner has taken the dialog
    // with it and nothing after the run happens.
    static void run(MainForm& main, bool* open, const std::function<QDialog*(QWidget*)>& build,
                    const std::function<void(int result)>& done = {});

    // Marks a window of the program other than a dialog (the reminder) that a run blocks, as it
    // blocks the dialogs, when the window is up as the run starts.
    static void blockDuringRuns(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModalRun() = default;
    // Shows the dialog and returns its result once it has closed; Rejected when it was
    // destroyed or the application is quitting.
    static int exec(QDialog& dialog);

    QList<QPointer<QWidget>> m_blocked;
};
