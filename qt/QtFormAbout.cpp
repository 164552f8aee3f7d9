// The about dialog's Qt side, from FormAbout.ui.
#include "qt/QtFormAbout.h"
#include "ui_FormAbout.h"

#include "qt/DialogWidget.h"
#include "qt/LabelAutoSize.h"
#include "qt/UiFont.h"
#include "windows/TFormAbout.h"

#include <QApplication>

QtFormAbout::QtFormAbout(TFormAbout& form, QWidget* owner)
    : ui(std::make_unique<Ui::FormAbout>()), m_dialog(new DialogWidget(owner))
{
    installUiFontSubstitution();
    ui->setupUi(m_dialog);
    fitLabelsToText(*m_dialog);
    // The box takes its password character ("*", from the layout's style sheet) only at a
    // style change, which polishing alone does not cause.
    ui->EditPass->ensurePolished();
    QEvent styleChange(QEvent::StyleChange);
    QApplication::sendEvent(ui->EditPass, &styleChange);
    QObject::connect(ui->EditPass, &QLineEdit::textChanged, m_dialog,
                     [&form] { form.EditPassChange(); });
    QObject::connect(ui->OKButton, &QPushButton::clicked, m_dialog,
                     [&form] { form.OKButtonClick(); });
    QObject::connect(ui->ButtonMonitor, &QPushButton::clicked, m_dialog,
                     [&form] { form.ButtonMonitorClick(); });
}

QtFormAbout::~QtFormAbout()
{
    delete m_dialog;
}

ModalResult QtFormAbout::runModal(bool escapeCancels)
{
    return m_dialog ? m_dialog->runModal(escapeCancels) : ModalResult::Abandoned;
}

void QtFormAbout::endModal(ModalResult result)
{
    m_dialog->endModal(result);
}

void QtFormAbout::setVersion(const std::string& text)
{
    ui->Version->setText(QString::fromStdString(text));
    fitLabelToText(*ui->Version);
}

void QtFormAbout::showSurveyPanel(bool shown)
{
    ui->GroupBox_Monitor->setVisible(shown);
}

void QtFormAbout::resize(int width, int height)
{
    m_dialog->setFixedSize(width, height);
}

void QtFormAbout::moveOkButton(int top)
{
    ui->OKButton->move(ui->OKButton->x(), top);
}

std::string QtFormAbout::passwordText() const
{
    return ui->EditPass->text().toStdString();
}

void QtFormAbout::disableSurveyControls()
{
    ui->ButtonMonitor->setEnabled(false);
    ui->EditPass->setEnabled(false);
}
