// The reminder popup: a small borderless window that comes up without taking the focus,
// blinks, plays the sound and hides after 30 seconds or at a click.
#include "TForm2.h"
#include "ui_Form2.h"

#include "core/Settings.h"
#include "windows/LabelAutoSize.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "windows/UiFont.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef RUPETA_X11
#include "windows/TopmostX11.h"
#endif

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
constexpr int ScreenMargin = 40;
constexpr int AutoCloseMs = 30000;
constexpr int BlinkMs = 1000;

TForm2::Clock steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

TForm2::TForm2(MainForm& main, QWidget* owner, Clock clock)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                         Qt::WindowDoesNotAcceptFocus),
      ui(std::make_unique<Ui::Form2>()), m_main(main), Timer_AutoClose(new QTimer(this)),
      Timer_Blink(new QTimer(this)), m_clock(clock ? std::move(clock) : steadyClock()),
      m_blinkOrigin(m_clock())
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
        ui->Label_Message->setText(QStringLiteral("※アンケートにご協力下さい"));
    } else {
        setColor(fromBgr(NormalColor));
        ui->Shape1->resize(NormalWidth, ui->Shape1->height());
        ui->Shape2->resize(NormalWidth, ui->Shape2->height());
        ui->Label_Message->setText(QString::number(m_main.settings().TimerMinutes) +
                                   QStringLiteral("分たちました"));
    }
    // The message label takes the width of its text.
    ui->Label_Message->resize(ui->Label_Message->sizeHint().width(), ui->Label_Message->height());
    const int w = ui->Shape1->width();
    const int h = ui->Shape1->height();
    resize(w, h);

    // The whole primary screen, taskbars included; its origin keeps the popup on that screen
    // when it does not sit at the desktop's origin.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int sw = screen.width();
    const int sh = screen.height();
    int left = 0;
    int top = 0;
    switch (m_main.settings().AlarmPosition) {
    case 0:
        left = ScreenMargin;
        top = ScreenMargin;
        break;
    case 1:
        left = ScreenMargin;
        top = sh - h - ScreenMargin;
        break;
    case 2:
        left = sw - w - ScreenMargin;
        top = ScreenMargin;
        break;
    case 3:
        left = sw - w - ScreenMargin;
        top = sh - h - ScreenMargin;
        break;
    default: // centred horizontally, at 65 % of the height
        left = (sw - w) / 2;
        top = static_cast<int>(sh * 0.65);
        break;
    }
    move(screen.x() + left, screen.y() + top);

    m_main.playSound();
    // A second showing while the first is still up keeps the first one's closing time.
    if (!Timer_AutoClose->isActive())
        Timer_AutoClose->start();
    KeepOnTop = true;
    // A popup that is still up comes to the top again; a hidden one appears on top anyway.
    if (isVisible())
        raise();
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
// The guard stops the request from re-entering itself through the notice it causes.
void TForm2::keepAbove()
{
    if (!KeepOnTop || !isVisible() || m_raising)
        return;
    m_raising = true;
#ifdef Q_OS_WIN
    SetWindowPos(reinterpret_cast<HWND>(winId()), HWND_TOPMOST, 1, 1, 1, 1,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
#elif defined(RUPETA_X11)
    x11RequestAbove(*this);
    raise();
#endif
    m_raising = false;
}

bool TForm2::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
#ifdef Q_OS_WIN
    // Every change of place or stacking passes here first; the notice goes on unchanged.
    if (eventType == "windows_generic_MSG" &&
        static_cast<MSG*>(message)->message == WM_WINDOWPOSCHANGING)
        keepAbove();
#elif defined(RUPETA_X11)
    // Something took the popup out of the window manager's above layer: put it back.
    if (eventType == "xcb_generic_event_t" && KeepOnTop && isVisible() &&
        x11AboveStateLost(*this, message))
        keepAbove();
#endif
    return QWidget::nativeEvent(eventType, message, result);
}
