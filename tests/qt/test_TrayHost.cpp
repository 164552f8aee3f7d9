// What the tray host gets from the main window: the menu where the host draws menus itself, and
// an at once return from every call it makes, even one that opens a dialog.
#include "qt/BeepSound.h"
#include "tests/qt/QtProgram.h"
#include "tests/shell/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLoggingCategory>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

namespace {

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

Q_LOGGING_CATEGORY(hostLog, "qt.qpa.tray")

} // namespace

class TestTrayHost : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuGoesToHostsThatReadMenus_data();
    void menuGoesToHostsThatReadMenus();
    void callsReturnBeforeTheirDialogOpens_data();
    void callsReturnBeforeTheirDialogOpens();
    void hostClickPointOutlivesTheQueuedClick();

private:
    std::unique_ptr<Program> makeForm() { return std::make_unique<Program>(m_platform, *m_sound); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    FakePlatform m_platform;
    std::unique_ptr<BeepSound> m_sound;
};

void TestTrayHost::init()
{
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

void TestTrayHost::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void TestTrayHost::menuGoesToHostsThatReadMenus_data()
{
    QTest::addColumn<bool>("hostReadsMenus");
    QTest::newRow("StatusNotifierItem host") << true;
    // Qt would open a menu given to an XEmbed icon by itself on a right click, beside the
    // program's own.
    QTest::newRow("XEmbed tray") << false;
}

void TestTrayHost::menuGoesToHostsThatReadMenus()
{
    QFETCH(bool, hostReadsMenus);
    m_platform.hostReadsMenus = hostReadsMenus;
    auto form = makeForm();
    auto* tray = form->findChild<QSystemTrayIcon*>();
    QVERIFY(tray != nullptr);
    QMenu* exported =
        hostReadsMenus ? form->findChild<QMenu*>(QStringLiteral("PopupMenu1")) : nullptr;
    QCOMPARE(tray->contextMenu(), exported);
}

void TestTrayHost::callsReturnBeforeTheirDialogOpens_data()
{
    // How the host reaches the dialog: two Activate calls (a double click), or a menu item
    // chosen in the menu it draws; and the dialog that opens.
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("double click") << "Activate Activate"
                                  << "FormConfig";
    QTest::newRow("settings item") << "MenuConfig"
                                   << "FormConfig";
    QTest::newRow("about item") << "MenuAbout"
                                << "FormAbout";
    QTest::newRow("stretch item") << "MenuStretch"
                                  << "Form_Stretch";
}

void TestTrayHost::callsReturnBeforeTheirDialogOpens()
{
    QFETCH(QString, action);
    QFETCH(QString, dialog);
    m_platform.hostReadsMenus = true;
    auto form = makeForm();
    auto* tray = form->findChild<QSystemTrayIcon*>();
    QVERIFY(tray != nullptr);
    // Whatever opens before the calls return is seen here, then closed.
    QString openedDuringCall;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&openedDuringCall] {
        if (QDialog* open = openDialog()) {
            openedDuringCall = open->objectName();
            open->reject();
        }
    });
    probe.start(50);
    if (action.startsWith(QStringLiteral("Activate"))) {
        for (int i = 0; i < action.count(QStringLiteral("Activate")); ++i) {
            emit tray->activated(QSystemTrayIcon::Trigger);
        }
    } else {
        form->findChild<QAction*>(action)->trigger();
    }
    probe.stop();
    QCOMPARE(openedDuringCall, QString());
    QVERIFY(openDialog() == nullptr);

    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QDialog* open = openDialog()) {
            opened = open->objectName();
            open->reject();
        }
    });
    QTRY_COMPARE(opened, dialog);
    QTRY_VERIFY(form->findChild<QAction*>(QStringLiteral("MenuConfig"))->isEnabled());
    auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QVERIFY(!menu->isVisible()); // nothing opens by itself afterwards
}

// The point a host passes with its call is still there when the click is handled, one turn of
// the event loop later; and only for that click.
void TestTrayHost::hostClickPointOutlivesTheQueuedClick()
{
    m_platform.hostReadsMenus = true;
    auto form = makeForm();
    auto* tray = form->findChild<QSystemTrayIcon*>();
    auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QCursor::setPos(900, 20);

    qCDebug(hostLog) << 300 << 200;
    emit tray->activated(QSystemTrayIcon::Context);
    QVERIFY(!menu->isVisible());
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(300, 200));
    menu->hide();

    qCDebug(hostLog) << 50 << 60;
    QTest::qWait(10);
    emit tray->activated(QSystemTrayIcon::Context);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos().y(), QCursor::pos().y());
    menu->hide();
}

QTEST_MAIN(TestTrayHost)
#include "test_TrayHost.moc"
