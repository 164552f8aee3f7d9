// The hidden main window: start-up, tray icon and menu, tick, shutdown.
#include "shell/TForm1.h"
#include "ui_Form1.h"

#include "shell/BeepSound.h"
#include "shell/LinksFile.h"
#include "shell/MenuCheckStyle.h"
#include "shell/TrayClickPoint.h"
#include "shell/XWaylandMenuCover.h"
#include "core/Survey.h"
#include "shell/platform/CreatePopupStacking.h"
#include "shell/platform/Platform.h"
#include "windows/TForm2.h"
#include "windows/TFormAbout.h"
#include "windows/TFormConfig.h"
#include "windows/TForm_Stretch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace {

// Said once at start-up, without holding it up: the timer runs while the box is open.
void showNoActivityNotice(QWidget* parent)
{
    auto* box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("ルペタ"),
        QStringLiteral("このデスクトップではキーボードやマウスの操作を検出できないため、"
                       "操作がないときの自動リセットは行いません。"),
        QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("NoActivityNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

} // namespace

TForm1::TForm1(Platform& platform, BeepSound& sound)
    : ui(std::make_unique<Ui::Form1>()), m_platform(platform),
      m_popupStacking(createPopupStacking()), m_sound(sound), m_workTimer(m_settings, *this),
      Timer_Tick(new QTimer(this)), m_clickMenuDelay(new QTimer(this)),
      m_trayClicks(QApplication::doubleClickInterval()), m_trayWait(new QTimer(this))
{
    ui->setupUi(this);
    Timer_Tick->setObjectName(QStringLiteral("Timer_Tick"));
    Timer_Tick->setTimerType(Qt::PreciseTimer); // the coarse default drifts by up to 5 %
    Timer_Tick->setInterval(1000);
    connect(Timer_Tick, &QTimer::timeout, this, &TForm1::Timer_TickTimer);
    m_clickMenuDelay->setSingleShot(true);
    m_clickMenuDelay->setTimerType(Qt::PreciseTimer);
    m_clickMenuDelay->setInterval(QApplication::doubleClickInterval());
    connect(m_clickMenuDelay, &QTimer::timeout, this,
            [this] { ui->PopupMenu1->popup(m_clickPos); });
    m_clickClock.start();
    TrayClickPoint::install();
    // Trays started with the session may come up a little after the program.
    m_trayWait->setObjectName(QStringLiteral("trayWait"));
    m_trayWait->setSingleShot(true);
    m_trayWait->setInterval(10000);
    connect(m_trayWait, &QTimer::timeout, this, &TForm1::checkTrayHost);

    // The demo item's mark, without the empty check box the default style draws while it is off.
    auto* menuStyle = new MenuCheckStyle;
    menuStyle->setParent(ui->PopupMenu1);
    ui->PopupMenu1->setStyle(menuStyle);
    XWaylandMenuCover::attach(*ui->PopupMenu1, *this);

    // The items that run a dialog modally wait for the event loop: chosen in a menu the tray
    // host draws, they arrive in a D-Bus call, whose caller must get its reply at once.
    connect(ui->MenuConfig, &QAction::triggered, this, &TForm1::MenuConfigClick,
            Qt::QueuedConnection);
    connect(ui->MenuReset, &QAction::triggered, this, &TForm1::MenuResetClick);
    connect(ui->MenuSample, &QAction::triggered, this, &TForm1::MenuSampleClick);
    connect(ui->MenuStretch, &QAction::triggered, this, &TForm1::MenuStretchClick,
            Qt::QueuedConnection);
    connect(ui->MenuDemo, &QAction::triggered, this, &TForm1::MenuDemoClick);
    connect(ui->MenuAbout, &QAction::triggered, this, &TForm1::MenuAboutClick,
            Qt::QueuedConnection);
    connect(ui->MenuExit, &QAction::triggered, this, &TForm1::MenuExitClick);
    const std::array<QAction*, 5> links{ui->Menu_Info1, ui->Menu_Info2, ui->Menu_Info3,
                                        ui->Menu_Info4, ui->Menu_Info5};
    for (std::size_t i = 0; i < links.size(); ++i) {
        connect(links[i], &QAction::triggered, this, [this, i] { Menu_InfoClick(i); });
    }

    AlarmForm = new TForm2(*this, this);

    if (m_platform.ctrlAndShiftDown()) {
        ui->MenuDemo->setVisible(true);
    }

    const bool firstRun = SettingsFile::load(m_settings, m_platform.now());
    SaveSettings();

    loadLinks();

    m_tray = std::make_unique<QSystemTrayIcon>(trayIcon(1), this);
    m_shownImage = 1;
    m_tray->setToolTip(QStringLiteral("ルペタ"));
    if (m_platform.trayHostReadsMenus()) {
        m_tray->setContextMenu(ui->PopupMenu1);
    }
    // Queued: a StatusNotifierItem host waits in its D-Bus call for the reply, and a double
    // click runs the settings dialog modally.
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, &TForm1::HandleTrayMessage,
            Qt::QueuedConnection);
    m_tray->show();
    UpdateTrayIcon(0, m_settings.TimerMinutes);
    m_trayWait->start();
    if (!m_platform.seesActivity()) {
        showNoActivityNotice(this);
    }

    if (isStartPageDue(firstRun, dateOnly(m_platform.now()))) {
        openDocument(startPageUrl(m_settings.UserID));
    }

    Timer_Tick->start();
}

