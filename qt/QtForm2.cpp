// The reminder popup's Qt side, from Form2.ui.
#include "qt/QtForm2.h"
#include "ui_Form2.h"

#include "core/ClickTracker.h"
#include "qt/LabelAutoSize.h"
#include "qt/ModalLoop.h"
#include "qt/PopupStacking.h"
#include "qt/UiFont.h"
#include "windows/TForm2.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>

#include <functional>

namespace {

// The popup window itself: reports a click on its bare background and every showing.
class PopupWidget : public QWidget
{
public:
    PopupWidget(QWidget* owner, Qt::WindowFlags flags) : QWidget(owner, flags) {}

    std::function<void()> clicked;
    std::function<void()> shown;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        m_click.press(event->button() == Qt::LeftButton);
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        event->accept();
        if (m_click.release(event->button() == Qt::LeftButton,
                            rect().contains(event->position().toPoint())))
            clicked(); // last: the handler may end with this window destroyed
    }
    void showEvent(QShowEvent* event) override
    {
        shown();
        QWidget::showEvent(event);
    }

private:
    ClickTracker m_click;
};

} // namespace

QtForm2::QtForm2(TForm2& form, QWidget* owner, PopupStacking& stacking)
    : m_form(form), m_stacking(stacking), ui(std::make_unique<Ui::Form2>())
{
    auto* popup = new PopupWidget(owner, stacking.windowFlags());
    m_widget = popup;
    installUiFontSubstitution();
    ui->setupUi(popup);
    ModalLoop::blockDuringRuns(*popup);
    // Without both of these the window manager hands the popup the focus when it appears.
    popup->setAttribute(Qt::WA_ShowWithoutActivating);
    popup->setFocusPolicy(Qt::NoFocus);

    popup->clicked = [&form] { form.FormClick(); };
    popup->shown = [this] { shown(); };
    QObject::connect(ui->Shape1, &Shape::mousePressed, popup, [&form] { form.Shape1MouseDown(); });
    QObject::connect(ui->Label1, &ClickLabel::clicked, popup, [&form] { form.Label1Click(); });
    QObject::connect(ui->Label_Message, &ClickLabel::clicked, popup,
                     [&form] { form.Label_MessageClick(); });
    QObject::connect(ui->Image1, &ClickLabel::clicked, popup, [&form] { form.Image1Click(); });
    QObject::connect(ui->Label2, &ClickLabel::clicked, popup, [&form] { form.Label2Click(); });
}

QtForm2::~QtForm2()
{
    delete m_widget;
}

void QtForm2::setColor(std::uint32_t bgr)
{
    QPalette pal = m_widget->palette();
    pal.setColor(QPalette::Window,
                 QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                        static_cast<int>((bgr >> 16) & 0xFF)));
    m_widget->setPalette(pal);
}

// Fitting the labels loads the user-interface font and the text layout's libraries, which a
// resident program that may never show a reminder need not hold; nothing shows them earlier.
void QtForm2::fitLabelsOnce()
{
    if (m_labelsFitted)
        return;
    m_labelsFitted = true;
    fitLabelsToText(*m_widget);
}

void QtForm2::setMessage(const std::string& text)
{
    fitLabelsOnce();
    ui->Label_Message->setText(QString::fromStdString(text));
    ui->Label_Message->resize(ui->Label_Message->sizeHint().width(), ui->Label_Message->height());
}

void QtForm2::resize(int width, int height)
{
    ui->Shape1->resize(width, height);
    ui->Shape2->resize(width, ui->Shape2->height());
    m_widget->resize(width, height);
}

void QtForm2::hideFrame()
{
    ui->Shape2->hide();
}

ScreenRect QtForm2::primaryScreen() const
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {screen.x(), screen.y(), screen.width(), screen.height()};
}

void QtForm2::moveTo(int x, int y)
{
    m_widget->move(x, y);
}

void QtForm2::showNoActivate()
{
    m_widget->show();
}

void QtForm2::hide()
{
    m_widget->hide();
}

bool QtForm2::isVisible() const
{
    return m_widget->isVisible();
}

void QtForm2::raiseAbove()
{
    m_stacking.raiseAbove(*m_widget);
}

bool QtForm2::isMenuOpen() const
{
    return QApplication::activePopupWidget() != nullptr;
}

// Shown by the reminder or otherwise: the window system is watched once the native window
// exists, and the blink resumes.
void QtForm2::shown()
{
    if (!m_watched) {
        m_watched = true;
        m_stacking.watch(*m_widget, [this] { m_form.FormStackingLost(); });
    }
    fitLabelsOnce();
    m_form.FormShow();
}
