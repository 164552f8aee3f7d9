// A dialog's modal run in Qt that leaves the tray and windows that come up meanwhile (a new
// reminder) usable, and blocks the program's windows that were up as it started.
#pragma once

#include "windows/DialogView.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QDialog;
class QWidget;

class ModalLoop : public QObject
{
public:
    // Centres the dialog, shows it and returns once it has closed: Ok when accepted, Cancel
    // when rejected or when the event loop ended meanwhile, Abandoned when the dialog was
    // destroyed (its owner went).
    static ModalResult exec(QDialog& dialog);

    // Marks a window of the program other than a dialog (the reminder) that a run blocks, as it
    // blocks the dialogs, when the window is up as the run starts.
    static void blockDuringRuns(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModalLoop() = default;

    QList<QPointer<QWidget>> m_blocked;
};
