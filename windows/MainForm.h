// The main window's operations that the reminder and the dialogs call; TForm1 provides them.
#pragma once

#include <cstdint>
#include <string>

class Toolkit;
struct Settings;

class MainForm
{
public:
    virtual ~MainForm() = default;

    // The front-end that the reminder and the dialogs are shown with.
    virtual Toolkit& toolkit() = 0;
    // TimerMinutes, ResetMinutes, AutoReset, AlarmPosition, UserID, FirstActivated,
    // SurveyPassword.
    virtual Settings& settings() = 0;
    virtual std::int32_t ElapsedMinutes() const = 0;

    virtual bool IsSurveyDue() = 0;
    virtual void EnableMenus(bool on) = 0;
    virtual void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) = 0;
    virtual bool SaveSettings() = 0;
    virtual void MenuAboutClick() = 0;
    virtual void MenuStretchClick() = 0;

    // Hands the text unchanged to the desktop's opener (a web address or a document).
    virtual void openDocument(const std::string& text) = 0;
    // MediaPlayer1: play rewinds only when the last playback reached its end; stop keeps
    // the position.
    virtual void playSound() = 0;
    virtual void stopSound() = 0;
};
