// An up-down spinner attached to an edit box: two arrow buttons that step a position within a
// range (no wrap-around) and write it into the box as plain decimal.
#pragma once

#include <QWidget>

class QLineEdit;

class QToolButton;

class UpDown : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int increment READ increment WRITE setIncrement)
    Q_PROPERTY(int position READ position WRITE setPosition)

public:
    explicit UpDown(QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    void setMinimum(int minimum);
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);
    int increment() const { return m_increment; }
    void setIncrement(int increment);
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
    void adoptBuddyText();

    QToolButton* m_up;
    QToolButton* m_down;
    QLineEdit* m_buddy = nullptr; // cleared when the box goes
    QObject* m_watched = nullptr; // the box as the event filter sees it, even while it dies
    int m_minimum = 0;
    int m_maximum = 100;
    int m_increment = 1;
    int m_position = 0;
};
