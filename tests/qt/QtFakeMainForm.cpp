// A stand-in for the main window that records every call the windows make to it.
#include "tests/qt/QtFakeMainForm.h"

FakeMainForm::FakeMainForm()
    : owner(std::make_unique<QWidget>()), kit(std::make_unique<QtToolkit>(owner.get(), stacking))
{
    current.TimerMinutes = 60;
    current.ResetMinutes = 10;
    current.AutoReset = true;
    current.AlarmPosition = 3;
    current.UserID = "12345-678";
}

FakeMainForm::~FakeMainForm() = default;

bool FakeMainForm::IsSurveyDue()
{
    calls << QStringLiteral("IsSurveyDue");
    return surveyDue;
}

void FakeMainForm::EnableMenus(bool on)
{
    calls << (on ? QStringLiteral("EnableMenus(true)") : QStringLiteral("EnableMenus(false)"));
    if (onEnableMenus)
        onEnableMenus(on);
}

void FakeMainForm::UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes)
{
    calls << QStringLiteral("UpdateTrayIcon(%1,%2)").arg(elapsedMinutes).arg(timerMinutes);
}

bool FakeMainForm::SaveSettings()
{
    calls << QStringLiteral("SaveSettings");
    saved.push_back(current);
    return true;
}

void FakeMainForm::MenuAboutClick()
{
    calls << QStringLiteral("MenuAboutClick");
    if (onMenuAbout)
        onMenuAbout();
}

void FakeMainForm::MenuStretchClick()
{
    calls << QStringLiteral("MenuStretchClick");
    if (onMenuStretch)
        onMenuStretch();
}

void FakeMainForm::openDocument(const std::string& text)
{
    calls << QStringLiteral("openDocument");
    opened.push_back(text);
}

void FakeMainForm::playSound()
{
    calls << QStringLiteral("playSound");
}

void FakeMainForm::stopSound()
{
    calls << QStringLiteral("stopSound");
}
