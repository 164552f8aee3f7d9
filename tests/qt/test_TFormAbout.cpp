// The about dialog: its two layouts, the survey page, the password, its keys and its guard.
#include "tests/qt/QtFakeMainForm.h"
#include "tests/qt/WindowTest.h"

#include "core/Survey.h"
#include "windows/TFormAbout.h"

#include "BuildConfig.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestTFormAbout : public QObject
{
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void fonts();
    void passwordAcceptedOnTheCompletingKeystroke();
    void wrongPasswords_data();
    void wrongPasswords();
    void surveyButtonOpensThePageEachTime();
    void closingKeys_data();
    void closingKeys();
    void secondOpeningWhileOpenReturnsAtOnce();
};

namespace {

template <typename T> T* child(QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

} // namespace

void TestTFormAbout::layouts_data()
{
    QTest::addColumn<bool>("due");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("buttonTop");
    QTest::newRow("survey not due: compact") << false << 182 << 148;
    QTest::newRow("survey due: with the panel") << true << 324 << 292;
}

// The survey decides the layout once per opening: panel, height and the button's place; the
// close button holds the focus and no caption is cut off.
void TestTFormAbout::layouts()
{
    QFETCH(bool, due);
    QFETCH(int, height);
    QFETCH(int, buttonTop);
    FakeMainForm main;
    main.surveyDue = due;
    QSize size;
    QRect button;
    bool panel = false;
    QString version;
    QString focused;
    QStringList cut;
    whenModal("FormAbout", [&](QDialog& dialog) {
        focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisibleTo(&dialog) && label->width() < label->sizeHint().width())
                cut << label->objectName();
        size = dialog.size();
        button = child<QPushButton>(dialog, "OKButton")->geometry();
        panel = child<QGroupBox>(dialog, "GroupBox_Monitor")->isVisible();
        version = child<QLabel>(dialog, "Version")->text();
        dialog.close();
    });
    TFormAbout::run(main);
    QCOMPARE(size, QSize(344, height));
    QCOMPARE(button, QRect(135, buttonTop, 75, 25));
    QCOMPARE(panel, due);
    QCOMPARE(version, QStringLiteral("Version 1.07"));
    QCOMPARE(focused, QStringLiteral("OKButton"));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(',')));
    QCOMPARE(main.calls, QStringList({"IsSurveyDue", "EnableMenus(false)", "EnableMenus(true)"}));
}

// The texts use the Japanese UI font at 12 pixels; the copyright notice Arial at 11.
void TestTFormAbout::fonts()
{
    FakeMainForm main;
    QFont name, copyright;
    whenModal("FormAbout", [&](QDialog& dialog) {
        name = child<QLabel>(dialog, "ProductName")->font();
        copyright = child<QLabel>(dialog, "Copyright")->font();
        dialog.close();
    });
    TFormAbout::run(main);
    QCOMPARE(QFontInfo(name).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(name.pixelSize(), 12);
    QCOMPARE(copyright.family(), QStringLiteral("Arial"));
    QCOMPARE(copyright.pixelSize(), 11);
}

// Typed one key at a time, the password is taken on the key that completes it: both controls
// go disabled at once, the password is stored and saved, and the dialog stays open.
void TestTFormAbout::passwordAcceptedOnTheCompletingKeystroke()
{
    FakeMainForm main;
    main.surveyDue = true;
    QStringList steps;
    QString shown;
    bool stillOpen = false;
    whenModal("FormAbout", [&](QDialog& dialog) {
        auto* edit = child<QLineEdit>(dialog, "EditPass");
        auto* button = child<QPushButton>(dialog, "ButtonMonitor");
        edit->setFocus();
        for (const char key : {'Q', 'X', 'J'}) {
            QTest::keyClicks(edit, QString(QChar(key)));
            steps << QStringLiteral("%1:%2%3:%4")
                         .arg(edit->text())
                         .arg(int(edit->isEnabled()))
                         .arg(int(button->isEnabled()))
                         .arg(main.saved.size());
        }
        shown = edit->displayText();
        stillOpen = dialog.isVisible();
        dialog.close();
    });
    TFormAbout::run(main);
    QCOMPARE(steps, QStringList({"Q:11:0", "QX:11:0", "QXJ:00:1"}));
    QCOMPARE(shown, QStringLiteral("***"));
    QVERIFY(stillOpen);
    QCOMPARE(main.current.SurveyPassword, std::string("QXJ"));
    QCOMPARE(main.saved.at(0).SurveyPassword, std::string("QXJ"));
}

void TestTFormAbout::wrongPasswords_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower case is not accepted") << ""
                                                << "qxj" << 0 << false;
    QTest::newRow("a trailing blank is not accepted") << "QXJ "
                                                      << "" << 0 << false;
    QTest::newRow("a leading blank is not accepted") << " QXJ"
                                                     << "" << 0 << false;
    QTest::newRow("an extra character, then deleted") << ""
                                                      << "QXJA" << 1 << true;
}

