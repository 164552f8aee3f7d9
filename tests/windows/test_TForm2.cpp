// The reminder popup: place, size, colours, blinking, clicks, sound and the auto close.
#include "tests/windows/FakeMainForm.h"
#include "tests/windows/WindowTest.h"

#include "qt/ClickLabel.h"
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
    void createdHiddenAndBlinking();
    void placement_data();
    void placement();
    void appearance_data();
    void appearance();
    void fontsOfTheLabels();
    void blinkSequence();
    void blinkFollowsTheFreeRunningTimer_data();
    void blinkFollowsTheFreeRunningTimer();
    void clicks_data();
    void clicks();
    void clickOnTheFormItself();
    void autoCloseIsNotRestartedByASecondShowing();
    void autoCloseHidesAndStopsTheSound();
    void aboutOpenedFromAClickGuardsAgainstASecond();
    void stretchOverAboutFromTheLinkLabel();
    void popupUpBeforeADialogIgnoresClicksUntilItCloses();
    void popupDestroyedWhileItsDialogRuns();
    void reclaimsTheTopPlaceOnlyWhenItShould();
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

} // namespace

// The popup exists hidden from the start, with the blink timer already running once a second
// on a precise timer, and with the window flags that keep it from taking the focus.
void TestTForm2::createdHiddenAndBlinking()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    QVERIFY(!popup.isVisible());
    QVERIFY(!popup.KeepOnTop);
    QCOMPARE(popup.size(), QSize(196, 74));
    auto* blink = child<QTimer>(popup, "Timer_Blink");
    QVERIFY(blink->isActive());
    QCOMPARE(blink->interval(), 1000);
    QCOMPARE(blink->timerType(), Qt::PreciseTimer);
    auto* autoClose = child<QTimer>(popup, "Timer_AutoClose");
    QVERIFY(!autoClose->isActive());
    QCOMPARE(autoClose->interval(), 30000);
    const Qt::WindowFlags flags = popup.windowFlags();
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QCOMPARE(popup.windowType(), Qt::Tool);
    QVERIFY(popup.testAttribute(Qt::WA_ShowWithoutActivating));
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
    TForm2 popup(main, main.ownerWidget());
    popup.ShowAlarm();
    QCOMPARE(popup.pos(), place);
    QCOMPARE(popup.size(), QSize(due ? 210 : 153, 57));
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

// Pale yellow with the minutes, or salmon red and wider with the survey request; the sound
// starts, the popup shows on top without the focus and asks about the survey exactly once.
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
    TForm2 popup(main, main.ownerWidget());
    popup.ShowAlarm();

    QVERIFY(popup.isVisible());
    QVERIFY(!popup.isActiveWindow());
    QVERIFY(popup.KeepOnTop);
    QCOMPARE(popup.color(), bgr(colour));
    QCOMPARE(popup.grab().toImage().pixelColor(width - 5, 48), bgr(colour));
    auto* label = child<ClickLabel>(popup, "Label_Message");
    QCOMPARE(label->text(), message);
    QVERIFY2(label->width() >= label->sizeHint().width(), "message cut off");
    for (auto* text : popup.findChildren<ClickLabel*>())
        QVERIFY2(text->width() >= text->sizeHint().width(), qPrintable(text->objectName()));
    QVERIFY(label->geometry().right() < width);
    QCOMPARE(child<Shape>(popup, "Shape1")->size(), QSize(width, 57));
    QCOMPARE(child<Shape>(popup, "Shape2")->width(), width);
    QCOMPARE(main.calls, QStringList({"IsSurveyDue", "playSound"}));
    QVERIFY(child<QTimer>(popup, "Timer_AutoClose")->isActive());
}

// The layout's fonts: the Japanese UI font at 12 pixels, the name bold, the link label 11
// pixels, underlined and blue with a hand cursor.
void TestTForm2::fontsOfTheLabels()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    popup.ShowAlarm();
    auto* name = child<ClickLabel>(popup, "Label1");
    auto* message = child<ClickLabel>(popup, "Label_Message");
    auto* link = child<ClickLabel>(popup, "Label2");
    QCOMPARE(QFontInfo(message->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(message->font().pixelSize(), 12);
    QVERIFY(name->font().bold());
    QCOMPARE(name->font().pixelSize(), 12);
    QCOMPARE(link->font().pixelSize(), 11);
    QVERIFY(link->font().underline());
    QCOMPARE(link->palette().color(QPalette::WindowText), bgr(0xFF0000));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!child<ClickLabel>(popup, "Image1")->pixmap().isNull());
}

