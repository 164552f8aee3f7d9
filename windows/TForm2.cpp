// The reminder popup: a small borderless window that comes up without taking the focus,
// blinks, plays the sound and hides after 30 seconds or at a click.
#include "windows/TForm2.h"
#include "ui_Form2.h"

#include "core/AlarmPosition.h"
#include "core/Settings.h"
#include "core/Texts.h"
#include "qt/LabelAutoSize.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "qt/PopupStacking.h"
#include "qt/UiFont.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace {

// Colours are kept in the 0xBBGGRR form of their definitions (red in the low byte).
QColor fromBgr(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

constexpr unsigned NormalColor = 0xD7FFFF; // pale yellow
constexpr unsigned SurveyColor = 0x6262FF; // salmon red
constexpr unsigned BlinkColor = 0x8C8CFF;  // light red
constexpr int NormalWidth = 153;
constexpr int SurveyWidth = 210;
constexpr int AutoCloseMs = 30000;
constexpr int BlinkMs = 1000;
// Two programs that both insist on the top place would take turns for ever; a few claims a
// second are plenty for a person to see the reminder.
constexpr int RaisesPerSecond = 10;

TForm2::Clock steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

TForm2::TForm2(MainForm& main, QWidget* owner, Clock clock)
    : QWidget(owner, main.popupStacking().windowFlags()), ui(std::make_unique<Ui::Form2>()),
      m_main(main), Timer_AutoClose(new QTimer(this)), Timer_Blink(new QTimer(this)),
      m_clock(clock ? std::move(clock) : steadyClock()), m_blinkOrigin(m_clock())
{
    installUiFontSubstitution();
    ui->setupUi(this);
    ModalRun::blockDuringRuns(*this);
    // Without both of these the window manager hands the popup the focus when it appears.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    Timer_AutoClose->setObjectName(QStringLiteral("Timer_AutoClose"));
    Timer_AutoClose->setInterval(AutoCloseMs);
    Timer_AutoClose->setTimerType(Qt::PreciseTimer);
    connect(Timer_AutoClose, &QTimer::timeout, this, &TForm2::Timer_AutoCloseTimer);

    Timer_Blink->setObjectName(QStringLiteral("Timer_Blink"));
    Timer_Blink->setInterval(BlinkMs);
    Timer_Blink->setTimerType(Qt::PreciseTimer);
    connect(Timer_Blink, &QTimer::timeout, this, &TForm2::blinkTimeout);

    connect(ui->Shape1, &Shape::mousePressed, this, &TForm2::Shape1MouseDown);
    connect(ui->Label1, &ClickLabel::clicked, this, &TForm2::Label1Click);
    connect(ui->Label_Message, &ClickLabel::clicked, this, &TForm2::Label_MessageClick);
    connect(ui->Image1, &ClickLabel::clicked, this, &TForm2::Image1Click);
    connect(ui->Label2, &ClickLabel::clicked, this, &TForm2::Label2Click);

    Timer_Blink->start();
}

TForm2::~TForm2() = default;

QColor TForm2::color() const
{
    return palette().color(QPalette::Window);
}

void TForm2::setColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

// Fitting the labels loads the user-interface font and the text layout's libraries, which a
// resident program that may never show a reminder need not hold; nothing shows them earlier.
void TForm2::fitLabelsOnce()
{
    if (m_labelsFitted)
        return;
    m_labelsFitted = true;
    fitLabelsToText(*this);
}

void TForm2::ShowAlarm()
{
    fitLabelsOnce();
    const bool due = m_main.IsSurveyDue();
    if (due) {
        setColor(fromBgr(SurveyColor));
        ui->Shape1->resize(SurveyWidth, ui->Shape1->height());
        ui->Shape2->resize(SurveyWidth, ui->Shape2->height());
        ui->Label_Message->setText(QString::fromUtf8(Texts::SurveyMessage));
    } else {
        setColor(fromBgr(NormalColor));
        ui->Shape1->resize(NormalWidth, ui->Shape1->height());
        ui->Shape2->resize(NormalWidth, ui->Shape2->height());
        ui->Label_Message->setText(
            QString::fromStdString(Texts::elapsedMessage(m_main.settings().TimerMinutes)));
    }
    // The message label takes the width of its text.
    ui->Label_Message->resize(ui->Label_Message->sizeHint().width(), ui->Label_Message->height());
    const int w = ui->Shape1->width();
    const int h = ui->Shape1->height();
    resize(w, h);

    // The whole primary screen, taskbars included; its origin keeps the popup on that screen
    // when it does not sit at the desktop's origin.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const AlarmPlace place = alarmPlace(alarmPositionFrom(m_main.settings().AlarmPosition),
                                        screen.width(), screen.height(), w, h);
    move(screen.x() + place.left, screen.y() + place.top);

    m_main.playSound();
    // A second showing while the first is still up keeps the first one's closing time.
    if (!Timer_AutoClose->isActive())
        Timer_AutoClose->start();
    KeepOnTop = true;
    // A popup that is still up comes to the top again; a hidden one appears on top anyway.
    if (isVisible())
        m_main.popupStacking().raiseAbove(*this);
    else
        show();
}

