// The settings dialog: what OK takes over, what Cancel leaves alone, the spinners.
#include "tests/qt/QtFakeMainForm.h"
#include "tests/qt/WindowTest.h"

#include "windows/TFormConfig.h"
#include "qt/UpDown.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QToolButton>

class TestTFormConfig : public QObject
{
    Q_OBJECT

private slots:
    void okTakesOverTheBoxes_data();
    void okTakesOverTheBoxes();
    void cancelPathsChangeNothing_data();
    void cancelPathsChangeNothing();
    void positionRadioButtons_data();
    void positionRadioButtons();
    void checkBoxEnablesTheResetControls();
    void storedValuesOutsideTheRangeShowAsStored();
    void spinnerSteps();
    void ownerDestroyedWhileRunning();
    void opensWithTheIntervalBoxFocusedAndNoCaptionCut();
    void groupFramesClearTheirControls();
    void tabLandsOnTheCheckedPositionAndArrowsMoveIt();
};

namespace {

template <typename T> T* child(QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// The first pixel from `from` along `step` that is not the background: where a frame line is.
int firstDrawn(const QImage& image, QPoint from, QPoint step, QRgb background)
{
    QPoint p = from;
    while (image.rect().contains(p) && image.pixel(p) == background)
        p += step;
    return step.x() != 0 ? p.x() : p.y();
}

} // namespace

void TestTFormConfig::okTakesOverTheBoxes_data()
{
    QTest::addColumn<QString>("timerText");
    QTest::addColumn<QString>("resetText");
    QTest::addColumn<int>("timer");
    QTest::addColumn<int>("reset");
    QTest::newRow("100 is forced down to 90") << "100"
                                              << "10" << 90 << 10;
    QTest::newRow("29 is forced up to 30") << "29"
                                           << "10" << 30 << 10;
    QTest::newRow("-5 is forced up to 30") << "-5"
                                           << "10" << 30 << 10;
    QTest::newRow("text that is no number gives 60") << "abc"
                                                     << "10" << 60 << 10;
    QTest::newRow("an empty box gives 60") << ""
                                           << "10" << 60 << 10;
    QTest::newRow("a leading blank is allowed") << " 45"
                                                << "10" << 45 << 10;
    QTest::newRow("a trailing blank gives 60") << "45 "
                                               << "10" << 60 << 10;
    QTest::newRow("hexadecimal with $") << "$2D"
                                        << "10" << 45 << 10;
    QTest::newRow("hexadecimal with 0x") << "0x2D"
                                         << "10" << 45 << 10;
    QTest::newRow("reset text that is no number gives 10") << "45"
                                                           << "abc" << 45 << 10;
    QTest::newRow("reset 0 is forced up to 5") << "45"
                                               << "0" << 45 << 5;
    QTest::newRow("reset 20 is forced down to 15") << "45"
                                                   << "20" << 45 << 15;
}

// The boxes accept any text; OK turns it into a number with the file's defaults and ranges,
// then refreshes the tray with the new interval and saves, in that order.
void TestTFormConfig::okTakesOverTheBoxes()
{
    QFETCH(QString, timerText);
    QFETCH(QString, resetText);
    QFETCH(int, timer);
    QFETCH(int, reset);
    FakeMainForm main;
    main.elapsed = 40;
    whenModal("FormConfig", [&](QDialog& dialog) {
        child<QLineEdit>(dialog, "EditTimer")->setText(timerText);
        child<QLineEdit>(dialog, "Edit_Reset")->setText(resetText);
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    });
    TFormConfig::run(main);

    QCOMPARE(main.current.TimerMinutes, timer);
    QCOMPARE(main.current.ResetMinutes, reset);
    QCOMPARE(main.calls,
             QStringList({"EnableMenus(false)", "EnableMenus(true)",
                          QStringLiteral("UpdateTrayIcon(40,%1)").arg(timer), "SaveSettings"}));
    QCOMPARE(main.saved.at(0).TimerMinutes, timer);
    QCOMPARE(main.saved.at(0).ResetMinutes, reset);
}

void TestTFormConfig::cancelPathsChangeNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Esc key") << "esc";
    QTest::newRow("close box") << "close";
}

