// The settings dialog's Win32 side.
#include "win32/Win32FormConfig.h"

#include "Layouts.h"
#include "windows/TFormConfig.h"

#include <array>

namespace {

namespace L = Layouts::FormConfig;

// RadioButton1..RadioButton5.
constexpr std::array<int, 5> Radios{L::RadioButton1, L::RadioButton2, L::RadioButton3,
                                    L::RadioButton4, L::RadioButton5};

} // namespace

Win32FormConfig::Win32FormConfig(TFormConfig& form)
    : m_dialog(L::window, L::controls, [&form](int id, int code) {
          if (code != BN_CLICKED)
              return;
          if (id == L::OKBtn)
              form.OKBtnClick();
          else if (id == L::CancelBtn)
              form.CancelBtnClick();
          else if (id == L::CheckBox_Reset)
              form.CheckBox_ResetClick();
      })
{
    m_dialog.shown = [&form] { form.FormShow(); };
}

ModalResult Win32FormConfig::runModal(bool escapeCancels)
{
    return m_dialog.runModal(escapeCancels);
}

void Win32FormConfig::endModal(ModalResult result)
{
    m_dialog.endModal(result);
}

// The position first: the up-down control writes it into its box, which then shows the text as
// given, even a stored value outside the range.
void Win32FormConfig::setSpin(int edit, int upDown, const std::string& text, const SpinRange& range,
                              int position)
{
    const HWND spin = m_dialog.item(upDown);
    SendMessageW(spin, UDM_SETRANGE32, range.minimum, range.maximum);
    UDACCEL step{0, static_cast<UINT>(range.increment)};
    SendMessageW(spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    SendMessageW(spin, UDM_SETPOS32, 0, position);
    m_dialog.setItemText(edit, text);
}

void Win32FormConfig::setTimer(const std::string& text, const SpinRange& range, int position)
{
    setSpin(L::EditTimer, L::UpDown_Timer, text, range, position);
}

void Win32FormConfig::setReset(const std::string& text, const SpinRange& range, int position)
{
    setSpin(L::Edit_Reset, L::UpDown_Reset, text, range, position);
}

std::string Win32FormConfig::timerText() const
{
    return m_dialog.itemText(L::EditTimer);
}

std::string Win32FormConfig::resetText() const
{
    return m_dialog.itemText(L::Edit_Reset);
}

void Win32FormConfig::setAutoReset(bool checked)
{
    CheckDlgButton(m_dialog.handle(), L::CheckBox_Reset, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32FormConfig::autoReset() const
{
    return IsDlgButtonChecked(m_dialog.handle(), L::CheckBox_Reset) == BST_CHECKED;
}

void Win32FormConfig::checkPosition(int radio)
{
    for (std::size_t i = 0; i < Radios.size(); ++i)
        CheckDlgButton(m_dialog.handle(), Radios[i],
                       static_cast<int>(i) == radio ? BST_CHECKED : BST_UNCHECKED);
}

int Win32FormConfig::checkedPosition() const
{
    for (std::size_t i = 0; i < Radios.size(); ++i)
        if (IsDlgButtonChecked(m_dialog.handle(), Radios[i]) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
}

void Win32FormConfig::enableResetControls(bool on)
{
    for (const int id : {L::Edit_Reset, L::UpDown_Reset, L::Label4})
        m_dialog.enableItem(id, on);
}
