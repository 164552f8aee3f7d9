// The hidden main window's Qt side, from Form1.ui.
#include "qt/QtForm1.h"
#include "ui_Form1.h"

#include "qt/MenuCheckStyle.h"
#include "qt/TrayClickPoint.h"
#include "qt/XWaylandMenuCover.h"
#include "shell/TForm1.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

QtForm1::QtForm1(TForm1& form, QWidget& window)
    : m_window(window), ui(std::make_unique<Ui::Form1>())
{
    ui->setupUi(&m_window);
    TrayClickPoint::install();

    // The demo item's mark, without the empty check box the default style draws while it is off.
    auto* menuStyle = new MenuCheckStyle;
    menuStyle->setParent(ui->PopupMenu1);
    ui->PopupMenu1->setStyle(menuStyle);
    XWaylandMenuCover::attach(*ui->PopupMenu1, m_window);

    // The items that run a dialog modally wait for the event loop: chosen in a menu the tray
    // host draws, they arrive in a D-Bus call, whose caller must get its reply at once.
    QObject::connect(
        ui->MenuConfig, &QAction::triggered, &m_window, [&form] { form.MenuConfigClick(); },
        Qt::QueuedConnection);
    QObject::connect(ui->MenuReset, &QAction::triggered, &m_window,
                     [&form] { form.MenuResetClick(); });
    QObject::connect(ui->MenuSample, &QAction::triggered, &m_window,
                     [&form] { form.MenuSampleClick(); });
    QObject::connect(
        ui->MenuStretch, &QAction::triggered, &m_window, [&form] { form.MenuStretchClick(); },
        Qt::QueuedConnection);
    QObject::connect(ui->MenuDemo, &QAction::triggered, &m_window,
                     [&form] { form.MenuDemoClick(); });
    QObject::connect(
        ui->MenuAbout, &QAction::triggered, &m_window, [&form] { form.MenuAboutClick(); },
        Qt::QueuedConnection);
    QObject::connect(ui->MenuExit, &QAction::triggered, &m_window,
                     [&form] { form.MenuExitClick(); });
    const auto links = linkItems();
    for (std::size_t i = 0; i < links.size(); ++i) {
        QObject::connect(links[i], &QAction::triggered, &m_window,
                         [&form, i] { form.Menu_InfoClick(i); });
    }

    m_tray = std::make_unique<QSystemTrayIcon>(&m_window);
    // Queued: a StatusNotifierItem host waits in its D-Bus call for the reply, and a double
    // click runs the settings dialog modally.
    QObject::connect(
        m_tray.get(), &QSystemTrayIcon::activated, &m_window,
        [&form](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger:
                form.HandleTrayMessage(TrayClicks::Click::Trigger);
                break;
            case QSystemTrayIcon::DoubleClick:
                form.HandleTrayMessage(TrayClicks::Click::DoubleClick);
                break;
            case QSystemTrayIcon::Context:
                form.HandleTrayMessage(TrayClicks::Click::Context);
                break;
            default:
                form.HandleTrayMessage(TrayClicks::Click::Other);
                break;
            }
        },
        Qt::QueuedConnection);
}

QtForm1::~QtForm1() = default;

std::array<QAction*, 5> QtForm1::linkItems() const
{
    return {ui->Menu_Info1, ui->Menu_Info2, ui->Menu_Info3, ui->Menu_Info4, ui->Menu_Info5};
}

QAction* QtForm1::action(MenuItem item) const
{
    switch (item) {
    case MenuItem::MenuConfig:
        return ui->MenuConfig;
    case MenuItem::MenuSample:
        return ui->MenuSample;
    case MenuItem::MenuStretch:
        return ui->MenuStretch;
    case MenuItem::MenuAbout:
        break;
    }
    return ui->MenuAbout;
}

void QtForm1::showDemoItem()
{
    ui->MenuDemo->setVisible(true);
}

void QtForm1::checkDemoItem(bool checked)
{
    ui->MenuDemo->setChecked(checked);
}

void QtForm1::enableMenuItem(MenuItem item, bool on)
{
    action(item)->setEnabled(on);
}

void QtForm1::setLinkItem(std::size_t index, const std::string& caption, bool separator,
                          bool visible)
{
    QAction* item = linkItems().at(index);
    // Menus take "&" as the access-key mark already.
    item->setText(QString::fromStdString(caption));
    item->setSeparator(separator);
    item->setVisible(visible);
}

const QIcon& QtForm1::trayIcon(int image)
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

void QtForm1::showTrayIcon(int image, const std::string& tooltip)
{
    m_tray->setIcon(trayIcon(image));
    m_tray->setToolTip(QString::fromStdString(tooltip));
    m_tray->show();
}

void QtForm1::giveMenuToTrayHost()
{
    m_tray->setContextMenu(ui->PopupMenu1);
}

void QtForm1::setTrayImage(int image)
{
    m_tray->setIcon(trayIcon(image));
}

void QtForm1::setTrayTooltip(const std::string& tooltip)
{
    m_tray->setToolTip(QString::fromStdString(tooltip));
}

void QtForm1::removeTrayIcon()
{
    m_tray->hide();
    m_tray.reset();
}

bool QtForm1::trayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

// The place the tray host reports, else the cursor (right for XEmbed trays, which are X windows).
ScreenPoint QtForm1::clickPoint()
{
    const QPoint at = TrayClickPoint::take().value_or(QCursor::pos());
    return {at.x(), at.y()};
}

void QtForm1::popupMenu(ScreenPoint at)
{
    ui->PopupMenu1->popup(QPoint(at.x, at.y));
}

int QtForm1::doubleClickMs() const
{
    return QApplication::doubleClickInterval();
}

void QtForm1::showNotice(const Notice& notice)
{
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(notice.title),
                                QString::fromStdString(notice.text), QMessageBox::Ok, &m_window,
                                Qt::Dialog);
    box->setObjectName(QString::fromStdString(notice.name));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating, !notice.activates);
    box->setModal(false);
    box->show();
}

void QtForm1::keepHidden()
{
    // Qt has no separate taskbar window; what must never appear is this window itself.
    if (m_window.isVisible()) {
        m_window.hide();
    }
}