void TForm2::Timer_AutoCloseTimer()
{
    Timer_AutoClose->stop();
    m_main.stopSound();
    KeepOnTop = false;
    hide();
}

// A hidden popup needs no blinking: every showing writes the base colour, which the next tick
// saves before it switches to the blink colour, so ticks while hidden leave nothing to see.
// The timer stops at the first tick that finds the popup hidden (the first one, a second after
// start-up, still removes the frame) and a showing resumes it in its old phase.
void TForm2::blinkTimeout()
{
    Timer_BlinkTimer();
    if (!isVisible())
        Timer_Blink->stop();
    else if (Timer_Blink->interval() != BlinkMs)
        Timer_Blink->start(BlinkMs); // the shortened first wait after resuming is over
}

void TForm2::resumeBlink()
{
    if (Timer_Blink->isActive())
        return;
    const qint64 sinceTick = (m_clock() - m_blinkOrigin) % BlinkMs;
    Timer_Blink->start(BlinkMs - static_cast<int>(sinceTick));
}

void TForm2::showEvent(QShowEvent* event)
{
    if (!m_watched) {
        m_watched = true;
        m_main.popupStacking().watch(*this, [this] { keepAbove(); });
    }
    fitLabelsOnce();
    resumeBlink();
    QWidget::showEvent(event);
}

void TForm2::Timer_BlinkTimer()
{
    // The base colour saved when the popup last switched to the blink colour.
    static QColor BlinkBaseColor = fromBgr(0);

    ui->Shape2->hide();
    const QColor blink = fromBgr(BlinkColor);
    if (color().rgb() != blink.rgb()) {
        BlinkBaseColor = color();
        setColor(blink);
    } else {
        setColor(BlinkBaseColor);
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

void TForm2::Shape1MouseDown(Qt::MouseButton)
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

void TForm2::mousePressEvent(QMouseEvent* event)
{
    m_leftPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TForm2::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool click = m_leftPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_leftPressed = false;
    if (click)
        FormClick();
}

// Re-asserts the place above other windows while a reminder is up, never taking the focus.
// Our own open menu stays above it. The guard stops a request from re-entering itself through
// the notice it causes; the budget stops a fight with another window that wants the top too.
void TForm2::keepAbove()
{
    if (!KeepOnTop || !isVisible() || m_raising || QApplication::activePopupWidget())
        return;
    const qint64 now = m_clock();
    if (now - m_raiseWindowStart >= 1000) {
        m_raiseWindowStart = now;
        m_raisesInWindow = 0;
    }
    if (m_raisesInWindow >= RaisesPerSecond) {
        // One more try when the next second's budget opens, in case the other one gave up.
        if (!m_retryPending) {
            m_retryPending = true;
            QTimer::singleShot(int(m_raiseWindowStart + 1000 - now), this, [this] {
                m_retryPending = false;
                keepAbove();
            });
        }
        return;
    }
    ++m_raisesInWindow;
    m_raising = true;
    m_main.popupStacking().raiseAbove(*this);
    m_raising = false;
}
