// The settings dialog: work interval, auto reset and its idle minutes, reminder position.
#include "windows/TFormConfig.h"
#include "ui_FormConfig.h"

#include "core/AlarmPosition.h"
#include "core/Settings.h"
#include "core/TextToInt.h"
#include "qt/LabelAutoSize.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "qt/UiFont.h"

#include <algorithm>

namespace {

std::int32_t editValue(const QLineEdit* edit, std::int32_t fallback)
{
    return textToInt(edit->text().toStdString(), fallback);
}

} // namespace

TFormConfig::TFormConfig(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::FormConfig>())
{
    installUiFontSubstitution();
    ui->setupUi(this);
    fitLabelsToText(*this);
    ui->UpDown_Timer->setRange(TimerMinutesRange);
    ui->UpDown_Reset->setRange(ResetMinutesRange);
    ui->UpDown_Timer->setBuddy(ui->EditTimer);
    ui->UpDown_Reset->setBuddy(ui->Edit_Reset);
    // Only the checked position is a tab stop: Tab lands on it, so Space cannot change the
    // position by accident; the arrow keys move the choice within the group.
    for (QRadioButton* radio : ui->GroupBox3->findChildren<QRadioButton*>()) {
        radio->setFocusPolicy(Qt::ClickFocus);
        connect(radio, &QRadioButton::toggled, radio,
                [radio](bool on) { radio->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); });
    }
    connect(ui->CheckBox_Reset, &QCheckBox::toggled, this, &TFormConfig::CheckBox_ResetClick);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TFormConfig::~TFormConfig() = default;

void TFormConfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFormConfig::FormShow()
{
    CheckBox_ResetClick();
}

void TFormConfig::CheckBox_ResetClick()
{
    const bool on = ui->CheckBox_Reset->isChecked();
    ui->Edit_Reset->setEnabled(on);
    ui->UpDown_Reset->setEnabled(on);
    ui->Label4->setEnabled(on);
}

void TFormConfig::run(MainForm& main)
{
    TFormConfig* dialog = nullptr;
    ModalRun::run(
        main, nullptr,
        [&](QWidget* owner) {
            dialog = new TFormConfig(owner);
            dialog->fill(main.settings());
            return dialog;
        },
        [&](int result) {
            if (result == QDialog::Accepted)
                dialog->takeOver(main);
        });
}

void TFormConfig::fill(const Settings& current)
{
    ui->EditTimer->setText(QString::number(current.TimerMinutes));
    ui->UpDown_Timer->setPosition(current.TimerMinutes);
    ui->CheckBox_Reset->setChecked(current.AutoReset);
    ui->Edit_Reset->setText(QString::number(current.ResetMinutes));
    ui->UpDown_Reset->setPosition(current.ResetMinutes);
    switch (alarmPositionFrom(current.AlarmPosition)) {
    case AlarmPosition::TopLeft:
        ui->RadioButton1->setChecked(true);
        break;
    case AlarmPosition::BottomLeft:
        ui->RadioButton2->setChecked(true);
        break;
    case AlarmPosition::TopRight:
        ui->RadioButton3->setChecked(true);
        break;
    case AlarmPosition::BottomRight:
        ui->RadioButton4->setChecked(true);
        break;
    case AlarmPosition::Centre:
        ui->RadioButton5->setChecked(true);
        break;
    }
}

void TFormConfig::takeOver(MainForm& main)
{
    Settings& settings = main.settings();
    settings.TimerMinutes = editValue(ui->EditTimer, DefaultTimerMinutes);
    settings.ResetMinutes = editValue(ui->Edit_Reset, DefaultResetMinutes);
    settings.AutoReset = ui->CheckBox_Reset->isChecked();
    AlarmPosition position = AlarmPosition::Centre;
    if (ui->RadioButton1->isChecked())
        position = AlarmPosition::TopLeft;
    else if (ui->RadioButton2->isChecked())
        position = AlarmPosition::BottomLeft;
    else if (ui->RadioButton3->isChecked())
        position = AlarmPosition::TopRight;
    else if (ui->RadioButton4->isChecked())
        position = AlarmPosition::BottomRight;
    settings.AlarmPosition = static_cast<std::int32_t>(position);
    settings.TimerMinutes = TimerMinutesRange.clamp(settings.TimerMinutes);
    settings.ResetMinutes = ResetMinutesRange.clamp(settings.ResetMinutes);
    main.UpdateTrayIcon(main.ElapsedMinutes(), settings.TimerMinutes);
    main.SaveSettings();
}