// Base and blink colour alternate; a popup hidden in the blink colour comes back in its base
// colour and blinks at the next tick; the orange frame goes at the first tick for good.
void TestTForm2::blinkSequence()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    auto* frame = child<Shape>(popup, "Shape2");
    QVERIFY(!frame->isHidden());
    const QColor normal = bgr(0xD7FFFF);
    const QColor survey = bgr(0x6262FF);
    const QColor blink = bgr(0x8C8CFF);

    popup.ShowAlarm();
    QCOMPARE(popup.color(), normal);
    popup.Timer_BlinkTimer();
    QVERIFY(frame->isHidden());
    QCOMPARE(popup.color(), blink);
    popup.Timer_BlinkTimer();
    QCOMPARE(popup.color(), normal);
    popup.Timer_BlinkTimer();
    QCOMPARE(popup.color(), blink);
    popup.Timer_AutoCloseTimer();
    popup.Timer_BlinkTimer(); // blinks on while hidden
    QCOMPARE(popup.color(), normal);
    popup.Timer_BlinkTimer();
    QCOMPARE(popup.color(), blink);

    main.surveyDue = true;
    popup.ShowAlarm();
    QCOMPARE(popup.color(), survey);
    popup.Timer_BlinkTimer();
    QCOMPARE(popup.color(), blink);
    popup.Timer_BlinkTimer();
    QCOMPARE(popup.color(), survey);
    popup.ShowAlarm();
    QVERIFY(frame->isHidden());
}

void TestTForm2::blinkFollowsTheFreeRunningTimer_data()
{
    // Steps: "tick" is the next whole second after construction; "show", "survey" and "hide"
    // happen at the given milliseconds after construction, before the next tick.
    QTest::addColumn<QString>("script");
    QTest::newRow("shown in the first second") << "show 400, tick, tick, tick, hide 3200, tick";
    QTest::newRow("hidden in the blink colour, back an odd number of ticks later")
        << "tick, show 1300, tick, hide 2500, tick, tick, tick, show 5700, tick, tick";
    QTest::newRow("hidden in the base colour, back an even number of ticks later")
        << "tick, show 1300, tick, tick, hide 3500, tick, tick, show 5100, tick, tick, tick";
    QTest::newRow("hidden and shown again before the next tick")
        << "tick, show 1200, tick, hide 2100, show 2900, tick, tick";
    QTest::newRow("hidden before the first tick after resuming")
        << "tick, show 1500, hide 1800, tick, show 2100, tick, tick";
    QTest::newRow("second showing while up, in the blink colour, as survey")
        << "tick, show 1100, tick, survey 2600, tick, tick";
    QTest::newRow("long hidden, then survey") << "tick, tick, tick, tick, survey 4050, tick, tick";
}

// The blink timer sleeps while the popup is hidden, yet what a person sees must be what a
// timer running since construction gives: the same colours at the same ticks in the same phase,
// and the frame gone from the first tick on.
void TestTForm2::blinkFollowsTheFreeRunningTimer()
{
    QFETCH(QString, script);
    constexpr qint64 origin = 123456; // any reading of the clock
    qint64 now = origin;
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget(), [&now] { return now; });
    auto* timer = child<QTimer>(popup, "Timer_Blink");
    auto* frame = child<Shape>(popup, "Shape2");
    const QColor blink = bgr(0x8C8CFF);

    // The always-running timer's colour and saved base, ticking whether shown or hidden.
    QColor expected = popup.color();
    QColor base;
    int ticks = 0;
    for (const QString& step : script.split(QStringLiteral(", "))) {
        const QStringList word = step.split(' ');
        if (word[0] == "tick") {
            ++ticks;
            now = origin + 1000 * ticks;
            if (expected != blink) {
                base = expected;
                expected = blink;
            } else {
                expected = base;
            }
            if (timer->isActive())
                QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
            QCOMPARE(timer->isActive(), popup.isVisible());
            if (timer->isActive())
                QCOMPARE(timer->interval(), 1000);
        } else {
            now = origin + word[1].toInt();
            QVERIFY2(now > origin + 1000 * ticks && now < origin + 1000 * (ticks + 1),
                     qPrintable(step));
            if (word[0] == "hide") {
                popup.Timer_AutoCloseTimer();
            } else {
                const bool resumes = !timer->isActive();
                main.surveyDue = word[0] == "survey";
                popup.ShowAlarm();
                expected = bgr(main.surveyDue ? 0x6262FF : 0xD7FFFF);
                QVERIFY(timer->isActive());
                QCOMPARE(timer->interval(), resumes ? origin + 1000 * (ticks + 1) - now : 1000);
            }
        }
        if (popup.isVisible())
            QVERIFY2(popup.color() == expected, qPrintable(step));
        QCOMPARE(frame->isHidden(), ticks > 0);
    }
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
void TestTForm2::clicks()
{
    QFETCH(QString, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, due);
    QFETCH(bool, hides);
    QFETCH(QStringList, after);
    FakeMainForm main;
    main.surveyDue = due;
    TForm2 popup(main, main.ownerWidget());
    popup.ShowAlarm();
    main.calls.clear();

    // Clicked through the window at the middle of the control, so the stacking decides which
    // control gets the press (as on the screen); the background is probed at its lower right
    // corner.
    QWidget* widget = child<QWidget>(popup, target.toLatin1().constData());
    const QPoint at = target == "Shape1" ? QPoint(popup.width() - 5, popup.height() - 3)
                                         : widget->geometry().center();
    QTest::mouseClick(popup.windowHandle(), button, {}, at);

    QCOMPARE(!popup.isVisible(), hides);
    QCOMPARE(popup.KeepOnTop, !hides);
    QCOMPARE(child<QTimer>(popup, "Timer_AutoClose")->isActive(), !hides);
    QCOMPARE(main.calls, after);
}

