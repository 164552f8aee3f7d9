// The stretch guide's Qt side, from Form_Stretch.ui.
#pragma once

#include "windows/TForm_StretchView.h"

#include <QPointer>

#include <memory>

class DialogWidget;
class TForm_Stretch;
class QWidget;

namespace Ui {
class Form_Stretch;
}

class QtForm_Stretch : public TForm_StretchView
{
public:
    QtForm_Stretch(TForm_Stretch& form, QWidget* owner);
    ~QtForm_Stretch() override;

    ModalResult runModal(bool escapeCancels) override;
    void endModal(ModalResult result) override;

private:
    std::unique_ptr<Ui::Form_Stretch> ui;
    QPointer<DialogWidget> m_dialog; // gone with its owner
};
