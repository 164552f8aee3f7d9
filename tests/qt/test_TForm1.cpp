// The hidden main window under the offscreen platform: menu, links, tray, demo mode, dialog
// routing and shutdown, with a fake platform layer.
#include "qt/BeepSound.h"
#include "tests/shell/FakePlatform.h"
#include "shell/TForm1.h"
#include "tests/qt/QtProgram.h"
#include "shell/TrayClicks.h"
#include "qt/platform/WaylandPlatform.h"
#include "windows/TForm2.h"
#include "windows/TFormAbout.h"
#include "windows/TFormConfig.h"
#include "qt/QtTranslations.h"
#include "qt/UiFont.h"

#include "BuildConfig.h"
#include "core/Settings.h"
#include "core/TrayStatus.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {
// The dialogs run modally in their own way (the tray stays usable), not as Qt modal widgets.
QDialog* openDialog()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}
} // namespace

class TestTForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuHasItemsInOrder();
    void demoItemNeedsCtrlAndShiftAtStartUp();
    void demoItemSwitchesTheTickInterval();
    void demoItemShowsOnlyItsCheckMark();
    void linksComeFromUrlIni();
    void everyDashCaptionIsItsOwnSeparatorLine();
    void tooltipShowsMinutesFromTheStart();
    void ticksDriveTheTrayAndIdlenessShowsTheIdlePicture();
    void trayGetsEachPictureAsDrawnInEverySize();
    void unseenActivityIsToldOnceAndNeverResetsTheCount();
    void startPageOpensOnFirstRunInTheCampaign_data();
    void startPageOpensOnFirstRunInTheCampaign();
    void enableMenusLeavesResetLinksAndExitUsable();
    void clicksOpenTheMenuAndDoubleClickTheSettings();
    void statusNotifierDoubleClickOpensTheSettingsAndNoMenu();
    void menuOpensWhereTheTrayHostSaysItWasClicked();
    void noTrayHostNoticeOnceThroughTheNotificationService();
    void noTrayHostNoticeInAWindowWithoutANotificationService();
    void uiFontResolvesToAJapaneseFont();
    void qtOwnTextsAreJapaneseWhateverTheLocale();
    void exitWhileADialogRunsEndsCleanly();

private:
    std::unique_ptr<Program> makeForm();
    template <class T> T* child(Program& form, const char* name)
    {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no child %s", name);
        }
        return found;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    FakePlatform m_platform;
    std::unique_ptr<BeepSound> m_sound;
};

void TestTForm1::init()
{
    // Every test starts in an empty current directory: no settings, no links.
    m_oldDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_platform = FakePlatform();
    if (!m_sound) {
        QString error;
        const auto beep = std::filesystem::path(qEnvironmentVariable("RUPETA_BEEP").toStdString());
        m_sound = BeepSound::open(beep.parent_path(), error);
        QVERIFY2(m_sound != nullptr, qPrintable(error));
    }
}

void TestTForm1::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

std::unique_ptr<Program> TestTForm1::makeForm()
{
    return std::make_unique<Program>(m_platform, *m_sound);
}

