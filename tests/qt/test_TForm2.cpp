// The reminder popup as Qt shows it: window flags, place, size and pixels from the layout,
// fonts, which control a click lands on, and the blocking during a dialog's run. Its rules are
// tested without a display in tests/windows.
#include "tests/qt/QtFakeMainForm.h"
#include "tests/qt/WindowTest.h"

#include "qt/ClickLabel.h"
#include "qt/QtForm2.h"
#include "qt/QtTimer.h"
#include "qt/Shape.h"
#include "windows/TForm2.h"
#include "windows/TFormAbout.h"
#include "windows/TForm_Stretch.h"

#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>

class TestTForm2 : public QObject
{
    Q_OBJECT

private slots:
    void createdHidden();
    void placement_data();
    void placement();
    void appearance_data();
    void appearance();
    void fontsOfTheLabels();
    void blinkColoursReachTheWindow();
    void clicks_data();
    void clicks();
    void clickOnTheFormItself();
    void qtTimersArePreciseAndFire();
    void aboutOpenedFromAClickGuardsAgainstASecond();
    void popupUpBeforeADialogIgnoresClicksUntilItCloses();
    void popupDestroyedWhileItsDialogRuns();
    void stackingNoticesReachThePopup();
};

namespace {

QColor bgr(unsigned value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

template <typename T> T* child(QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// The reminder's window.
QWidget& windowOf(TForm2& popup)
{
    return *static_cast<QtForm2&>(popup.view()).widget();
}

QColor colorOf(TForm2& popup)
{
    return windowOf(popup).palette().color(QPalette::Window);
}

} // namespace

// The popup exists hidden from the start, in the layout's size and colour, with the window
// flags that keep it from taking the focus.
void TestTForm2::createdHidden()
{
    FakeMainForm main;
    TForm2 popup(main);
    QWidget& window = windowOf(popup);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.size(), QSize(196, 74));
    QCOMPARE(colorOf(popup), bgr(0x6262FF));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QCOMPARE(window.windowType(), Qt::Tool);
    QVERIFY(window.testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(main.calls.isEmpty());
}

void TestTForm2::placement_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("due");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("0 top left") << 0 << false << QPoint(40, 40);
    QTest::newRow("1 bottom left") << 1 << false << QPoint(40, 671);
    QTest::newRow("2 top right") << 2 << false << QPoint(831, 40);
    QTest::newRow("3 bottom right") << 3 << false << QPoint(831, 671);
    QTest::newRow("4 centre at 65 % of the height") << 4 << false << QPoint(435, 499);
    QTest::newRow("7 is the centre too") << 7 << false << QPoint(435, 499);
    QTest::newRow("survey reminder at the centre") << 4 << true << QPoint(407, 499);
    QTest::newRow("survey reminder top right") << 2 << true << QPoint(774, 40);
}

// 40 pixels from the corners of the whole 1024 x 768 screen, or centred at 65 % height.
void TestTForm2::placement()
{
    QFETCH(int, position);
    QFETCH(bool, due);
    QFETCH(QPoint, place);
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1024, 768));
    FakeMainForm main;
    main.current.AlarmPosition = position;
    main.surveyDue = due;
    TForm2 popup(main);
    popup.ShowAlarm();
    QCOMPARE(windowOf(popup).pos(), place);
    QCOMPARE(windowOf(popup).size(), QSize(due ? 210 : 153, 57));
}

void TestTForm2::appearance_data()
{
    QTest::addColumn<bool>("due");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<unsigned>("colour");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("message");
    QTest::newRow("normal, 45 minutes") << false << 45 << 0xD7FFFFu << 153 << "45分たちました";
    QTest::newRow("normal, 90 minutes") << false << 90 << 0xD7FFFFu << 153 << "90分たちました";
    QTest::newRow("survey due") << true << 45 << 0x6262FFu << 210 << "※アンケートにご協力下さい";
}

// Pale yellow with the minutes, or salmon red and wider with the survey request, drawn so; no
// label is cut off and the message stays inside the background; shown without the focus.
void TestTForm2::appearance()
{
    QFETCH(bool, due);
    QFETCH(int, minutes);
    QFETCH(unsigned, colour);
    QFETCH(int, width);
    QFETCH(QString, message);
    FakeMainForm main;
    main.surveyDue = due;
    main.current.TimerMinutes = minutes;
    TForm2 popup(main);
    popup.ShowAlarm();
    QWidget& window = windowOf(popup);

    QVERIFY(window.isVisible());
    QVERIFY(!window.isActiveWindow());
    QCOMPARE(colorOf(popup), bgr(colour));
    QCOMPARE(window.grab().toImage().pixelColor(width - 5, 48), bgr(colour));
    auto* label = child<ClickLabel>(window, "Label_Message");
    QCOMPARE(label->text(), message);
    QVERIFY2(label->width() >= label->sizeHint().width(), "message cut off");
    for (auto* text : window.findChildren<ClickLabel*>())
        QVERIFY2(text->width() >= text->sizeHint().width(), qPrintable(text->objectName()));
    QVERIFY(label->geometry().right() < width);
    QCOMPARE(child<Shape>(window, "Shape1")->size(), QSize(width, 57));
    QCOMPARE(child<Shape>(window, "Shape2")->width(), width);
    QCOMPARE(main.calls, QStringList({"IsSurveyDue", "playSound"}));
}

