// The reminder popup: comes up without taking the focus, blinks, plays the sound and hides after
// 30 seconds or at a click.
#include "windows/TForm2.h"

#include "core/AlarmPosition.h"
#include "core/Settings.h"
#include "core/Texts.h"
#include "windows/MainForm.h"
#include "windows/TForm2View.h"
#include "windows/Timer.h"
#include "windows/Toolkit.h"

TForm2::TForm2(MainForm& main)
    : m_main(main), m_view(main.toolkit().createView(*this)),
      Timer_AutoClose(main.toolkit().createTimer([this] { Timer_AutoCloseTimer(); })),
      Timer_Blink(main.toolkit().createTimer([this] { blinkTimeout(); })),
      m_raiseRetry(main.toolkit().createTimer([this] { retryRaise(); })),
      m_blinkOrigin(main.toolkit().monotonicMs())
{
    m_view->setColor(m_color);
    Timer_Blink->start(BlinkMs);
}

TForm2::~TForm2() = default;

void TForm2::setColor(std::uint32_t bgr)
{
    m_color = bgr;
    m_view->setColor(bgr);
}

void TForm2::ShowAlarm()
{
    const bool due = m_main.IsSurveyDue();
    setColor(due ? SurveyColor : NormalColor);
    m_view->setMessage(due ? std::string(Texts::SurveyMessage)
                           : Texts::elapsedMessage(m_main.settings().TimerMinutes));
    const int width = due ? SurveyWidth : NormalWidth;
    m_view->resize(width, Height);

    // The screen's origin keeps the popup on the primary screen when that does not sit at the
    // desktop's origin.
    const ScreenRect screen = m_view->primaryScreen();
    const AlarmPlace place = alarmPlace(alarmPositionFrom(m_main.settings().AlarmPosition),
                                        screen.width, screen.height, width, Height);
    m_view->moveTo(screen.x + place.left, screen.y + place.top);

    m_main.playSound();
    // A second showing while the first is still up keeps the first one's closing time.
    if (!Timer_AutoClose->isActive())
        Timer_AutoClose->start(AutoCloseMs);
    m_keepOnTop = true;
    // A popup that is still up comes to the top again; a hidden one appears on top anyway.
    if (m_view->isVisible())
        m_view->raiseAbove();
    else
        m_view->showNoActivate();
}

void TForm2::Timer_AutoCloseTimer()
{
    Timer_AutoClose->stop();
    m_main.stopSound();
    m_keepOnTop = false;
    m_view->hide();
}

// A hidden popup needs no blinking: every showing writes the base colour, which the next tick
// saves before it switches to the blink colour, so ticks while hidden leave nothing to see.
// The timer stops at the first tick that finds the popup hidden (the first one, a second after
// start-up, still removes the frame) and a showing resumes it in its old phase.
void TForm2::blinkTimeout()
{
    Timer_BlinkTimer();
    if (!m_view->isVisible())
        Timer_Blink->stop();
    else if (Timer_Blink->interval() != BlinkMs)
        Timer_Blink->start(BlinkMs); // the shortened first wait after resuming is over
}

void TForm2::resumeBlink()
{
    if (Timer_Blink->isActive())
        return;
    const std::int64_t sinceTick = (m_main.toolkit().monotonicMs() - m_blinkOrigin) % BlinkMs;
    Timer_Blink->start(BlinkMs - static_cast<int>(sinceTick));
}

void TForm2::FormShow()
{
    resumeBlink();
}

void TForm2::Timer_BlinkTimer()
{
    m_view->hideFrame();
    if (m_color != BlinkColor) {
        m_blinkBaseColor = m_color;
        setColor(BlinkColor);
    } else {
        setColor(m_blinkBaseColor);
    }
}

void TForm2::FormClick()
{
    Timer_AutoCloseTimer();
    OfferSurvey();
}

void TForm2::Label1Click()
{
    Timer_AutoCloseTimer();
    OfferSurvey();
}

void TForm2::Label_MessageClick()
{
    Timer_AutoCloseTimer();
    OfferSurvey();
}

void TForm2::Image1Click()
{
    Timer_AutoCloseTimer();
    OfferSurvey();
}

void TForm2::Shape1MouseDown()
{
    Timer_AutoCloseTimer();
    OfferSurvey();
}

void TForm2::Label2Click()
{
    Timer_AutoCloseTimer();
    m_main.MenuStretchClick();
}

void TForm2::OfferSurvey()
{
    if (m_main.IsSurveyDue())
        m_main.MenuAboutClick();
}

void TForm2::MenusEnabled(bool on)
{
    m_keepOnTop = on;
}

// Re-asserts the place above other windows while a reminder is up, never taking the focus.
// Our own open menu stays above it. The guard stops a request from re-entering itself through
// the notice it causes; the budget stops a fight with another window that wants the top too.
void TForm2::FormStackingLost()
{
    if (!m_keepOnTop || !m_view->isVisible() || m_raising || m_view->isMenuOpen())
        return;
    const std::int64_t now = m_main.toolkit().monotonicMs();
    if (now - m_raiseWindowStart >= 1000) {
        m_raiseWindowStart = now;
        m_raisesInWindow = 0;
    }
    if (m_raisesInWindow >= RaisesPerSecond) {
        // One more try when the next second's budget opens, in case the other one gave up.
        if (!m_raiseRetry->isActive())
            m_raiseRetry->start(static_cast<int>(m_raiseWindowStart + 1000 - now));
        return;
    }
    ++m_raisesInWindow;
    m_raising = true;
    m_view->raiseAbove();
    m_raising = false;
}

void TForm2::retryRaise()
{
    m_raiseRetry->stop();
    FormStackingLost();
}