// Only OK takes anything over: no settings change, no tray refresh, no save otherwise.
void TestTFormConfig::cancelPathsChangeNothing()
{
    QFETCH(QString, how);
    FakeMainForm main;
    const Settings before = main.current;
    whenModal("FormConfig", [&](QDialog& dialog) {
        child<QLineEdit>(dialog, "EditTimer")->setText("45");
        child<QLineEdit>(dialog, "Edit_Reset")->setText("7");
        child<QCheckBox>(dialog, "CheckBox_Reset")->setChecked(false);
        child<QRadioButton>(dialog, "RadioButton1")->setChecked(true);
        if (how == "cancel")
            QTest::mouseClick(child<QPushButton>(dialog, "CancelBtn"), Qt::LeftButton);
        else if (how == "esc")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
    });
    TFormConfig::run(main);

    QCOMPARE(main.current.TimerMinutes, before.TimerMinutes);
    QCOMPARE(main.current.ResetMinutes, before.ResetMinutes);
    QCOMPARE(main.current.AutoReset, before.AutoReset);
    QCOMPARE(main.current.AlarmPosition, before.AlarmPosition);
    QCOMPARE(main.calls, QStringList({"EnableMenus(false)", "EnableMenus(true)"}));
}

void TestTFormConfig::positionRadioButtons_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("saved");
    QTest::newRow("0 top left") << 0 << "RadioButton1" << 0;
    QTest::newRow("1 bottom left") << 1 << "RadioButton2" << 1;
    QTest::newRow("2 top right") << 2 << "RadioButton3" << 2;
    QTest::newRow("3 bottom right") << 3 << "RadioButton4" << 3;
    QTest::newRow("4 centre") << 4 << "RadioButton5" << 4;
    QTest::newRow("unknown 7 shows the centre and is stored as 4") << 7 << "RadioButton5" << 4;
    QTest::newRow("negative shows the centre") << -1 << "RadioButton5" << 4;
}

