// A dialog's modal run in Qt.
#include "qt/ModalLoop.h"

#include "qt/DialogPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>

namespace {

constexpr char BlockedDuringRuns[] = "blockedDuringRuns";

} // namespace

void ModalLoop::blockDuringRuns(QWidget& window)
{
    window.setProperty(BlockedDuringRuns, true);
}

// Qt's own modality would block every other window, the tray icon included, and every window
// shown later; this keeps the tray usable and lets a reminder that comes up during the run take
// clicks.
ModalResult ModalLoop::exec(QDialog& dialog)
{
    centreOnScreen(dialog);
    ModalLoop run;
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
        return ModalResult::Abandoned;
    const bool accepted = !guard->isVisible() && guard->result() == QDialog::Accepted;
    guard->hide();
    return accepted ? ModalResult::Ok : ModalResult::Cancel;
}

bool ModalLoop::eventFilter(QObject* watched, QEvent* event)
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
