// Where the dialogs appear when they open.
#include "DialogPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.move(screen.x() + (screen.width() - window.width()) / 2,
                screen.y() + (screen.height() - window.height()) / 2);
}
