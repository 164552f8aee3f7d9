// A stand-in for the main window that records every call the windows make to it.
#pragma once

#include "core/Settings.h"
#include "tests/windows/FakeToolkit.h"
#include "windows/MainForm.h"

#include <functional>
#include <string>
#include <vector>

class FakeMainForm : public MainForm
{
public:
    FakeMainForm()
    {
        current.TimerMinutes = 60;
        current.ResetMinutes = 10;
        current.AutoReset = true;
        current.AlarmPosition = 3;
        current.UserID = "12345-678";
    }

    Toolkit& toolkit() override { return kit; }
    Settings& settings() override { return current; }
    std::int32_t ElapsedMinutes() const override { return elapsed; }
    bool IsSurveyDue() override
    {
        calls.push_back("IsSurveyDue");
        return surveyDue;
    }
    void EnableMenus(bool on) override
    {
        calls.push_back(on ? "EnableMenus(true)" : "EnableMenus(false)");
        if (onEnableMenus)
            onEnableMenus(on);
    }
    void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) override
    {
        calls.push_back("UpdateTrayIcon(" + std::to_string(elapsedMinutes) + "," +
                        std::to_string(timerMinutes) + ")");
    }
    bool SaveSettings() override
    {
        calls.push_back("SaveSettings");
        saved.push_back(current);
        return true;
    }
    void MenuAboutClick() override
    {
        calls.push_back("MenuAboutClick");
        if (onMenuAbout)
            onMenuAbout();
    }
    void MenuStretchClick() override
    {
        calls.push_back("MenuStretchClick");
        if (onMenuStretch)
            onMenuStretch();
    }
    void openDocument(const std::string& text) override
    {
        calls.push_back("openDocument");
        opened.push_back(text);
    }
    void playSound() override { calls.push_back("playSound"); }
    void stopSound() override { calls.push_back("stopSound"); }

    FakeToolkit kit;
    // Every call in order, e.g. "EnableMenus(false)", "UpdateTrayIcon(40,45)".
    std::vector<std::string> calls;
    // The settings as they were at each SaveSettings().
    std::vector<Settings> saved;
    std::vector<std::string> opened;
    Settings current;
    std::int32_t elapsed = 0;
    bool surveyDue = false;
    // What the menu items do; empty means only recorded.
    std::function<void(bool)> onEnableMenus;
    std::function<void()> onMenuAbout;
    std::function<void()> onMenuStretch;
};

using Calls = std::vector<std::string>;
