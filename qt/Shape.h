// A rectangle outline with a clear inside that reports every mouse press over it.
#pragma once

#include <QColor>
#include <QWidget>

class Shape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)
    Q_PROPERTY(int penWidth READ penWidth WRITE setPenWidth)

public:
    explicit Shape(QWidget* parent = nullptr);

    QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor& color);
    int penWidth() const { return m_penWidth; }
    void setPenWidth(int width);

signals:
    void mousePressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_penColor = Qt::black;
    int m_penWidth = 1;
};
