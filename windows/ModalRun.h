// Runs a dialog modally the way the program's dialogs have always run: the program's windows
// that are up when it starts take no input until it ends; the tray, its menus and windows that
// come up meanwhile (a new reminder) stay usable.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QDialog;
class QWidget;

class ModalRun : public QObject
{
    Q_OBJECT

public:
    // Shows the dialog and returns its result once it has closed; Rejected when it was
    // destroyed or the application is quitting.
    static int exec(QDialog& dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModalRun() = default;

    QList<QPointer<QWidget>> m_blocked;
};
