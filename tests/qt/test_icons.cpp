// The committed tray pictures and program icon are exactly what their generator draws, and
// the drawing keeps the properties the tray relies on.
#include "resources/icons/IconPainter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

class TestIcons : public QObject
{
    Q_OBJECT

private slots:
    void committedFilesMatchTheGenerator_data();
    void committedFilesMatchTheGenerator();
    void committedSvgMatchesTheGenerator();
    void everyStepShowsMoreProgress_data();
    void everyStepShowsMoreProgress();
    void idlePictureHasADarkScreen();

private:
    const QDir m_dir{qEnvironmentVariable("RUPETA_ICONS")};
};

void TestIcons::committedFilesMatchTheGenerator_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QImage>("drawn");
    for (const int size : {16, 32, 48}) {
        for (int n = 1; n <= 17; ++n) {
            const QString file = QStringLiteral("tray/%1/image%2.png").arg(size).arg(n);
            QTest::newRow(qPrintable(file)) << file << IconPainter::trayImage(size, n);
        }
    }
    for (const int size : IconPainter::ProgramIconSizes) {
        const QString file = QStringLiteral("rupeta-%1.png").arg(size);
        QTest::newRow(qPrintable(file)) << file << IconPainter::programIcon(size);
    }
}

// A hand-edited or stale picture would show something the generator no longer describes.
void TestIcons::committedFilesMatchTheGenerator()
{
    QFETCH(QString, file);
    QFETCH(QImage, drawn);
    const QImage committed(m_dir.filePath(file));
    QVERIFY2(!committed.isNull(), qPrintable(m_dir.filePath(file)));
    QCOMPARE(committed.convertToFormat(QImage::Format_ARGB32), drawn);
}

void TestIcons::committedSvgMatchesTheGenerator()
{
    QFile committed(m_dir.filePath(QStringLiteral("rupeta.svg")));
    QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(committed.fileName()));
    QCOMPARE(QString::fromUtf8(committed.readAll()), IconPainter::programIconSvg());
}

void TestIcons::everyStepShowsMoreProgress_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
    QTest::newRow("48") << 48;
}

// The user reads progress from the picture: each step must cover more of the dial than the
// one before, with a transparent corner so the tray's background shows.
void TestIcons::everyStepShowsMoreProgress()
{
    QFETCH(int, size);
    const auto teal = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) == 0xff008080 ? 1 : 0;
            }
        }
        return count;
    };
    int previous = 0;
    for (int step = 1; step <= 14; ++step) {
        const int now = teal(IconPainter::progress(size, step));
        QVERIFY2(now > previous, qPrintable(QStringLiteral("step %1").arg(step)));
        previous = now;
    }
    QCOMPARE(teal(IconPainter::progress(size, 0)), 0);
    QCOMPARE(qAlpha(IconPainter::progress(size, 0).pixel(size - 1, 0)), 0);
}

// Idle: the monitor is switched off.
void TestIcons::idlePictureHasADarkScreen()
{
    const QImage idle = IconPainter::trayImage(16, 6);
    const QImage running = IconPainter::trayImage(16, 1);
    QCOMPARE(idle.pixel(4, 4), QRgb(0xff000000));
    QCOMPARE(running.pixel(4, 4), QRgb(0xff0000ff));
}

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
