// The stretch guide: its keys, its re-entrancy guard and the picture it shows.
#include "tests/qt/QtFakeMainForm.h"
#include "tests/qt/WindowTest.h"

#include "windows/TFormConfig.h"
#include "windows/TForm_Stretch.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstring>

class TestTFormStretch : public QObject
{
    Q_OBJECT

private slots:
    void closingKeys_data();
    void closingKeys();
    void secondOpeningWhileOpenReturnsAtOnce();
    void dialogUnderTheGuideIgnoresCloseRequests();
    void layout();
    void pictureIsAnUncompressedPalettedBitmap();
};

namespace {

template <typename T> T* child(QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

std::uint32_t le32(const QByteArray& bytes, int at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData() + at, 4);
    return value;
}

} // namespace

void TestTFormStretch::closingKeys_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter presses the close button") << "enter" << true;
    QTest::newRow("Esc does nothing: there is no cancel button") << "esc" << false;
    QTest::newRow("the close button") << "button" << true;
    QTest::newRow("the close box") << "box" << true;
}

// Enter, the button and the close box end the guide; Esc leaves it open.
void TestTFormStretch::closingKeys()
{
    QFETCH(QString, how);
    QFETCH(bool, closes);
    FakeMainForm main;
    bool openAfter = false;
    whenModal("Form_Stretch", [&](QDialog& guide) {
        if (how == "enter")
            QTest::keyClick(&guide, Qt::Key_Return);
        else if (how == "esc")
            QTest::keyClick(&guide, Qt::Key_Escape);
        else if (how == "button")
            QTest::mouseClick(child<QPushButton>(guide, "Button1"), Qt::LeftButton);
        else
            guide.close();
        openAfter = guide.isVisible();
        if (openAfter)
            guide.close();
    });
    TForm_Stretch::run(main);
    QCOMPARE(openAfter, !closes);
    QCOMPARE(main.calls, QStringList({"EnableMenus(false)", "EnableMenus(true)"}));
}

// A reminder's link label while the guide is open must not open a second guide.
void TestTFormStretch::secondOpeningWhileOpenReturnsAtOnce()
{
    FakeMainForm main;
    int guides = 0;
    whenModal("Form_Stretch", [&](QDialog& guide) {
        TForm_Stretch::run(main); // returns at once
        for (QWidget* window : QApplication::topLevelWidgets())
            guides += window->objectName() == "Form_Stretch";
        guide.close();
    });
    TForm_Stretch::run(main);
    QCOMPARE(guides, 1);
    QCOMPARE(main.calls, QStringList({"EnableMenus(false)", "EnableMenus(true)"}));
    // The guard is released: the guide opens again.
    whenModal("Form_Stretch", [](QDialog& guide) { guide.close(); });
    TForm_Stretch::run(main);
    QCOMPARE(main.calls.size(), 4);
}

// The guide opened from a reminder over the settings dialog blocks it: its close box does
// nothing, as a click does nothing, until the guide has closed.
void TestTFormStretch::dialogUnderTheGuideIgnoresCloseRequests()
{
    FakeMainForm main;
    bool closedUnderTheGuide = true;
    bool closedAfterTheGuide = false;
    whenModal("FormConfig", [&](QDialog& config) {
        whenModal("Form_Stretch", [&](QDialog& guide) {
            config.close();
            closedUnderTheGuide = !config.isVisible();
            guide.close();
        });
        TForm_Stretch::run(main);
        config.close();
        closedAfterTheGuide = !config.isVisible();
    });
    TFormConfig::run(main);
    QVERIFY(!closedUnderTheGuide);
    QVERIFY(closedAfterTheGuide);
}

// Fixed 654 x 437 with the picture at 8,8 in its own size, the advice and the close button,
// which is the default; the window carries the program icon.
void TestTFormStretch::layout()
{
    FakeMainForm main;
    QSize size;
    QRect picture;
    QSize pixmap;
    QString advice;
    bool isDefault = false;
    bool hasIcon = false;
    whenModal("Form_Stretch", [&](QDialog& guide) {
        size = guide.size();
        auto* image = child<QLabel>(guide, "Image1");
        picture = image->geometry();
        pixmap = image->pixmap().size();
        advice = child<QLabel>(guide, "Label1")->text();
        isDefault = child<QPushButton>(guide, "Button1")->isDefault();
        hasIcon = !guide.windowIcon().isNull();
        guide.close();
    });
    TForm_Stretch::run(main);
    QCOMPARE(size, QSize(654, 437));
    QCOMPARE(picture, QRect(8, 8, 640, 396));
    QCOMPARE(pixmap, QSize(640, 396));
    QCOMPARE(advice,
             QStringLiteral(
                 "1時間を目安に小休止をはさむと、VDT作業(PC作業)の疲労を効果的に予防できます。"));
    QVERIFY(isDefault);
    QVERIFY(hasIcon);
}

// The picture is stored as 8 bits per pixel with a 256-colour table, uncompressed and
// bottom-up: 254518 bytes.
void TestTFormStretch::pictureIsAnUncompressedPalettedBitmap()
{
    QFile file(QStringLiteral(":/stretch/stretch.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    QCOMPARE(bmp.size(), 254518);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(le32(bmp, 10), 14u + 40u + 1024u); // pixels follow the colour table
    QCOMPARE(le32(bmp, 14), 40u);               // information header
    QCOMPARE(le32(bmp, 18), 640u);
    QCOMPARE(static_cast<std::int32_t>(le32(bmp, 22)), 396); // positive: bottom-up
    QCOMPARE(le32(bmp, 28) & 0xFFFF, 8u);
    QCOMPARE(le32(bmp, 30), 0u); // no compression
}

QTEST_MAIN(TestTFormStretch)
#include "test_TForm_Stretch.moc"