// Each stored position turns on its own radio button, and OK stores that button's position.
void TestTFormConfig::positionRadioButtons()
{
    QFETCH(int, stored);
    QFETCH(QString, button);
    QFETCH(int, saved);
    FakeMainForm main;
    main.current.AlarmPosition = stored;
    QStringList on;
    whenModal("FormConfig", [&](QDialog& dialog) {
        for (QRadioButton* radio : dialog.findChildren<QRadioButton*>())
            if (radio->isChecked())
                on << radio->objectName() + "=" + radio->text();
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    TFormConfig::run(main);

    QCOMPARE(on.size(), 1);
    QVERIFY2(on.at(0).startsWith(button + "="), qPrintable(on.join(',')));
    if (stored == 7)
        QCOMPARE(on.at(0), QStringLiteral("RadioButton5=中央"));
    QCOMPARE(main.current.AlarmPosition, saved);
}

// The minutes box, its spinner and its label follow the check box at once, from the first
// showing on; OK saves the unticked state together with the minutes shown.
void TestTFormConfig::checkBoxEnablesTheResetControls()
{
    FakeMainForm main;
    main.current.AutoReset = false;
    main.current.ResetMinutes = 12;
    QStringList states; // enabled state of box, spinner and label
    whenModal("FormConfig", [&](QDialog& dialog) {
        auto* box = child<QCheckBox>(dialog, "CheckBox_Reset");
        const auto record = [&] {
            states << QStringLiteral("%1%2%3")
                          .arg(int(child<QLineEdit>(dialog, "Edit_Reset")->isEnabled()))
                          .arg(int(child<UpDown>(dialog, "UpDown_Reset")->isEnabled()))
                          .arg(int(child<QLabel>(dialog, "Label4")->isEnabled()));
        };
        record();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        record();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        record();
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    });
    TFormConfig::run(main);

    QCOMPARE(states, QStringList({"000", "111", "000"}));
    QCOMPARE(main.current.AutoReset, false);
    QCOMPARE(main.current.ResetMinutes, 12);
}

// A hand-edited file can hold values outside the ranges: the boxes first show them as stored,
// the spinners start from the nearest end of their range, and OK forces them into range.
void TestTFormConfig::storedValuesOutsideTheRangeShowAsStored()
{
    FakeMainForm main;
    main.current.TimerMinutes = 120;
    main.current.ResetMinutes = 2;
    QString timerText, resetText;
    int timerPosition = 0, resetPosition = 0;
    whenModal("FormConfig", [&](QDialog& dialog) {
        timerText = child<QLineEdit>(dialog, "EditTimer")->text();
        resetText = child<QLineEdit>(dialog, "Edit_Reset")->text();
        timerPosition = child<UpDown>(dialog, "UpDown_Timer")->position();
        resetPosition = child<UpDown>(dialog, "UpDown_Reset")->position();
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    TFormConfig::run(main);

    QCOMPARE(timerText, QStringLiteral("120"));
    QCOMPARE(resetText, QStringLiteral("2"));
    QCOMPARE(timerPosition, 90);
    QCOMPARE(resetPosition, 5);
    QCOMPARE(main.current.TimerMinutes, 90);
    QCOMPARE(main.current.ResetMinutes, 5);
}

// The arrows and the arrow keys step by the step size, stop at the ends without wrapping,
// start from a valid number typed into the box, and write plain decimal.
void TestTFormConfig::spinnerSteps()
{
    FakeMainForm main;
    main.current.TimerMinutes = 80;
    main.current.ResetMinutes = 14;
    QStringList seen;
    whenModal("FormConfig", [&](QDialog& dialog) {
        auto* edit = child<QLineEdit>(dialog, "EditTimer");
        auto* spinner = child<UpDown>(dialog, "UpDown_Timer");
        const QList<QToolButton*> arrows = spinner->findChildren<QToolButton*>();
        QToolButton* up = arrows.at(0)->arrowType() == Qt::UpArrow ? arrows.at(0) : arrows.at(1);
        QToolButton* down = up == arrows.at(0) ? arrows.at(1) : arrows.at(0);
        QTest::mouseClick(up, Qt::LeftButton);
        seen << edit->text(); // 85
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        seen << edit->text(); // 90, no wrap to 30
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Down);
        seen << edit->text(); // 85
        edit->setText("47");
        QTest::keyClick(edit, Qt::Key_Up);
        seen << edit->text(); // 52: starts from the typed number
        edit->setText("abc");
        QTest::mouseClick(down, Qt::LeftButton);
        seen << edit->text(); // 47: unreadable text keeps the last position
        for (int i = 0; i < 10; ++i)
            QTest::mouseClick(down, Qt::LeftButton);
        seen << edit->text(); // 30, no wrap to 90

        auto* reset = child<QLineEdit>(dialog, "Edit_Reset");
        QTest::keyClick(reset, Qt::Key_Up);
        seen << reset->text(); // 15
        QTest::keyClick(reset, Qt::Key_Up);
        seen << reset->text(); // still 15
        QTest::mouseClick(child<QPushButton>(dialog, "CancelBtn"), Qt::LeftButton);
    });
    TFormConfig::run(main);

    QCOMPARE(seen, QStringList({"85", "90", "85", "52", "47", "30", "15", "15"}));
}

// The program can end from the tray menu while the dialog runs: the destroyed owner took the
// dialog with it, and nothing may be touched afterwards.
void TestTFormConfig::ownerDestroyedWhileRunning()
{
    FakeMainForm main;
    whenModal("FormConfig", [&](QDialog&) { main.owner.reset(); });
    TFormConfig::run(main);

    QCOMPARE(main.calls, QStringList({"EnableMenus(false)"}));
    QVERIFY(main.saved.empty());
}

// Typing starts in the interval box; every caption fits its label.
void TestTFormConfig::opensWithTheIntervalBoxFocusedAndNoCaptionCut()
{
    FakeMainForm main;
    QString focused;
    QStringList cut;
    whenModal("FormConfig", [&](QDialog& dialog) {
        focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->width() < label->sizeHint().width())
                cut << label->objectName();
        dialog.close();
    });
    TFormConfig::run(main);
    QCOMPARE(focused, QStringLiteral("EditTimer"));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(',')));
}

