// Where the dialogs appear when they open.
#include "qt/DialogPlacement.h"

#include "core/DialogPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

QPoint centredFramePosition(const QWidget& window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize frame = window.frameGeometry().size();
    const ScreenPoint place = centredOn({screen.x(), screen.y(), screen.width(), screen.height()},
                                        frame.width(), frame.height());
    return {place.x, place.y};
}

// On X11 the size of the window manager's frame is known only once the window is shown and
// framed; until then the window is centred by its client size. When the frame arrives at the
// place asked for, the window moves once more so that the whole frame is centred; when
// something else moved it first (the user), it stays where it was put.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget& window)
        : QObject(&window), m_asked(centredFramePosition(window))
    {
        window.move(m_asked);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Move && event->type() != QEvent::Resize)
            return false;
        auto& window = static_cast<QWidget&>(*watched);
        const QRect frame = window.frameGeometry();
        if (frame.topLeft() == m_asked && frame.size() == window.size())
            return false; // not framed yet
        window.removeEventFilter(this);
        // The window was placed by its frame; QWidget::move would now take the point for the
        // client area and the frame would land that much lower.
        if (frame.topLeft() == m_asked && window.windowHandle())
            window.windowHandle()->setFramePosition(centredFramePosition(window));
        deleteLater();
        return false;
    }

private:
    QPoint m_asked;
};

} // namespace

void centreOnScreen(QWidget& window)
{
    new FrameCentring(window);
}