// The tray menu is the program's only user interface; its captions and order are fixed.
void TestTForm1::menuHasItemsInOrder()
{
    auto form = makeForm();
    auto* menu = child<QMenu>(*form, "PopupMenu1");
    QStringList shown;
    for (QAction* action : menu->actions()) {
        shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    const QStringList expected{"設定(&C)...",
                               "タイマーのリセット(&R)",
                               "タイマー表示サンプル(&B)...",
                               "-",
                               "座ったままで簡単ストレッチ(&S)...",
                               "関連情報(&I)",
                               "デモ(&D)",
                               "-",
                               "ルペタについて(&A)...",
                               "終了(&X)"};
    QCOMPARE(shown, expected);
    auto* info = child<QMenu>(*form, "MenuInfo");
    QCOMPARE(menu->actions().at(5), info->menuAction());
    QCOMPARE(info->actions().size(), 5);
    QVERIFY(!form->isVisible());
}

void TestTForm1::demoItemNeedsCtrlAndShiftAtStartUp()
{
    auto plain = makeForm();
    QVERIFY(!child<QAction>(*plain, "MenuDemo")->isVisible());
    plain.reset();
    m_platform.ctrlShift = true;
    auto demo = makeForm();
    QVERIFY(child<QAction>(*demo, "MenuDemo")->isVisible());
}

// Demo mode runs the tick 100 times faster and back; the mark shows which.
void TestTForm1::demoItemSwitchesTheTickInterval()
{
    auto form = makeForm();
    auto* demo = child<QAction>(*form, "MenuDemo");
    QCOMPARE(form->main.tickInterval(), 1000);
    demo->trigger();
    QVERIFY(demo->isChecked());
    QCOMPARE(form->main.tickInterval(), 10);
    demo->trigger();
    QVERIFY(!demo->isChecked());
    QCOMPARE(form->main.tickInterval(), 1000);
}

// The demo item's check column is empty while the item is off (no empty box) and shows a mark
// while it is on. An item that cannot be checked shows what "nothing" looks like there.
void TestTForm1::demoItemShowsOnlyItsCheckMark()
{
    m_platform.ctrlShift = true;
    auto form = makeForm();
    auto* menu = child<QMenu>(*form, "PopupMenu1");
    auto* demo = child<QAction>(*form, "MenuDemo");
    const auto checkColumn = [menu](QAction* action) {
        menu->popup(QPoint(10, 10));
        const QRect item = menu->actionGeometry(action);
        const QImage shot =
            menu->grab(QRect(item.topLeft(), QSize(item.height(), item.height()))).toImage();
        menu->hide();
        return shot;
    };
    const QImage nothing = checkColumn(child<QAction>(*form, "MenuReset"));
    QCOMPARE(checkColumn(demo), nothing);
    demo->trigger();
    QVERIFY(checkColumn(demo) != nothing);
}

// url.ini in code page 932: captions converted, "-" a separator, empty caption hidden, targets
// handed over unchanged, an empty target does nothing.
void TestTForm1::linksComeFromUrlIni()
{
    std::ofstream("url.ini", std::ios::binary) << "[URLs]\r\n"
                                                  "Name1=\x83\x5c\x83\x74\x83\x67(&Q)\r\n"
                                                  "Name2=-\r\n"
                                                  "Name3=\r\n"
                                                  "Name4=empty target\r\n"
                                                  "URL1=a b;$(touch pwned)\r\n"
                                                  "URL4=\r\n";
    auto form = makeForm();
    auto* info1 = child<QAction>(*form, "Menu_Info1");
    QCOMPARE(info1->text(), QStringLiteral("ソフト(&Q)"));
    QVERIFY(info1->isVisible());
    QVERIFY(child<QAction>(*form, "Menu_Info2")->isSeparator());
    QVERIFY(child<QAction>(*form, "Menu_Info2")->text().isEmpty()); // else drawn as a heading
    QVERIFY(!child<QAction>(*form, "Menu_Info3")->isVisible());
    QVERIFY(child<QAction>(*form, "Menu_Info4")->isVisible());
    QCOMPARE(child<QAction>(*form, "Menu_Info5")->text(), QStringLiteral("ルペタのサイト"));

    info1->trigger();
    child<QAction>(*form, "Menu_Info4")->trigger();
    child<QAction>(*form, "Menu_Info5")->trigger();
    const std::vector<std::string> expected{
        "a b;$(touch pwned)", std::string("http://") + BuildConfig::MakerHost + "/rupeta/"};
    QCOMPARE(m_platform.opened, expected);
}

// A "-" caption is a separator line wherever it stands: first, last, or next to another.
void TestTForm1::everyDashCaptionIsItsOwnSeparatorLine()
{
    std::ofstream("url.ini", std::ios::binary) << "[URLs]\r\n"
                                                  "Name1=-\r\n"
                                                  "Name2=link\r\n"
                                                  "Name3=-\r\n"
                                                  "Name4=-\r\n"
                                                  "Name5=-\r\n";
    auto form = makeForm();
    auto* info = child<QMenu>(*form, "MenuInfo");
    info->popup(QPoint(10, 10));
    QStringList lines;
    for (QAction* action : info->actions()) {
        if (!info->actionGeometry(action).isEmpty()) {
            lines << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
    }
    info->hide();
    QCOMPARE(lines, QStringList({"-", "link", "-", "-", "-"}));
}

// Right after start-up the tooltip already tells the minutes, not just the name.
void TestTForm1::tooltipShowsMinutesFromTheStart()
{
    auto form = makeForm();
    auto* tray = form->findChild<QSystemTrayIcon*>();
    QVERIFY(tray != nullptr);
    QCOMPARE(tray->toolTip(), QStringLiteral("0分経過しました\n(タイマー設定: 60分間)"));
    QVERIFY(QFile::exists("rupeta.ini"));
}

// Ticks reach the engine and the engine reaches the tray: minutes while active, the idle
// picture after ResetMinutes of idleness.
void TestTForm1::ticksDriveTheTrayAndIdlenessShowsTheIdlePicture()
{
    auto form = makeForm();
    auto* tray = form->findChild<QSystemTrayIcon*>();
    for (int i = 0; i < 60; ++i) {
        m_platform.cursor = CursorPos{i, 0};
        m_platform.clock += 1.0 / 86400;
        form->main.Timer_TickTimer();
    }
    QCOMPARE(tray->toolTip(), QStringLiteral("1分経過しました\n(タイマー設定: 60分間)"));
    const QImage progress = tray->icon().pixmap(16, 16).toImage();
    QCOMPARE(progress, QImage(":/icons/tray/16/image1.png").convertToFormat(progress.format()));

    // Default ResetMinutes 10: the idle reset fires on the 601st idle tick.
    for (int i = 0; i < 10 * 60 + 2; ++i) {
        m_platform.clock += 1.0 / 86400;
        form->main.Timer_TickTimer();
    }
    QCOMPARE(tray->toolTip(), QStringLiteral("0分経過しました\n(タイマー設定: 60分間)"));
    const QImage idle = tray->icon().pixmap(16, 16).toImage();
    QCOMPARE(idle, QImage(":/icons/tray/16/image6.png").convertToFormat(idle.format()));
}

// A tray host picks the size it needs from what the icon offers (StatusNotifierItem hosts get
// every size): each progress picture must come out exactly as drawn at 16, 32 and 48 pixels.
void TestTForm1::trayGetsEachPictureAsDrawnInEverySize()
{
    auto form = makeForm();
    auto* tray = form->findChild<QSystemTrayIcon*>();
    for (int step = 15; step >= 0; --step) {
        form->main.UpdateTrayIcon(step, 16);
        const int image = trayImageFor(step, 16, false);
        for (const int size : {16, 32, 48}) {
            const QImage shown = tray->icon().pixmap(size, size).toImage();
            const QImage drawn =
                QImage(QStringLiteral(":/icons/tray/%1/image%2.png").arg(size).arg(image));
            QVERIFY2(shown == drawn.convertToFormat(shown.format()),
                     qPrintable(QStringLiteral("step %1, %2 px").arg(step).arg(size)));
        }
    }
}

// A Wayland desktop whose compositor reports no idleness: one notice that does not hold up
// the start, and ticks without any input still count up instead of resetting.
void TestTForm1::unseenActivityIsToldOnceAndNeverResetsTheCount()
{
    const auto notices = [] {
        QList<QMessageBox*> shown;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QStringLiteral("NoActivityNotice") && window->isVisible()) {
                shown.append(qobject_cast<QMessageBox*>(window));
            }
        }
        return shown;
    };
    {
        auto form = makeForm();
        QVERIFY(notices().isEmpty());
    }

    WaylandPlatform platform(nullptr, std::make_unique<FakePlatform>());
    Program form(platform, *m_sound);
    QCOMPARE(notices().size(), 1);
    QVERIFY(!notices().front()->isModal());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(notices().front()->text().contains(QStringLiteral("自動リセットは行いません")));

    // Default ResetMinutes 10: with input seen, the 601st idle tick would reset.
    for (int i = 0; i < 10 * 60 + 2; ++i) {
        form.main.Timer_TickTimer();
    }
    QCOMPARE(notices().size(), 1);
    QCOMPARE(form.main.ElapsedMinutes(), 10);
    auto* tray = form.findChild<QSystemTrayIcon*>();
    QCOMPARE(tray->toolTip(), QStringLiteral("10分経過しました\n(タイマー設定: 60分間)"));
    notices().front()->close();
}

