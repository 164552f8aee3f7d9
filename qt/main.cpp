// Process entry: application set-up, the sound, then the hidden main window.
#include "core/Texts.h"
#include "qt/BeepSound.h"
#include "qt/QtTranslations.h"
#include "qt/SingleInstance.h"
#include "qt/QtToolkit.h"
#include "qt/platform/CreatePopupStacking.h"
#include "shell/TForm1.h"
#include "shell/platform/Platform.h"
#include "qt/platform/TerminationSignal.h"
#include "qt/UiFont.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    prepareSession();
    QApplication app(argc, argv);
    // ASCII: it is the class part of WM_CLASS, a Latin-1 property that shells show and match
    // with the desktop entry's StartupWMClass. The windows' titles carry the Japanese name.
    QApplication::setApplicationName(QStringLiteral("rupeta"));
    installQtTranslations();
    // Decided before the settings are loaded, so that a second copy writes nothing.
    SingleInstance instance;
    if (!instance.claim()) {
        return 0;
    }
    // Resident in the tray: closing a dialog must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    installUiFontSubstitution();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/icons/rupeta-%1.png").arg(size));
    }
    QApplication::setWindowIcon(icon);

    QString error;
    const auto sound = BeepSound::open(QCoreApplication::applicationDirPath().toStdString(), error);
    if (!sound) {
        QMessageBox::critical(nullptr, QString::fromUtf8(Texts::AppName), error);
        return 1;
    }

    const auto platform = createPlatform();
    // Caught from before the main window's first save: a signal then waits for the event loop
    // and closes the program cleanly instead of cutting the save short.
    TerminationSignal termination;
    // The main window is never shown; it owns the program's other windows.
    QWidget window;
    const auto stacking = createPopupStacking();
    QtToolkit toolkit(&window, *stacking);
    TForm1 form(*platform, *sound, toolkit);
    // A second start here acts as a double click on the tray icon; queued, since the
    // settings dialog runs modally.
    QObject::connect(
        &instance, &SingleInstance::activationRequested, &window,
        [&form] { form.HandleTrayMessage(TrayClicks::Click::DoubleClick); }, Qt::QueuedConnection);
    QObject::connect(&termination, &TerminationSignal::received, &window,
                     [&form] { form.MenuExitClick(); });
    return QApplication::exec();
}
