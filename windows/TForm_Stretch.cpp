// The stretch guide: a picture of stretches to do while seated, with one line of advice.
#include "windows/TForm_Stretch.h"
#include "ui_Form_Stretch.h"

#include "qt/LabelAutoSize.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "qt/UiFont.h"

#include <QKeyEvent>

namespace {

// True while the guide runs: the reminder's link label must not open a second one.
bool StretchDialogOpen = false;

} // namespace

TForm_Stretch::TForm_Stretch(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::Form_Stretch>())
{
    installUiFontSubstitution();
    ui->setupUi(this);
    fitLabelsToText(*this);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm_Stretch::Button1Click);
}

TForm_Stretch::~TForm_Stretch() = default;

void TForm_Stretch::run(MainForm& main)
{
    ModalRun::run(main, &StretchDialogOpen,
                  [](QWidget* owner) { return new TForm_Stretch(owner); });
}

void TForm_Stretch::Button1Click()
{
    accept();
}

void TForm_Stretch::keyPressEvent(QKeyEvent* event)
{
    // No cancel button: Esc leaves the guide open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