void TestTForm1::startPageOpensOnFirstRunInTheCampaign_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("opened");
    QTest::newRow("last day of the start page") << 1 << true;
    QTest::newRow("the day after") << 2 << false;
}

// The welcome page opens once per installation and only until 2007-01-01.
void TestTForm1::startPageOpensOnFirstRunInTheCampaign()
{
    QFETCH(int, day);
    QFETCH(bool, opened);
    m_platform.clock = encodeDate(2007, 1, day) + encodeTime(9, 0, 0);
    auto first = makeForm();
    first.reset();
    Settings saved;
    SettingsFile::load(saved, m_platform.clock);
    const std::vector<std::string> expected =
        opened ? std::vector<std::string>{std::string("http://") + BuildConfig::MakerHost +
                                          "/rupeta/start.aspx?ID=" + saved.UserID}
               : std::vector<std::string>{};
    QCOMPARE(m_platform.opened, expected);

    auto second = makeForm(); // the file now holds first-activated
    QCOMPARE(m_platform.opened, expected);
}

// While a dialog runs, the dialog items are disabled and the popup stops keeping on top;
// reset, links, demo and exit stay usable.
void TestTForm1::enableMenusLeavesResetLinksAndExitUsable()
{
    m_platform.ctrlShift = true; // a hidden action also reads as disabled
    auto form = makeForm();
    const char* switched[] = {"MenuStretch", "MenuConfig", "MenuAbout", "MenuSample"};
    const char* kept[] = {"MenuReset", "MenuDemo", "MenuExit", "Menu_Info1"};
    for (const bool on : {false, true}) {
        form->main.EnableMenus(on);
        for (const char* name : switched) {
            QCOMPARE(child<QAction>(*form, name)->isEnabled(), on);
        }
        for (const char* name : kept) {
            QVERIFY(child<QAction>(*form, name)->isEnabled());
        }
        QCOMPARE(form->main.AlarmForm->KeepOnTop(), on);
    }
}