// The comparison is exact; deleting an extra character afterwards completes the password.
void TestTFormAbout::wrongPasswords()
{
    QFETCH(QString, pasted);
    QFETCH(QString, typed);
    QFETCH(int, backspaces);
    QFETCH(bool, accepted);
    FakeMainForm main;
    main.surveyDue = true;
    whenModal("FormAbout", [&](QDialog& dialog) {
        auto* edit = child<QLineEdit>(dialog, "EditPass");
        edit->setFocus();
        if (!pasted.isEmpty())
            edit->setText(pasted);
        QTest::keyClicks(edit, typed);
        for (int i = 0; i < backspaces; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        dialog.close();
    });
    TFormAbout::run(main);
    QCOMPARE(main.saved.size(), std::size_t(accepted ? 1 : 0));
    QCOMPARE(main.current.SurveyPassword, std::string(accepted ? "QXJ" : ""));
}

// Each click opens the survey page with the identifier as stored, converted from code page 932
// like the start page's; the dialog stays open.
void TestTFormAbout::surveyButtonOpensThePageEachTime()
{
    FakeMainForm main;
    main.surveyDue = true;
    main.current.UserID = "12345-678\x83\x5C";
    bool stillOpen = false;
    whenModal("FormAbout", [&](QDialog& dialog) {
        auto* button = child<QPushButton>(dialog, "ButtonMonitor");
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        stillOpen = dialog.isVisible();
        dialog.close();
    });
    TFormAbout::run(main);
    const std::string page =
        std::string("http://") + BuildConfig::MakerHost + "/rupeta/monitor.aspx?ID=12345-678ソ";
    QCOMPARE(main.opened, std::vector<std::string>({page, page}));
    QVERIFY(stillOpen);
}

void TestTFormAbout::closingKeys_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter presses 閉じる") << "enter" << true;
    QTest::newRow("Enter in the password box") << "enter-in-box" << true;
    QTest::newRow("Esc does nothing") << "esc" << false;
    QTest::newRow("Esc in the password box does nothing") << "esc-in-box" << false;
    QTest::newRow("the close box") << "box" << true;
}

// No cancel button: Esc leaves the dialog open; Enter and the close box end it.
void TestTFormAbout::closingKeys()
{
    QFETCH(QString, how);
    QFETCH(bool, closes);
    FakeMainForm main;
    main.surveyDue = true;
    bool openAfter = false;
    whenModal("FormAbout", [&](QDialog& dialog) {
        auto* edit = child<QLineEdit>(dialog, "EditPass");
        if (how == "enter")
            QTest::keyClick(&dialog, Qt::Key_Return);
        else if (how == "enter-in-box")
            QTest::keyClick(edit, Qt::Key_Return);
        else if (how == "esc")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == "esc-in-box")
            QTest::keyClick(edit, Qt::Key_Escape);
        else
            dialog.close();
        openAfter = dialog.isVisible();
        if (openAfter)
            dialog.close();
    });
    TFormAbout::run(main);
    QCOMPARE(openAfter, !closes);
}

// A reminder click while the dialog is open calls the opener again: nothing happens.
void TestTFormAbout::secondOpeningWhileOpenReturnsAtOnce()
{
    FakeMainForm main;
    int dialogs = 0;
    whenModal("FormAbout", [&](QDialog& dialog) {
        TFormAbout::run(main);
        for (QWidget* window : QApplication::topLevelWidgets())
            dialogs += window->objectName() == "FormAbout";
        dialog.close();
    });
    TFormAbout::run(main);
    QCOMPARE(dialogs, 1);
    QCOMPARE(main.calls, QStringList({"IsSurveyDue", "EnableMenus(false)", "EnableMenus(true)"}));
}

QTEST_MAIN(TestTFormAbout)
#include "test_TFormAbout.moc"
