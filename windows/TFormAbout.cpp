// The about dialog, grown by the survey panel while the survey campaign is due.
#include "windows/TFormAbout.h"
#include "ui_FormAbout.h"

#include "core/Cp932.h"
#include "core/Settings.h"
#include "core/Survey.h"
#include "core/Texts.h"
#include "qt/LabelAutoSize.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "qt/UiFont.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

// True while the dialog runs: a reminder click must not open a second one.
bool AboutDialogOpen = false;

constexpr int ClientWidth = 344;
constexpr int SurveyHeight = 324;
constexpr int SurveyButtonTop = 292;
constexpr int CompactHeight = 182;
constexpr int CompactButtonTop = 148;

} // namespace

TFormAbout::TFormAbout(MainForm& main, QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::FormAbout>()), m_main(main)
{
    installUiFontSubstitution();
    ui->setupUi(this);
    ui->Version->setText(QString::fromStdString(Texts::versionLine()));
    fitLabelsToText(*this);
    // The box takes its password character ("*", from the layout's style sheet) only at a
    // style change, which polishing alone does not cause.
    ui->EditPass->ensurePolished();
    QEvent styleChange(QEvent::StyleChange);
    QApplication::sendEvent(ui->EditPass, &styleChange);
    connect(ui->EditPass, &QLineEdit::textChanged, this, &TFormAbout::EditPassChange);
    connect(ui->OKButton, &QPushButton::clicked, this, &TFormAbout::OKButtonClick);
    connect(ui->ButtonMonitor, &QPushButton::clicked, this, &TFormAbout::ButtonMonitorClick);
}

TFormAbout::~TFormAbout() = default;

void TFormAbout::run(MainForm& main)
{
    ModalRun::run(main, &AboutDialogOpen, [&main](QWidget* owner) {
        auto* dialog = new TFormAbout(main, owner);
        // Decided once per opening; the panel stays as it is while the dialog is open.
        const bool due = main.IsSurveyDue();
        dialog->ui->GroupBox_Monitor->setVisible(due);
        dialog->setFixedSize(ClientWidth, due ? SurveyHeight : CompactHeight);
        dialog->ui->OKButton->move(dialog->ui->OKButton->x(),
                                   due ? SurveyButtonTop : CompactButtonTop);
        return dialog;
    });
}

void TFormAbout::ButtonMonitorClick()
{
    m_main.openDocument(surveyPageUrl(m_main.settings().UserID));
}

void TFormAbout::EditPassChange()
{
    const std::string typed = utf8ToCp932(ui->EditPass->text().toStdString());
    if (!isCampaignPassword(typed))
        return;
    ui->ButtonMonitor->setEnabled(false);
    ui->EditPass->setEnabled(false);
    m_main.settings().SurveyPassword = typed;
    m_main.SaveSettings();
}

void TFormAbout::OKButtonClick()
{
    accept();
}

void TFormAbout::keyPressEvent(QKeyEvent* event)
{
    // No cancel button: Esc leaves the dialog open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
