// The hidden main window: owns all state, the tray icon and its menu, drives the work timer.
#pragma once

#include "core/Settings.h"
#include "core/TrayStatus.h"
#include "core/WorkTimer.h"
#include "shell/TrayClicks.h"
#include "windows/MainForm.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

class BeepSound;
class Platform;
class PopupStacking;
class Toolkit;
class QTimer;
class TForm2;

namespace Ui {
class Form1;
}

class TForm1 : public QWidget, public MainForm, public WorkTimerHost
{
    Q_OBJECT

public:
    // Runs the whole start-up: reminder window, demo check, settings, links, tray icon,
    // first-run start page, then the 1-second tick. Never shown.
    TForm1(Platform& platform, BeepSound& sound);
    ~TForm1() override;

    // Tray icon clicks: a click opens the menu, a double click the settings dialog.
    void HandleTrayMessage(QSystemTrayIcon::ActivationReason reason);
    // Tells the user once that no tray shows the icon, when none has appeared by then.
    void checkTrayHost();

    void Timer_TickTimer();
    void MenuConfigClick();
    void MenuResetClick();
    void MenuSampleClick();
    void MenuDemoClick();
    void MenuExitClick();
    void Menu_InfoClick(std::size_t index);
    // Stops the tick, destroys the reminder, saves the settings, removes the tray icon.
    void FormClose();

    // MainForm
    Toolkit& toolkit() override;
    Settings& settings() override;
    std::int32_t ElapsedMinutes() const override;
    bool IsSurveyDue() override;
    void EnableMenus(bool on) override;
    void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) override;
    bool SaveSettings() override;
    void MenuAboutClick() override;
    void MenuStretchClick() override;
    void openDocument(const std::string& text) override;
    void playSound() override;
    void stopSound() override;

    // WorkTimerHost
    DateTime now() override;
    bool enterPressedSinceLastQuery() override;
    bool spacePressedSinceLastQuery() override;
    std::optional<CursorPos> cursorPos() override;
    void guardApplicationWindow() override;
    void ShowAlarm() override;

    // The one reminder window; null once the main window has closed.
    TForm2* AlarmForm = nullptr;
    std::array<std::string, 5> LinkURL; // LinkURL1..LinkURL5, UTF-8

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void loadLinks();
    QPoint clickPoint() const;
    void showNoTrayNotice();
    const QIcon& trayIcon(int image);

    std::unique_ptr<Ui::Form1> ui;
    Platform& m_platform;
    std::unique_ptr<PopupStacking> m_popupStacking;
    std::unique_ptr<Toolkit> m_toolkit;
    BeepSound& m_sound;
    Settings m_settings;
    WorkTimer m_workTimer;
    TrayStatus m_trayStatus;
    QTimer* Timer_Tick;
    // A left click opens the menu only once it is clear that no second click follows: the
    // open menu would take the second click, and the double click would never arrive.
    QTimer* m_clickMenuDelay;
    QPoint m_clickPos;
    TrayClicks m_trayClicks;
    QElapsedTimer m_clickClock;
    QTimer* m_trayWait;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    std::array<QIcon, 17> m_trayIcons; // built on first use
    bool m_closed = false;
};
