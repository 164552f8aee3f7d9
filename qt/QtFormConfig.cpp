// The settings dialog's Qt side, from FormConfig.ui.
#include "qt/QtFormConfig.h"
#include "ui_FormConfig.h"

#include "qt/DialogWidget.h"
#include "qt/LabelAutoSize.h"
#include "qt/UiFont.h"
#include "windows/TFormConfig.h"

#include <array>

namespace {

std::array<QRadioButton*, 5> radios(Ui::FormConfig& ui)
{
    return {ui.RadioButton1, ui.RadioButton2, ui.RadioButton3, ui.RadioButton4, ui.RadioButton5};
}

} // namespace

QtFormConfig::QtFormConfig(TFormConfig& form, QWidget* owner)
    : ui(std::make_unique<Ui::FormConfig>()), m_dialog(new DialogWidget(owner))
{
    installUiFontSubstitution();
    ui->setupUi(m_dialog);
    fitLabelsToText(*m_dialog);
    ui->UpDown_Timer->setBuddy(ui->EditTimer);
    ui->UpDown_Reset->setBuddy(ui->Edit_Reset);
    // Only the checked position is a tab stop: Tab lands on it, so Space cannot change the
    // position by accident; the arrow keys move the choice within the group.
    for (QRadioButton* radio : radios(*ui)) {
        radio->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(radio, &QRadioButton::toggled, radio, [radio](bool on) {
            radio->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
        });
    }
    QObject::connect(ui->CheckBox_Reset, &QCheckBox::toggled, m_dialog,
                     [&form] { form.CheckBox_ResetClick(); });
    QObject::connect(ui->OKBtn, &QPushButton::clicked, m_dialog, [&form] { form.OKBtnClick(); });
    QObject::connect(ui->CancelBtn, &QPushButton::clicked, m_dialog,
                     [&form] { form.CancelBtnClick(); });
    m_dialog->shown = [&form] { form.FormShow(); };
}

QtFormConfig::~QtFormConfig()
{
    delete m_dialog;
}

ModalResult QtFormConfig::runModal(bool escapeCancels)
{
    return m_dialog ? m_dialog->runModal(escapeCancels) : ModalResult::Abandoned;
}

void QtFormConfig::endModal(ModalResult result)
{
    m_dialog->endModal(result);
}

void QtFormConfig::setTimer(const std::string& text, const SpinRange& range, int position)
{
    ui->EditTimer->setText(QString::fromStdString(text));
    ui->UpDown_Timer->setRange(range);
    ui->UpDown_Timer->setPosition(position);
}

void QtFormConfig::setReset(const std::string& text, const SpinRange& range, int position)
{
    ui->Edit_Reset->setText(QString::fromStdString(text));
    ui->UpDown_Reset->setRange(range);
    ui->UpDown_Reset->setPosition(position);
}

std::string QtFormConfig::timerText() const
{
    return ui->EditTimer->text().toStdString();
}

std::string QtFormConfig::resetText() const
{
    return ui->Edit_Reset->text().toStdString();
}

void QtFormConfig::setAutoReset(bool checked)
{
    ui->CheckBox_Reset->setChecked(checked);
}

bool QtFormConfig::autoReset() const
{
    return ui->CheckBox_Reset->isChecked();
}

void QtFormConfig::checkPosition(int radio)
{
    radios(*ui).at(static_cast<std::size_t>(radio))->setChecked(true);
}

int QtFormConfig::checkedPosition() const
{
    const auto all = radios(*ui);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void QtFormConfig::enableResetControls(bool on)
{
    ui->Edit_Reset->setEnabled(on);
    ui->UpDown_Reset->setEnabled(on);
    ui->Label4->setEnabled(on);
}
