// The stretch guide: a picture of stretches to do while seated, with one line of advice.
#include "windows/TForm_Stretch.h"

#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "windows/TForm_StretchView.h"
#include "windows/Toolkit.h"

namespace {

// True while the guide runs: the reminder's link label must not open a second one.
bool StretchDialogOpen = false;

} // namespace

TForm_Stretch::TForm_Stretch(MainForm& main) : m_view(main.toolkit().createView(*this)) {}

TForm_Stretch::~TForm_Stretch() = default;

void TForm_Stretch::run(MainForm& main)
{
    if (StretchDialogOpen)
        return;
    TForm_Stretch form(main);
    ModalRun::run(main, &StretchDialogOpen, *form.m_view, false);
}

void TForm_Stretch::Button1Click()
{
    m_view->endModal(ModalResult::Ok);
}