// Before the first showing the form is larger than the background shape; a click on the
// bare form hides and offers the survey like the rest.
void TestTForm2::clickOnTheFormItself()
{
    FakeMainForm main;
    main.surveyDue = true;
    TForm2 popup(main, main.ownerWidget());
    popup.show();
    QTest::mouseClick(popup.windowHandle(), Qt::LeftButton, {}, QPoint(190, 70));
    QVERIFY(!popup.isVisible());
    QCOMPARE(main.calls, QStringList({"stopSound", "IsSurveyDue", "MenuAboutClick"}));
}

// A second showing while the popup is up plays the sound again but keeps the first showing's
// closing time.
void TestTForm2::autoCloseIsNotRestartedByASecondShowing()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    auto* timer = child<QTimer>(popup, "Timer_AutoClose");
    popup.ShowAlarm();
    QVERIFY(timer->remainingTime() > 29900);
    QTest::qWait(150);
    popup.ShowAlarm();
    QVERIFY2(timer->remainingTime() <= 29860, qPrintable(QString::number(timer->remainingTime())));
    QCOMPARE(main.calls.count("playSound"), 2);
    popup.Timer_AutoCloseTimer();
    QVERIFY(!timer->isActive());
    popup.ShowAlarm();
    QVERIFY(timer->remainingTime() > 29900);
}

// The auto-close timer's expiry is the hide: timer off, sound stopped, flag cleared.
void TestTForm2::autoCloseHidesAndStopsTheSound()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    auto* timer = child<QTimer>(popup, "Timer_AutoClose");
    timer->setInterval(20);
    popup.ShowAlarm();
    QTRY_VERIFY(!popup.isVisible());
    QVERIFY(!timer->isActive());
    QVERIFY(!popup.KeepOnTop);
    QCOMPARE(main.calls, QStringList({"IsSurveyDue", "playSound", "stopSound"}));
}

// A click on a new reminder while the about dialog runs hides it and opens no second dialog;
// the popup's flag follows the menus: off while the dialog runs, set again by a new showing.
void TestTForm2::aboutOpenedFromAClickGuardsAgainstASecond()
{
    FakeMainForm main;
    main.surveyDue = true;
    TForm2 popup(main, main.ownerWidget());
    main.keepOnTop = &popup.KeepOnTop;
    main.onMenuAbout = [&] { TFormAbout::run(main); };
    bool keepOnTopWhileOpen = true;
    bool keepOnTopAfterNewShowing = false;
    bool hiddenBySecondClick = false;
    whenModal<TFormAbout>([&](TFormAbout& dialog) {
        keepOnTopWhileOpen = popup.KeepOnTop;
        popup.ShowAlarm();
        keepOnTopAfterNewShowing = popup.KeepOnTop;
        QTest::mouseClick(popup.windowHandle(), Qt::LeftButton, {},
                          child<ClickLabel>(popup, "Label_Message")->geometry().center());
        hiddenBySecondClick = !popup.isVisible();
        dialog.close();
    });
    popup.ShowAlarm();
    QTest::mouseClick(popup.windowHandle(), Qt::LeftButton, {},
                      child<ClickLabel>(popup, "Label_Message")->geometry().center());

    QVERIFY(!keepOnTopWhileOpen);
    QVERIFY(keepOnTopAfterNewShowing);
    QVERIFY(hiddenBySecondClick);
    QCOMPARE(main.calls, QStringList({"IsSurveyDue", "playSound",                   // first showing
                                      "stopSound", "IsSurveyDue", "MenuAboutClick", // click
                                      "IsSurveyDue", "EnableMenus(false)",          // about opens
                                      "IsSurveyDue", "playSound", // second showing
                                      "stopSound", "IsSurveyDue", "MenuAboutClick", // guarded
                                      "EnableMenus(true)"}));
}

