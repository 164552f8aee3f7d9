// A rectangle outline with a clear inside that reports every mouse press over it.
#include "qt/Shape.h"

#include <QMouseEvent>
#include <QPainter>

Shape::Shape(QWidget* parent) : QWidget(parent) {}

void Shape::setPenColor(const QColor& color)
{
    m_penColor = color;
    update();
}

void Shape::setPenWidth(int width)
{
    m_penWidth = width;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    // The pen lies inside the rectangle, as a framework shape draws it: four filled bands
    // give exact pixels for any width.
    QPainter painter(this);
    const int w = m_penWidth;
    painter.fillRect(0, 0, width(), w, m_penColor);
    painter.fillRect(0, height() - w, width(), w, m_penColor);
    painter.fillRect(0, 0, w, height(), m_penColor);
    painter.fillRect(width() - w, 0, w, height(), m_penColor);
}

void Shape::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit mousePressed(event->button()); // last: the handler may end with this shape destroyed
}
