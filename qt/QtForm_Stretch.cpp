// The stretch guide's Qt side, from Form_Stretch.ui.
#include "qt/QtForm_Stretch.h"
#include "ui_Form_Stretch.h"

#include "qt/DialogWidget.h"
#include "qt/LabelAutoSize.h"
#include "qt/UiFont.h"
#include "windows/TForm_Stretch.h"

QtForm_Stretch::QtForm_Stretch(TForm_Stretch& form, QWidget* owner)
    : ui(std::make_unique<Ui::Form_Stretch>()), m_dialog(new DialogWidget(owner))
{
    installUiFontSubstitution();
    ui->setupUi(m_dialog);
    fitLabelsToText(*m_dialog);
    QObject::connect(ui->Button1, &QPushButton::clicked, m_dialog,
                     [&form] { form.Button1Click(); });
}

QtForm_Stretch::~QtForm_Stretch()
{
    delete m_dialog;
}

ModalResult QtForm_Stretch::runModal(bool escapeCancels)
{
    return m_dialog ? m_dialog->runModal(escapeCancels) : ModalResult::Abandoned;
}

void QtForm_Stretch::endModal(ModalResult result)
{
    m_dialog->endModal(result);
}
