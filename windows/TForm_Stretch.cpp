// The stretch guide: a picture of stretches to do while seated, with one line of advice.
#include "TForm_Stretch.h"
#include "ui_Form_Stretch.h"

#include "windows/DialogPlacement.h"
#include "windows/LabelAutoSize.h"
#include "windows/MainForm.h"
#include "windows/ModalRun.h"
#include "windows/UiFont.h"

#include <QKeyEvent>
#include <QPointer>

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
    if (StretchDialogOpen)
        return;
    QPointer<QWidget> owner = main.ownerWidget();
    const bool owned = owner;
    QPointer<TForm_Stretch> dialog = new TForm_Stretch(owner);
    centreOnScreen(*dialog);

    main.EnableMenus(false);
    StretchDialogOpen = true;
    ModalRun::exec(*dialog);
    StretchDialogOpen = false;
    // The owner can be destroyed while the guide runs (the program ended from the tray menu):
    // then neither it nor the guide, which went with it, may be touched again.
    if (owned && !owner)
        return;
    main.EnableMenus(true);
    delete dialog;
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
