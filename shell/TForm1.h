// The hidden main window: owns all state, the tray icon and its menu, drives the work timer.
#pragma once

#include "core/DialogPlace.h"
#include "core/Settings.h"
#include "core/TrayStatus.h"
#include "core/WorkTimer.h"
#include "shell/TrayClicks.h"
#include "windows/MainForm.h"

#include <array>
#include <memory>
#include <string>

class Chime;
class Platform;
class ShellToolkit;
class Timer;
class TForm1View;
class TForm2;

class TForm1 : public MainForm, public WorkTimerHost
{
public:
    // Runs the whole start-up: reminder window, demo check, settings, links, tray icon,
    // first-run start page, then the 1-second tick. Never shown.
    TForm1(Platform& platform, Chime& sound, ShellToolkit& toolkit);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Tray icon clicks: a click opens the menu, a double click the settings dialog.
    void HandleTrayMessage(TrayClicks::Click click);
    // Tells the user once that no tray shows the icon, when none has appeared by then.
    void checkTrayHost();

    void Timer_TickTimer();
    void MenuConfigClick();
    void MenuResetClick();
    void MenuSampleClick();
    void MenuDemoClick();
    // Ends the program: FormClose, then the event loop (a dialog's run included).
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

    // The tick's interval: once a second, or a hundred times faster in demo mode.
    int tickInterval() const;
    TForm1View& view() { return *m_view; }

    // The one reminder window; null once the main window has closed.
    std::unique_ptr<TForm2> AlarmForm;
    std::array<std::string, 5> LinkURL; // LinkURL1..LinkURL5, UTF-8

private:
    void loadLinks();
    void showNoTrayNotice();

    Platform& m_platform;
    Chime& m_sound;
    ShellToolkit& m_toolkit;
    std::unique_ptr<TForm1View> m_view;
    Settings m_settings;
    WorkTimer m_workTimer;
    TrayStatus m_trayStatus;
    std::unique_ptr<Timer> Timer_Tick;
    // A left click opens the menu only once it is clear that no second click follows: the
    // open menu would take the second click, and the double click would never arrive.
    std::unique_ptr<Timer> m_clickMenuDelay;
    ScreenPoint m_clickPos;
    TrayClicks m_trayClicks;
    // Trays started with the session may come up a little after the program.
    std::unique_ptr<Timer> m_trayWait;
    bool m_dialogItemsEnabled = true;
    bool m_demo = false;
    bool m_trayShown = false;
    bool m_closed = false;
};
