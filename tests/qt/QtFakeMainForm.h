// A stand-in for the main window that records every call the windows make to it, with the real
// Qt toolkit and a stacking that only counts.
#pragma once

#include "core/Settings.h"
#include "qt/PopupStacking.h"
#include "qt/QtToolkit.h"
#include "windows/MainForm.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// Records the popup's claims on the top place; lost() plays the window system's notice.
class FakePopupStacking : public PopupStacking
{
public:
    Qt::WindowFlags windowFlags() const override
    {
        return Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
               Qt::WindowDoesNotAcceptFocus;
    }
    void watch(QWidget&, std::function<void()> onLost) override { lost = std::move(onLost); }
    void raiseAbove(QWidget&) override { ++raises; }

    std::function<void()> lost;
    int raises = 0;
};

class FakeMainForm : public MainForm
{
public:
    FakeMainForm();
    ~FakeMainForm() override;

    Toolkit& toolkit() override { return *kit; }
    Settings& settings() override { return current; }
    std::int32_t ElapsedMinutes() const override { return elapsed; }
    bool IsSurveyDue() override;
    void EnableMenus(bool on) override;
    void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) override;
    bool SaveSettings() override;
    void MenuAboutClick() override;
    void MenuStretchClick() override;
    void openDocument(const std::string& text) override;
    void playSound() override;
    void stopSound() override;

    // Every call in order, e.g. "EnableMenus(false)", "UpdateTrayIcon(40,45)".
    QStringList calls;
    // The settings as they were at each SaveSettings().
    std::vector<Settings> saved;
    std::vector<std::string> opened;

    FakePopupStacking stacking;
    Settings current;
    std::int32_t elapsed = 0;
    bool surveyDue = false;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<QtToolkit> kit;
    // What the menu items do; empty means only recorded.
    std::function<void(bool)> onEnableMenus;
    std::function<void()> onMenuAbout;
    std::function<void()> onMenuStretch;
};