TForm1::~TForm1() = default;

void TForm1::loadLinks()
{
    const Links links = LinksFile::load();
    const std::array<QAction*, 5> items{ui->Menu_Info1, ui->Menu_Info2, ui->Menu_Info3,
                                        ui->Menu_Info4, ui->Menu_Info5};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& name = links.names[i];
        // Menus take "&" as the access-key mark already. "-" is the separator line; a
        // separator that kept its text would be drawn as a section heading.
        const bool separator = name == "-";
        items[i]->setText(separator ? QString() : QString::fromStdString(name));
        items[i]->setSeparator(separator);
        items[i]->setVisible(!name.empty());
        LinkURL[i] = links.urls[i];
    }
}

const QIcon& TForm1::trayIcon(int image)
{
    QIcon& icon = m_trayIcons.at(static_cast<std::size_t>(image - 1));
    if (icon.isNull()) {
        const QPixmap small(QStringLiteral(":/icons/tray/16/image%1.png").arg(image));
        icon.addPixmap(small);
        // Tray slots are often a little larger than 16 (18 under fluxbox, 22 or 24 in
        // panels): the 16-pixel picture centred stays sharp where a scaled one would blur.
        for (int slot = 18; slot < 32; slot += 2) {
            QPixmap padded(slot, slot);
            padded.fill(Qt::transparent);
            QPainter(&padded).drawPixmap((slot - 16) / 2, (slot - 16) / 2, small);
            icon.addPixmap(padded);
        }
        for (const int size : {32, 48}) {
            icon.addFile(QStringLiteral(":/icons/tray/%1/image%2.png").arg(size).arg(image));
        }
    }
    return icon;
}

void TForm1::HandleTrayMessage(QSystemTrayIcon::ActivationReason reason)
{
    switch (m_trayClicks.activated(reason, m_clickClock.elapsed())) {
    case TrayClicks::Action::Settings:
        m_clickMenuDelay->stop();
        // The settings dialog must not open twice: it disables MenuConfig while it runs.
        if (ui->MenuConfig->isEnabled()) {
            MenuConfigClick();
        }
        break;
    case TrayClicks::Action::MenuAfterDelay:
        m_clickPos = clickPoint();
        m_clickMenuDelay->start();
        break;
    case TrayClicks::Action::MenuNow:
        m_clickMenuDelay->stop();
        ui->PopupMenu1->popup(clickPoint());
        break;
    case TrayClicks::Action::None:
        break;
    }
}

// The place the tray host reports, else the cursor (right for XEmbed trays, which are X windows).
QPoint TForm1::clickPoint() const
{
    return TrayClickPoint::take().value_or(QCursor::pos());
}

void TForm1::checkTrayHost()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showNoTrayNotice();
    }
}

