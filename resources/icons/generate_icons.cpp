// Writes the tray pictures and the program icon as PNG files:
//   generate_icons <dir>  ->  <dir>/tray/{16,32,48}/image{1..17}.png,
//                             <dir>/rupeta-{16,32,48,64,128,256}.png (the larger for menus and
//                             software centres), <dir>/rupeta.svg
#include "resources/icons/IconPainter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: generate_icons <output directory>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const int size : {16, 32, 48}) {
        const QString dir = QStringLiteral("tray/%1").arg(size);
        ok = out.mkpath(dir) && ok;
        for (int n = 1; n <= 17; ++n) {
            ok = IconPainter::trayImage(size, n).save(
                     out.filePath(QStringLiteral("%1/image%2.png").arg(dir).arg(n))) &&
                 ok;
        }
    }
    for (const int size : IconPainter::ProgramIconSizes) {
        ok = IconPainter::programIcon(size).save(
                 out.filePath(QStringLiteral("rupeta-%1.png").arg(size))) &&
             ok;
    }
    QFile svg(out.filePath(QStringLiteral("rupeta.svg")));
    ok = svg.open(QIODevice::WriteOnly) && svg.write(IconPainter::programIconSvg().toUtf8()) > 0 &&
         ok;
    return ok ? 0 : 1;
}
