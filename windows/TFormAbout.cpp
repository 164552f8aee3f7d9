// The about dialog, grown by the survey panel while the survey campaign is due.
#include "windows/TFormAbout.h"

#include "core/Cp932.h"
#include "core/Settings.h"
#include "core/Survey.h"
#include "core/Texts.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "windows/TFormAboutView.h"
#include "windows/Toolkit.h"

namespace {

// True while the dialog runs: a reminder click must not open a second one.
bool AboutDialogOpen = false;

} // namespace

TFormAbout::TFormAbout(MainForm& main) : m_main(main), m_view(main.toolkit().createView(*this))
{
    m_view->setVersion(Texts::versionLine());
}

TFormAbout::~TFormAbout() = default;

void TFormAbout::run(MainForm& main)
{
    if (AboutDialogOpen)
        return;
    TFormAbout form(main);
    // Decided once per opening; the panel stays as it is while the dialog is open.
    const bool due = main.IsSurveyDue();
    form.m_view->showSurveyPanel(due);
    form.m_view->resize(ClientWidth, due ? SurveyHeight : CompactHeight);
    form.m_view->moveOkButton(due ? SurveyButtonTop : CompactButtonTop);
    ModalRun::run(main, &AboutDialogOpen, *form.m_view, false);
}

void TFormAbout::ButtonMonitorClick()
{
    m_main.openDocument(surveyPageUrl(m_main.settings().UserID));
}

void TFormAbout::EditPassChange()
{
    const std::string typed = utf8ToCp932(m_view->passwordText());
    if (!isCampaignPassword(typed))
        return;
    m_view->disableSurveyControls();
    m_main.settings().SurveyPassword = typed;
    m_main.SaveSettings();
}

void TFormAbout::OKButtonClick()
{
    m_view->endModal(ModalResult::Ok);
}
