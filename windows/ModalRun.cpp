// Runs the program's dialogs: the sequence every opening follows, and a modal run that leaves
// the tray and windows that come up meanwhile (a new reminder) usable.
#include "windows/ModalRun.h"

#include "qt/DialogPlacement.h"
#include "windows/MainForm.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>

namespace {

constexpr char BlockedDuringRuns[] = "blockedDuringRuns";

} // namespace

void ModalRun::run(MainForm& main, bool* open, const std::function<QDialog*(QWidget*)>& build,
                   const std::function<void(int result)>& done)
{
    if (open && *open)
        return;
    // The owner can be destroyed while the dialog runs (the program ended from the tray menu):
    // then neither it nor the dialog, which went with it, may be touched again.
    QPointer<QWidget> owner = main.ownerWidget();
    const bool owned = owner;
    QPointer<QDialog> dialog = build(owner);
    centreOnScreen(*dialog);

    if (open)
        *open = true;
    main.EnableMenus(false);
    const int result = exec(*dialog);
    if (open)
        *open = false;
    if (owned && !owner)
        return;
    main.EnableMenus(true);
    if (dialog && done)
        done(result);
    delete dialog;
}

void ModalRun::blockDuringRuns(QWidget& window)
{
    window.setProperty(BlockedDuringRuns, true);
}

// Qt's own modality would block every other window, the tray icon included, and every window
// shown later; this keeps the tray usable and lets a reminder that comes up during the run take
// clicks.
int ModalRun::exec(QDialog& dialog)
{
    ModalRun run;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != &dialog && window->isVisible() &&
            (qobject_cast<QDialog*>(window) || window->property(BlockedDuringRuns).toBool()))
            run.m_blocked << window;
    qApp->installEventFilter(&run);

    QPointer<QDialog> guard(&dialog);
    QEventLoop loop;
    connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    dialog.setResult(QDialog::Rejected);
    // The first control in tab order holds the focus when the dialog opens, and the dialog
    // takes the keyboard even when it was opened from the reminder, which never has it.
    for (QWidget* w = dialog.nextInFocusChain(); !dialog.focusWidget() && w != &dialog;
         w = w->nextInFocusChain())
        if (w->isVisibleTo(&dialog) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            w->setFocus(Qt::TabFocusReason);
    dialog.show();
    dialog.activateWindow();
    loop.exec(QEventLoop::DialogExec);
    if (!guard)
        return QDialog::Rejected;
    const int result = guard->isVisible() ? int(QDialog::Rejected) : guard->result();
    guard->hide();
    return result;
}

bool ModalRun::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
        if (watched->isWidgetType()) {
            QWidget* window = static_cast<QWidget*>(watched)->window();
            for (const QPointer<QWidget>& blocked : std::as_const(m_blocked))
                if (blocked == window) {
                    // A blocked window's close box does nothing, as its clicks do nothing.
                    event->ignore();
                    return true;
                }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
