// The reminder popup: a small borderless window that comes up without taking the focus,
// blinks, plays the sound and hides after 30 seconds or at a click.
#pragma once

#include <QColor>
#include <QWidget>

#include <functional>
#include <memory>

class MainForm;
class QTimer;

namespace Ui {
class Form2;
}

class TForm2 : public QWidget
{
    Q_OBJECT

public:
    // Milliseconds of a monotonic clock; tests pass their own.
    using Clock = std::function<qint64()>;

    // Created hidden; Timer_Blink runs from here on, in the phase the clock has now.
    TForm2(MainForm& main, QWidget* owner, Clock clock = {});
    ~TForm2() override;

    // Shows or re-shows the reminder: appearance, place, sound, auto close, topmost.
    void ShowAlarm();
    // The hide operation: the auto-close timer's handler and the start of every click.
    void Timer_AutoCloseTimer();
    // One blink step (the state machine alone, whatever the timer does).
    void Timer_BlinkTimer();

    // The popup's background colour.
    QColor color() const;

    // True while the popup is to keep its place above other windows; written by the main
    // window around every modal dialog.
    bool KeepOnTop = false;

    void FormClick();
    void Label1Click();
    void Label_MessageClick();
    void Image1Click();
    void Shape1MouseDown(Qt::MouseButton button);
    void Label2Click();
    void OfferSurvey();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setColor(const QColor& color);
    void keepAbove();
    void fitLabelsOnce();
    void blinkTimeout();
    void resumeBlink();

    std::unique_ptr<Ui::Form2> ui;
    MainForm& m_main;
    QTimer* Timer_AutoClose;
    QTimer* Timer_Blink;
    Clock m_clock;
    qint64 m_blinkOrigin;
    bool m_labelsFitted = false;
    bool m_leftPressed = false;
    bool m_watched = false;
    bool m_raising = false;
    qint64 m_raiseWindowStart = 0;
    int m_raisesInWindow = 0;
    bool m_retryPending = false;
};
