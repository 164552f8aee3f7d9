// The about dialog's Win32 side.
#include "win32/Win32FormAbout.h"

#include "Layouts.h"
#include "windows/TFormAbout.h"

namespace {

namespace L = Layouts::FormAbout;

} // namespace

Win32FormAbout::Win32FormAbout(TFormAbout& form)
    : m_dialog(L::window, L::controls, [&form](int id, int code) {
          if (id == L::EditPass && code == EN_CHANGE)
              form.EditPassChange();
          else if (id == L::OKButton && code == BN_CLICKED)
              form.OKButtonClick();
          else if (id == L::ButtonMonitor && code == BN_CLICKED)
              form.ButtonMonitorClick();
      })
{
}

ModalResult Win32FormAbout::runModal(bool escapeCancels)
{
    return m_dialog.runModal(escapeCancels);
}

void Win32FormAbout::endModal(ModalResult result)
{
    m_dialog.endModal(result);
}

void Win32FormAbout::setVersion(const std::string& text)
{
    m_dialog.setItemText(L::Version, text);
}

void Win32FormAbout::showSurveyPanel(bool shown)
{
    m_dialog.showItem(L::GroupBox_Monitor, shown);
}

void Win32FormAbout::resize(int width, int height)
{
    m_dialog.setClientSize(width, height);
}

void Win32FormAbout::moveOkButton(int top)
{
    RECT r{};
    GetWindowRect(m_dialog.item(L::OKButton), &r);
    MapWindowPoints(nullptr, m_dialog.handle(), reinterpret_cast<POINT*>(&r), 2);
    m_dialog.moveItem(L::OKButton, r.left, top);
}

std::string Win32FormAbout::passwordText() const
{
    return m_dialog.itemText(L::EditPass);
}

void Win32FormAbout::disableSurveyControls()
{
    m_dialog.enableItem(L::ButtonMonitor, false);
    m_dialog.enableItem(L::EditPass, false);
}