// A click opens the menu; a double click opens the settings dialog only while its menu item
// is enabled, so the dialog can never run twice. The menu of a left click waits out the
// double-click time, or it would take the second click of a double click.
void TestTForm1::clicksOpenTheMenuAndDoubleClickTheSettings()
{
    auto form = makeForm();
    auto* menu = child<QMenu>(*form, "PopupMenu1");
    form->main.HandleTrayMessage(TrayClicks::Click::Context);
    QVERIFY(menu->isVisible());
    menu->hide();
    form->main.HandleTrayMessage(TrayClicks::Click::Trigger);
    QVERIFY(!menu->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), QApplication::doubleClickInterval() + 500);
    menu->hide();

    QString dialogSeen;
    const auto closeDialog = [&dialogSeen] {
        if (QDialog* dialog = openDialog()) {
            dialogSeen = dialog->objectName();
            dialog->reject();
        }
    };
    form->main.EnableMenus(false);
    QTimer::singleShot(300, closeDialog); // would close a wrongly opened dialog
    form->main.HandleTrayMessage(TrayClicks::Click::DoubleClick);
    QTest::qWait(400);
    QCOMPARE(dialogSeen, QString());

    form->main.EnableMenus(true);
    QTimer::singleShot(100, closeDialog);
    form->main.HandleTrayMessage(TrayClicks::Click::Trigger); // the first click of the pair
    form->main.HandleTrayMessage(TrayClicks::Click::DoubleClick);
    QCOMPARE(dialogSeen, QStringLiteral("FormConfig"));
    QVERIFY(child<QAction>(*form, "MenuConfig")->isEnabled());
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QVERIFY(!menu->isVisible());
}

// Two Activate calls of a StatusNotifierItem host arrive as two Triggers: the settings dialog
// opens and the menu of the first click never does.
void TestTForm1::statusNotifierDoubleClickOpensTheSettingsAndNoMenu()
{
    auto form = makeForm();
    auto* menu = child<QMenu>(*form, "PopupMenu1");
    QString dialogSeen;
    QTimer::singleShot(100, [&dialogSeen] {
        if (QDialog* dialog = openDialog()) {
            dialogSeen = dialog->objectName();
            dialog->reject();
        }
    });
    form->main.HandleTrayMessage(TrayClicks::Click::Trigger);
    form->main.HandleTrayMessage(TrayClicks::Click::Trigger);
    QCOMPARE(dialogSeen, QStringLiteral("FormConfig"));
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QVERIFY(!menu->isVisible());
}

Q_LOGGING_CATEGORY(hostLog, "qt.qpa.tray")

// Qt logs the x and y of the host's ContextMenu and Activate calls to "qt.qpa.tray" just before
// it reports the activation; the menu opens there, not at the cursor. A point nobody took in
// that same call is not used later.
void TestTForm1::menuOpensWhereTheTrayHostSaysItWasClicked()
{
    auto form = makeForm();
    auto* menu = child<QMenu>(*form, "PopupMenu1");
    QCursor::setPos(900, 20);

    qCDebug(hostLog) << 300 << 200;
    form->main.HandleTrayMessage(TrayClicks::Click::Context);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(300, 200));
    menu->hide();

    qCDebug(hostLog) << 120 << 90;
    form->main.HandleTrayMessage(TrayClicks::Click::Trigger);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), QApplication::doubleClickInterval() + 500);
    QCOMPARE(menu->pos(), QPoint(120, 90));
    menu->hide();

    qCDebug(hostLog) << 50 << 60;
    QTest::qWait(10);
    qCDebug(hostLog) << "IconPixmap" << 16 << 16; // other lines of that log carry no point
    form->main.HandleTrayMessage(TrayClicks::Click::Context);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos().y(), QCursor::pos().y()); // at the cursor, as on X11
    menu->hide();
}

