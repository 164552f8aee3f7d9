// The Qt dialog under every dialog view.
#include "qt/DialogWidget.h"

#include "qt/ModalLoop.h"

#include <QKeyEvent>

DialogWidget::DialogWidget(QWidget* owner) : QDialog(owner) {}

ModalResult DialogWidget::runModal(bool escapeCancels)
{
    m_escapeCancels = escapeCancels;
    return ModalLoop::exec(*this);
}

void DialogWidget::endModal(ModalResult result)
{
    if (result == ModalResult::Ok)
        accept();
    else
        reject();
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !m_escapeCancels) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWidget::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown)
        shown();
}
