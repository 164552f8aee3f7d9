// A transparent, activated window under the program's own menu while it is open under XWayland.
#include "qt/XWaylandMenuCover.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

void XWaylandMenuCover::attach(QMenu& menu, QWidget& owner)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    new XWaylandMenuCover(menu, owner);
}

XWaylandMenuCover::XWaylandMenuCover(QMenu& menu, QWidget& owner)
    : QWidget(&owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("menuCover"));
    setWindowTitle(QStringLiteral("ルペタ"));
    setAttribute(Qt::WA_TranslucentBackground);
    menu.installEventFilter(this);
}

// The menu's own window showing and hiding, not aboutToShow, which a tray host that draws the
// exported menu itself triggers as well.
bool XWaylandMenuCover::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        // Shown before the menu's window is mapped, so that the menu lies above it.
        cover(*static_cast<QMenu*>(watched));
    } else if (event->type() == QEvent::Hide) {
        hide();
    }
    return QWidget::eventFilter(watched, event);
}

void XWaylandMenuCover::cover(QMenu& menu)
{
    QScreen* screen = QGuiApplication::screenAt(menu.pos());
    setGeometry((screen ? screen : QGuiApplication::primaryScreen())->geometry());
    // Full screen puts it above the panels (KWin keeps other windows out of them); sway, though,
    // draws a full-screen window on black, so there it floats over everything but the bar.
    if (qEnvironmentVariableIsEmpty("SWAYSOCK"))
        showFullScreen();
    else
        show();
    activateWindow();
}
