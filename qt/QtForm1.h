// The hidden main window's Qt side, from Form1.ui: the tray icon, its menu and the notices.
#pragma once

#include "shell/TForm1View.h"

#include <QIcon>
#include <QSystemTrayIcon>

#include <array>
#include <memory>

class TForm1;
class QAction;
class QWidget;

namespace Ui {
class Form1;
}

class QtForm1 : public TForm1View
{
public:
    // Lays the menu out on `window`, the never shown owner of every window of the program.
    QtForm1(TForm1& form, QWidget& window);
    ~QtForm1() override;

    void showDemoItem() override;
    void checkDemoItem(bool checked) override;
    void enableMenuItem(MenuItem item, bool on) override;
    void setLinkItem(std::size_t index, const std::string& caption, bool separator,
                     bool visible) override;
    void showTrayIcon(int image, const std::string& tooltip) override;
    void giveMenuToTrayHost() override;
    void setTrayImage(int image) override;
    void setTrayTooltip(const std::string& tooltip) override;
    void removeTrayIcon() override;
    bool trayAvailable() const override;
    ScreenPoint clickPoint() override;
    void popupMenu(ScreenPoint at) override;
    int doubleClickMs() const override;
    void showNotice(const Notice& notice) override;
    void keepHidden() override;

private:
    const QIcon& trayIcon(int image);
    QAction* action(MenuItem item) const;
    std::array<QAction*, 5> linkItems() const;

    QWidget& m_window;
    std::unique_ptr<Ui::Form1> ui;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    std::array<QIcon, 17> m_trayIcons; // built on first use
};
