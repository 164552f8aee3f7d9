// A label that reports a left click, and keeps every press from reaching the widgets below.
#include "windows/ClickLabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    // Accepted whatever the button: a press on a label must not fall through to the popup.
    m_leftPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool click = m_leftPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_leftPressed = false;
    if (click)
        emit clicked(); // last: the handler may end with this label destroyed
}
