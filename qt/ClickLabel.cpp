// A label that reports a left click, and keeps every press from reaching the widgets below.
#include "qt/ClickLabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    // Accepted whatever the button: a press on a label must not fall through to the popup.
    m_click.press(event->button() == Qt::LeftButton);
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (m_click.release(event->button() == Qt::LeftButton,
                        rect().contains(event->position().toPoint())))
        emit clicked(); // last: the handler may end with this label destroyed
}
