// A tray icon with a menu and a precise 1-second timer that does nothing else: the floor
// against which the resident program's cost is measured.
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(2, 2, 12, 12, Qt::blue);

    QMenu menu;
    menu.addAction("Quit", &app, &QApplication::quit);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip("bare-tray");
    QObject::connect(&tray, &QSystemTrayIcon::activated, [&menu] { menu.popup(QCursor::pos()); });
    tray.show();

    int ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1000);
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
    return QApplication::exec();
}
