// A label that reports a left click, and keeps every press from reaching the widgets below.
#pragma once

#include "core/ClickTracker.h"

#include <QLabel>

class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    // A left button pressed and released over the label.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker m_click;
};