// The layout's fonts: the Japanese UI font at 12 pixels, the name bold, the link label 11
// pixels, underlined and blue with a hand cursor.
void TestTForm2::fontsOfTheLabels()
{
    FakeMainForm main;
    TForm2 popup(main);
    popup.ShowAlarm();
    QWidget& window = windowOf(popup);
    auto* name = child<ClickLabel>(window, "Label1");
    auto* message = child<ClickLabel>(window, "Label_Message");
    auto* link = child<ClickLabel>(window, "Label2");
    QCOMPARE(QFontInfo(message->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(message->font().pixelSize(), 12);
    QVERIFY(name->font().bold());
    QCOMPARE(name->font().pixelSize(), 12);
    QCOMPARE(link->font().pixelSize(), 11);
    QVERIFY(link->font().underline());
    QCOMPARE(link->palette().color(QPalette::WindowText), bgr(0xFF0000));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!child<ClickLabel>(window, "Image1")->pixmap().isNull());
}

// The blink's colours and the frame's removal show on the screen: the first tick of the real
// timer, a second after start-up, removes the frame and switches to the blink colour.
void TestTForm2::blinkColoursReachTheWindow()
{
    FakeMainForm main;
    TForm2 popup(main);
    popup.ShowAlarm();
    QWidget& window = windowOf(popup);
    auto* frame = child<Shape>(window, "Shape2");
    QVERIFY(!frame->isHidden());
    QCOMPARE(window.grab().toImage().pixelColor(148, 48), bgr(0xD7FFFF));
    QTRY_VERIFY_WITH_TIMEOUT(frame->isHidden(), 2000);
    QCOMPARE(colorOf(popup), bgr(0x8C8CFF));
    QCOMPARE(window.grab().toImage().pixelColor(148, 48), bgr(0x8C8CFF));
}

void TestTForm2::clicks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("due");
    QTest::addColumn<bool>("hides");
    QTest::addColumn<QStringList>("after");
    const QStringList hide{"stopSound"};
    const QStringList offer{"stopSound", "IsSurveyDue"};
    const QStringList about{"stopSound", "IsSurveyDue", "MenuAboutClick"};
    QTest::newRow("left on the background") << "Shape1" << Qt::LeftButton << false << true << offer;
    QTest::newRow("right on the background")
        << "Shape1" << Qt::RightButton << false << true << offer;
    QTest::newRow("middle on the background, due")
        << "Shape1" << Qt::MiddleButton << true << true << about;
    QTest::newRow("left on the name, due") << "Label1" << Qt::LeftButton << true << true << about;
    QTest::newRow("right on the name does nothing")
        << "Label1" << Qt::RightButton << true << false << QStringList();
    QTest::newRow("left on the message")
        << "Label_Message" << Qt::LeftButton << false << true << offer;
    QTest::newRow("left on the message, due")
        << "Label_Message" << Qt::LeftButton << true << true << about;
    QTest::newRow("left on the icon, due") << "Image1" << Qt::LeftButton << true << true << about;
    QTest::newRow("right on the icon does nothing")
        << "Image1" << Qt::RightButton << false << false << QStringList();
    QTest::newRow("link label opens only the guide, due")
        << "Label2" << Qt::LeftButton << true << true
        << QStringList({"stopSound", "MenuStretchClick"});
    QTest::newRow("right on the link label does nothing")
        << "Label2" << Qt::RightButton << true << false << QStringList();
}

// Any press on the background hides; labels and the icon react to a left click only; the
// survey is offered after a hide when due; the link label opens only the stretch guide.
// Clicked through the window at the middle of the control, so the stacking decides which
// control gets the press (as on the screen): any press on the background hides; labels and the
// icon react to a left click only; the link label opens only the stretch guide.
void TestTForm2::clicks()
{
    QFETCH(QString, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, due);
    QFETCH(bool, hides);
    QFETCH(QStringList, after);
    FakeMainForm main;
    main.surveyDue = due;
    TForm2 popup(main);
    popup.ShowAlarm();
    main.calls.clear();
    QWidget& window = windowOf(popup);

    // The background is probed at its lower right corner.
    QWidget* widget = child<QWidget>(window, target.toLatin1().constData());
    const QPoint at = target == "Shape1" ? QPoint(window.width() - 5, window.height() - 3)
                                         : widget->geometry().center();
    QTest::mouseClick(window.windowHandle(), button, {}, at);

    QCOMPARE(!window.isVisible(), hides);
    QCOMPARE(popup.KeepOnTop(), !hides);
    QCOMPARE(main.calls, after);
}

