// The stretch guide's Win32 side.
#include "win32/Win32Form_Stretch.h"

#include "Layouts.h"
#include "windows/TForm_Stretch.h"

namespace {

namespace L = Layouts::Form_Stretch;

} // namespace

Win32Form_Stretch::Win32Form_Stretch(TForm_Stretch& form)
    : m_dialog(L::window, L::controls, [&form](int id, int code) {
          if (id == L::Button1 && code == BN_CLICKED)
              form.Button1Click();
      })
{
}

ModalResult Win32Form_Stretch::runModal(bool escapeCancels)
{
    return m_dialog.runModal(escapeCancels);
}

void Win32Form_Stretch::endModal(ModalResult result)
{
    m_dialog.endModal(result);
}