// The link label of a reminder that came up while the about dialog runs opens the guide over
// it; closing the guide enables the menus although the about dialog still runs.
void TestTForm2::stretchOverAboutFromTheLinkLabel()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    main.onMenuStretch = [&] { TForm_Stretch::run(main); };
    whenModal<TFormAbout>([&](TFormAbout& about) {
        popup.ShowAlarm();
        whenModal<TForm_Stretch>([&](TForm_Stretch& guide) {
            guide.close();
            whenModal<TFormAbout>([](TFormAbout& dialog) { dialog.close(); });
        });
        QTest::mouseClick(popup.windowHandle(), Qt::LeftButton, {},
                          child<ClickLabel>(popup, "Label2")->geometry().center());
        Q_UNUSED(about);
    });
    TFormAbout::run(main);

    QCOMPARE(main.calls,
             QStringList({"IsSurveyDue", "EnableMenus(false)", "IsSurveyDue", "playSound",
                          "stopSound", "MenuStretchClick", "EnableMenus(false)",
                          "EnableMenus(true)", "EnableMenus(true)"}));
}

// A dialog's run holds off input to the program's windows that were up when it started: the
// popup stays up through a click, still hides on time, and takes clicks again afterwards.
void TestTForm2::popupUpBeforeADialogIgnoresClicksUntilItCloses()
{
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget());
    popup.ShowAlarm();
    bool upAfterClick = false;
    whenModal<TForm_Stretch>([&](TForm_Stretch& guide) {
        QTest::mouseClick(popup.windowHandle(), Qt::LeftButton, {}, QPoint(148, 54));
        upAfterClick = popup.isVisible();
        guide.close();
    });
    TForm_Stretch::run(main);
    QVERIFY(upAfterClick);
    QVERIFY(popup.isVisible());
    QTest::mouseClick(popup.windowHandle(), Qt::LeftButton, {}, QPoint(148, 54));
    QVERIFY(!popup.isVisible());
}

// The program can end while a dialog opened from a reminder click runs: the main window then
// destroys the popup under the click that opened the dialog. Nothing may touch it afterwards
// (the sanitizer build checks this).
void TestTForm2::popupDestroyedWhileItsDialogRuns()
{
    FakeMainForm main;
    main.surveyDue = true;
    QPointer<TForm2> popup = new TForm2(main, main.ownerWidget());
    main.onMenuAbout = [&] { TFormAbout::run(main); };
    whenModal<TFormAbout>([&](TFormAbout& dialog) {
        delete popup;
        dialog.close();
    });
    popup->ShowAlarm();
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                      child<ClickLabel>(*popup, "Label_Message")->geometry().center());
    QVERIFY(!popup);
    QCOMPARE(main.calls.last(), QStringLiteral("EnableMenus(true)"));
}

// Whenever the window system says something came above the shown popup, it claims the top
// place again: not while hidden, not while a dialog runs (KeepOnTop false), not over its own
// open menu, and never more than ten times a second, with one late try once the second is over.
void TestTForm2::reclaimsTheTopPlaceOnlyWhenItShould()
{
    qint64 now = 5000;
    FakeMainForm main;
    TForm2 popup(main, main.ownerWidget(), [&now] { return now; });
    QVERIFY(!main.stacking.lost); // nothing to watch before the first showing
    popup.ShowAlarm();
    QVERIFY(main.stacking.lost);
    const int raisesAtShow = main.stacking.raises;
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, raisesAtShow + 1);

    main.EnableMenus(false);
    popup.KeepOnTop = false; // what the main window does around a dialog
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, raisesAtShow + 1);
    popup.KeepOnTop = true;

    QMenu menu;
    menu.addAction(QStringLiteral("x"));
    menu.popup(QPoint(800, 600));
    QTRY_VERIFY(QApplication::activePopupWidget() == &menu);
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, raisesAtShow + 1);
    menu.close();
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);

    now += 1000; // a fresh second
    for (int i = 0; i < 30; ++i)
        main.stacking.lost();
    QCOMPARE(main.stacking.raises, raisesAtShow + 11);
    now += 990;
    main.stacking.lost(); // still over budget: one try is kept for the next second
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, raisesAtShow + 11);
    now += 10;
    QTRY_COMPARE(main.stacking.raises, raisesAtShow + 12);
    QTest::qWait(50);
    QCOMPARE(main.stacking.raises, raisesAtShow + 12);

    popup.Timer_AutoCloseTimer();
    popup.KeepOnTop = true;
    main.stacking.lost();
    QCOMPARE(main.stacking.raises, raisesAtShow + 12);
}

QTEST_MAIN(TestTForm2)
#include "test_TForm2.moc"