// Before the first showing the form is larger than the background shape; a click on the
// bare form hides and offers the survey like the rest.
void TestTForm2::clickOnTheFormItself()
{
    FakeMainForm main;
    main.surveyDue = true;
    TForm2 popup(main);
    QWidget& window = windowOf(popup);
    window.show();
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(190, 70));
    QVERIFY(!window.isVisible());
    QCOMPARE(main.calls, QStringList({"stopSound", "IsSurveyDue", "MenuAboutClick"}));
}

// The timers behind Timer_AutoClose, Timer_Blink and the tick: precise (the coarse default may
// shift by 5 %), restartable with a new interval, and calling their handler until stopped.
void TestTForm2::qtTimersArePreciseAndFire()
{
    int fired = 0;
    QtTimer timer([&fired] { ++fired; });
    QCOMPARE(timer.timer().timerType(), Qt::PreciseTimer);
    QVERIFY(!timer.isActive());
    timer.start(1000);
    QCOMPARE(timer.interval(), 1000);
    timer.start(5);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 5);
    QTRY_VERIFY(fired >= 2);
    timer.stop();
    QVERIFY(!timer.isActive());
    const int stoppedAt = fired;
    QTest::qWait(30);
    QCOMPARE(fired, stoppedAt);
}

// A click on a new reminder while the about dialog runs hides it and opens no second dialog:
// the reminder that came up during the run takes clicks.
void TestTForm2::aboutOpenedFromAClickGuardsAgainstASecond()
{
    FakeMainForm main;
    main.surveyDue = true;
    TForm2 popup(main);
    QWidget& window = windowOf(popup);
    main.onEnableMenus = [&](bool on) { popup.MenusEnabled(on); };
    main.onMenuAbout = [&] { TFormAbout::run(main); };
    bool hiddenBySecondClick = false;
    int dialogs = 0;
    whenModal("FormAbout", [&](QDialog& dialog) {
        popup.ShowAlarm();
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          child<ClickLabel>(window, "Label_Message")->geometry().center());
        hiddenBySecondClick = !window.isVisible();
        for (QWidget* top : QApplication::topLevelWidgets())
            dialogs += top->objectName() == "FormAbout";
        dialog.close();
    });
    popup.ShowAlarm();
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                      child<ClickLabel>(window, "Label_Message")->geometry().center());

    QVERIFY(hiddenBySecondClick);
    QCOMPARE(dialogs, 1);
    QCOMPARE(main.calls.count("MenuAboutClick"), 2);
    QCOMPARE(main.calls.last(), QStringLiteral("EnableMenus(true)"));
}

// A dialog's run holds off input to the program's windows that were up when it started: the
// popup stays up through a click, still hides on time, and takes clicks again afterwards.
void TestTForm2::popupUpBeforeADialogIgnoresClicksUntilItCloses()
{
    FakeMainForm main;
    TForm2 popup(main);
    QWidget& window = windowOf(popup);
    popup.ShowAlarm();
    bool upAfterClick = false;
    whenModal("Form_Stretch", [&](QDialog& guide) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(148, 54));
        upAfterClick = window.isVisible();
        guide.close();
    });
    TForm_Stretch::run(main);
    QVERIFY(upAfterClick);
    QVERIFY(window.isVisible());
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(148, 54));
    QVERIFY(!window.isVisible());
}

// The program can end while a dialog opened from a reminder click runs: the main window then
// destroys the popup under the click that opened the dialog. Nothing may touch it afterwards
// (the sanitizer build checks this).
void TestTForm2::popupDestroyedWhileItsDialogRuns()
{
    FakeMainForm main;
    main.surveyDue = true;
    auto popup = std::make_unique<TForm2>(main);
    QPointer<QWidget> window = &windowOf(*popup);
    main.onMenuAbout = [&] { TFormAbout::run(main); };
    whenModal("FormAbout", [&](QDialog& dialog) {
        popup.reset();
        dialog.close();
    });
    popup->ShowAlarm();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      child<ClickLabel>(*window, "Label_Message")->geometry().center());
    QVERIFY(!window);
    QCOMPARE(main.calls.last(), QStringLiteral("EnableMenus(true)"));
}

// The window system's stacking notices reach the popup once it is shown; the program's own
// open menu counts as a menu that stays above it.
void TestTForm2::stackingNoticesReachThePopup()
{
    FakeMainForm main;
    TForm2 popup(main);
    QVERIFY(!main.stacking.lost); // nothing to watch before the first showing
    popup.ShowAlarm();
    QVERIFY(main.stacking.lost);
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, 1);

    QMenu menu;
    menu.addAction(QStringLiteral("x"));
    menu.popup(QPoint(800, 600));
    QTRY_VERIFY(QApplication::activePopupWidget() == &menu);
    QVERIFY(popup.view().isMenuOpen());
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, 1);
    menu.close();
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(!popup.view().isMenuOpen());
}

QTEST_MAIN(TestTForm2)
#include "test_TForm2.moc"