// Without a tray after the wait, the user hears once, through the notification service, what
// is missing and where to read more; the program goes on.
void TestTForm1::noTrayHostNoticeOnceThroughTheNotificationService()
{
    auto form = makeForm();
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // the offscreen platform has none
    QVERIFY(m_platform.notifications.empty());
    form->main.checkTrayHost();
    QCOMPARE(m_platform.notifications.size(), std::size_t(1));
    const QString notice = QString::fromStdString(m_platform.notifications[0]);
    QVERIFY2(notice.contains(QStringLiteral("通知領域")), qPrintable(notice));
    QVERIFY2(notice.contains(QStringLiteral("No icon in the tray?")), qPrintable(notice));
    QVERIFY(form->findChild<QMessageBox*>() == nullptr);
}

// No notification service: a small window says the same, and leaves everything else usable.
void TestTForm1::noTrayHostNoticeInAWindowWithoutANotificationService()
{
    m_platform.notificationService = false;
    auto form = makeForm();
    form->main.checkTrayHost();
    QCOMPARE(m_platform.notifications.size(), std::size_t(1));
    auto* box = child<QMessageBox>(*form, "noTrayNotice");
    QVERIFY(box->isVisible());
    QVERIFY(!box->isModal());
    QVERIFY(box->text().contains(QStringLiteral("No icon in the tray?")));
    QCOMPARE(box->windowTitle(), QStringLiteral("ルペタのアイコンを表示する場所がありません"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    box->close();
    QTRY_VERIFY(form->findChild<QMessageBox*>() == nullptr);
}

// The layouts name "ＭＳ Ｐゴシック"; without the substitution Qt picks a Latin font.
void TestTForm1::uiFontResolvesToAJapaneseFont()
{
    installUiFontSubstitution();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
}

// Qt's own texts (an edit box's context menu, standard buttons) come in Japanese like the
// program's, also for a user whose locale is English.
void TestTForm1::qtOwnTextsAreJapaneseWhateverTheLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    installQtTranslations();
    QLineEdit edit;
    std::unique_ptr<QMenu> context(edit.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : context->actions()) {
        if (!action->isSeparator()) {
            texts << action->text().section(QLatin1Char('\t'), 0, 0); // without "Ctrl+Z"
        }
    }
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    texts << buttons.button(QDialogButtonBox::Cancel)->text()
          << buttons.button(QDialogButtonBox::Close)->text();
    QVERIFY(texts.size() > 4);
    QStringList english;
    for (const QString& text : texts) {
        if (text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}")))) {
            english << text;
        }
    }
    QVERIFY2(english.isEmpty(), qPrintable(english.join(", ")));
}

// "終了(&X)" stays enabled while a dialog runs: the program must end with status 0, save, and
// the dialog's caller must not touch the destroyed popup afterwards.
void TestTForm1::exitWhileADialogRunsEndsCleanly()
{
    auto form = makeForm();
    form->main.settings().TimerMinutes = 45;
    QString dialogSeen;
    QTimer::singleShot(0, form.get(), [&form] { form->main.MenuAboutClick(); });
    QTimer::singleShot(200, form.get(), [this, &form, &dialogSeen] {
        if (QDialog* dialog = openDialog()) {
            dialogSeen = dialog->objectName();
        }
        child<QAction>(*form, "MenuExit")->trigger();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); }); // never hang the suite
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(dialogSeen, QStringLiteral("FormAbout"));
    QVERIFY(form->main.AlarmForm == nullptr);
    QVERIFY(form->findChild<QSystemTrayIcon*>() == nullptr);
    Settings saved;
    SettingsFile::load(saved, m_platform.clock);
    QCOMPARE(saved.TimerMinutes, 45);
    form->main.EnableMenus(true); // what a dialog's caller does after its run returns
}

QTEST_MAIN(TestTForm1)
#include "test_TForm1.moc"