void TForm1::showNoTrayNotice()
{
    const QString summary = QStringLiteral("ルペタのアイコンを表示する場所がありません");
    const QString body = QStringLiteral(
        "このデスクトップには通知領域（システムトレイ）が見つかりません。ルペタは動き続け、"
        "休憩のお知らせも表示しますが、アイコンとメニューは通知領域ができるまで表示されません。"
        "GNOME では拡張機能 AppIndicator（パッケージ gnome-shell-extension-appindicator）を"
        "有効にしてください。通知領域ができればアイコンは自動的に現れます。"
        "詳しくは README の「No icon in the tray?」をご覧ください。");
    if (m_platform.showNotification(summary.toStdString(), body.toStdString())) {
        return;
    }
    // No notification service either: a small window that leaves the focus and the program
    // alone. Its title says what it is about, apart from the program's other notices.
    auto* box =
        new QMessageBox(QMessageBox::Information, summary, body, QMessageBox::Ok, this, Qt::Dialog);
    box->setObjectName(QStringLiteral("noTrayNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setModal(false);
    box->show();
}

void TForm1::Timer_TickTimer()
{
    m_workTimer.tick();
}

void TForm1::MenuConfigClick()
{
    TFormConfig::run(*this);
}

void TForm1::MenuResetClick()
{
    m_workTimer.reset();
}

void TForm1::MenuSampleClick()
{
    ShowAlarm();
}

void TForm1::MenuDemoClick()
{
    // The checkable item has already toggled its mark when this runs.
    Timer_Tick->setInterval(ui->MenuDemo->isChecked() ? 10 : 1000);
}

void TForm1::MenuExitClick()
{
    close();
}

void TForm1::Menu_InfoClick(std::size_t index)
{
    if (!LinkURL.at(index).empty()) {
        openDocument(LinkURL[index]);
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
    // Also ends a dialog's nested loop; the dialog's caller then finds AlarmForm gone.
    QCoreApplication::exit(0);
}

void TForm1::FormClose()
{
    if (m_closed) {
        return;
    }
    m_closed = true;
    Timer_Tick->stop();
    m_clickMenuDelay->stop();
    m_trayWait->stop();
    delete AlarmForm;
    AlarmForm = nullptr;
    SaveSettings();
    if (m_tray) {
        m_tray->hide();
        m_tray.reset();
    }
}

QWidget* TForm1::ownerWidget()
{
    return this;
}

Settings& TForm1::settings()
{
    return m_settings;
}

std::int32_t TForm1::ElapsedMinutes() const
{
    return m_workTimer.ElapsedMinutes();
}

bool TForm1::IsSurveyDue()
{
    return isSurveyDue(dateOnly(m_platform.now()), m_settings.FirstActivated,
                       m_settings.SurveyPassword);
}

void TForm1::EnableMenus(bool on)
{
    ui->MenuStretch->setEnabled(on);
    ui->MenuConfig->setEnabled(on);
    ui->MenuAbout->setEnabled(on);
    ui->MenuSample->setEnabled(on);
    if (AlarmForm != nullptr) {
        AlarmForm->KeepOnTop = on;
    }
}

void TForm1::UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes)
{
    const auto state =
        m_trayStatus.update(elapsedMinutes, timerMinutes, m_workTimer.IdleResetShown());
    if (!state || !m_tray) {
        return;
    }
    // Most minutes change only the tooltip; re-sending the same picture costs a repaint.
    if (state->image != m_shownImage) {
        m_tray->setIcon(trayIcon(state->image));
        m_shownImage = state->image;
    }
    m_tray->setToolTip(QString::fromStdString(state->tooltip));
}

bool TForm1::SaveSettings()
{
    return SettingsFile::save(m_settings);
}

void TForm1::MenuAboutClick()
{
    TFormAbout::run(*this);
}

void TForm1::MenuStretchClick()
{
    TForm_Stretch::run(*this);
}

void TForm1::openDocument(const std::string& text)
{
    m_platform.openDocument(text);
}

void TForm1::playSound()
{
    m_sound.play();
}

void TForm1::stopSound()
{
    m_sound.stop();
}

PopupStacking& TForm1::popupStacking()
{
    return *m_popupStacking;
}

DateTime TForm1::now()
{
    return m_platform.now();
}

bool TForm1::enterPressedSinceLastQuery()
{
    return m_platform.enterPressedSinceLastQuery();
}

bool TForm1::spacePressedSinceLastQuery()
{
    return m_platform.spacePressedSinceLastQuery();
}

std::optional<CursorPos> TForm1::cursorPos()
{
    return m_platform.cursorPos();
}

void TForm1::guardApplicationWindow()
{
    // Qt has no separate taskbar window; what must never appear is this window itself.
    if (isVisible()) {
        hide();
    }
}

void TForm1::ShowAlarm()
{
    if (AlarmForm != nullptr) {
        AlarmForm->ShowAlarm();
    }
}
