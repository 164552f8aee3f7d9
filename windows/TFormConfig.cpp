// The settings dialog: work interval, auto reset and its idle minutes, reminder position.
#include "windows/TFormConfig.h"

#include "core/AlarmPosition.h"
#include "core/Settings.h"
#include "core/TextToInt.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "windows/TFormConfigView.h"
#include "windows/Toolkit.h"

#include <array>
#include <string>

namespace {

// The position of RadioButton1..RadioButton5.
constexpr std::array<AlarmPosition, 5> RadioPositions{
    AlarmPosition::TopLeft, AlarmPosition::BottomLeft, AlarmPosition::TopRight,
    AlarmPosition::BottomRight, AlarmPosition::Centre};

int radioOf(AlarmPosition position)
{
    for (std::size_t i = 0; i < RadioPositions.size(); ++i)
        if (RadioPositions[i] == position)
            return static_cast<int>(i);
    return static_cast<int>(RadioPositions.size()) - 1;
}

} // namespace

TFormConfig::TFormConfig(MainForm& main) : m_main(main), m_view(main.toolkit().createView(*this)) {}

TFormConfig::~TFormConfig() = default;

void TFormConfig::run(MainForm& main)
{
    TFormConfig form(main);
    form.fill();
    if (ModalRun::run(main, nullptr, *form.m_view, true) == ModalResult::Ok)
        form.takeOver();
}

void TFormConfig::FormShow()
{
    CheckBox_ResetClick();
}

void TFormConfig::CheckBox_ResetClick()
{
    m_view->enableResetControls(m_view->autoReset());
}

void TFormConfig::OKBtnClick()
{
    m_view->endModal(ModalResult::Ok);
}

void TFormConfig::CancelBtnClick()
{
    m_view->endModal(ModalResult::Cancel);
}

// A hand-edited file can hold values outside the ranges: the boxes show them as stored, the
// spinners start from the nearest end of their range.
void TFormConfig::fill()
{
    const Settings& current = m_main.settings();
    m_view->setTimer(std::to_string(current.TimerMinutes), TimerMinutesRange,
                     TimerMinutesRange.clamp(current.TimerMinutes));
    m_view->setAutoReset(current.AutoReset);
    m_view->setReset(std::to_string(current.ResetMinutes), ResetMinutesRange,
                     ResetMinutesRange.clamp(current.ResetMinutes));
    m_view->checkPosition(radioOf(alarmPositionFrom(current.AlarmPosition)));
}

void TFormConfig::takeOver()
{
    Settings& settings = m_main.settings();
    settings.TimerMinutes =
        TimerMinutesRange.clamp(textToInt(m_view->timerText(), DefaultTimerMinutes));
    settings.ResetMinutes =
        ResetMinutesRange.clamp(textToInt(m_view->resetText(), DefaultResetMinutes));
    settings.AutoReset = m_view->autoReset();
    const int radio = m_view->checkedPosition();
    settings.AlarmPosition =
        static_cast<std::int32_t>(radio >= 0 && radio < static_cast<int>(RadioPositions.size())
                                      ? RadioPositions[static_cast<std::size_t>(radio)]
                                      : AlarmPosition::Centre);
    m_main.UpdateTrayIcon(m_main.ElapsedMinutes(), settings.TimerMinutes);
    m_main.SaveSettings();
}
