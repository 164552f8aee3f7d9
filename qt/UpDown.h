// An up-down spinner attached to an edit box: two arrow buttons that step a position within a
// range (no wrap-around) and write it into the box as plain decimal.
#pragma once

#include "core/SpinStep.h"

#include <QWidget>

class QLineEdit;

class QToolButton;

class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    // The range and step size; the position is clamped into it.
    void setRange(const SpinRange& range);
    int position() const { return m_position; }
    // Clamped to the range; the edit box's text is left alone.
    void setPosition(int position);

    // Attaches the edit box: arrow keys in it step too, and every step writes the box.
    void setBuddy(QLineEdit* buddy);

    // One step up (positive) or down (negative), as a click on an arrow does.
    void step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* m_up;
    QToolButton* m_down;
    QLineEdit* m_buddy = nullptr; // cleared when the box goes
    QObject* m_watched = nullptr; // the box as the event filter sees it, even while it dies
    SpinRange m_range;
    int m_position = 0;
};