// Each group box draws its frame on the rectangle its style reports, and every control of the
// group lies inside that frame, clear of the lines and of the caption.
void TestTFormConfig::groupFramesClearTheirControls()
{
    FakeMainForm main;
    QStringList faults;
    whenModal("FormConfig", [&](QDialog& dialog) {
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.textAlignment = group->alignment();
            option.lineWidth = 1;
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxFrame, group);
            const QRect caption = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                 QStyle::SC_GroupBoxLabel, group);

            // The group alone, without its controls; sides probed away from the caption.
            QImage image(group->size(), QImage::Format_RGB32);
            const QRgb background = group->palette().color(QPalette::Window).rgb();
            image.fill(background);
            group->render(&image, {}, {}, QWidget::DrawWindowBackground);
            const int midX = group->width() - 12;
            const int midY = group->height() / 2;
            const QRect drawn(
                QPoint(firstDrawn(image, {0, midY}, {1, 0}, background),
                       firstDrawn(image, {midX, 0}, {0, 1}, background)),
                QPoint(firstDrawn(image, {group->width() - 1, midY}, {-1, 0}, background),
                       firstDrawn(image, {midX, group->height() - 1}, {0, -1}, background)));
            if (drawn != frame)
                faults << QStringLiteral("%1 drawn at %2,%3 %4x%5, style says %6,%7 %8x%9")
                              .arg(group->objectName())
                              .arg(drawn.x())
                              .arg(drawn.y())
                              .arg(drawn.width())
                              .arg(drawn.height())
                              .arg(frame.x())
                              .arg(frame.y())
                              .arg(frame.width())
                              .arg(frame.height());
            // The lines' thickness, read at the top side.
            int line = 0;
            while (image.pixel(midX, frame.top() + line) != background)
                ++line;
            const QRect inside = frame.adjusted(line, line, -line, -line);
            for (QWidget* control : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!inside.contains(control->geometry()) ||
                    caption.intersects(control->geometry()))
                    faults << group->objectName() + "/" + control->objectName();
        }
        dialog.close();
    });
    TFormConfig::run(main);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
}

// Tab reaches the position group on its checked button, so Space cannot change the position
// by accident; the arrow keys move the choice within the group; the next Tab leaves it.
void TestTFormConfig::tabLandsOnTheCheckedPositionAndArrowsMoveIt()
{
    FakeMainForm main;
    main.current.AlarmPosition = 3;
    QStringList focus;
    bool active = false;
    whenModal("FormConfig", [&](QDialog& dialog) {
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(dialog.focusWidget(), key, modifiers);
            focus << dialog.focusWidget()->objectName();
        };
        // The arrow keys look for the application's focus widget: the dialog must be active.
        active = QTest::qWaitForWindowActive(&dialog);
        press(Qt::Key_Tab);
        press(Qt::Key_Space);
        press(Qt::Key_Left);
        press(Qt::Key_Up);
        press(Qt::Key_Tab);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        press(Qt::Key_Tab);
        QTest::mouseClick(child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    });
    TFormConfig::run(main);

    QVERIFY(active);
    QCOMPARE(focus, QStringList({"RadioButton4", "RadioButton4", "RadioButton2", "RadioButton5",
                                 "CheckBox_Reset", "RadioButton5", "EditTimer", "RadioButton5"}));
    QCOMPARE(main.current.AlarmPosition, 4);
}

QTEST_MAIN(TestTFormConfig)
#include "test_TFormConfig.moc"
