// The about dialog's Qt side, from FormAbout.ui.
#pragma once

#include "windows/TFormAboutView.h"

#include <QPointer>

#include <memory>

class DialogWidget;
class TFormAbout;
class QWidget;

namespace Ui {
class FormAbout;
}

class QtFormAbout : public TFormAboutView
{
public:
    QtFormAbout(TFormAbout& form, QWidget* owner);
    ~QtFormAbout() override;

    ModalResult runModal(bool escapeCancels) override;
    void endModal(ModalResult result) override;
    void setVersion(const std::string& text) override;
    void showSurveyPanel(bool shown) override;
    void resize(int width, int height) override;
    void moveOkButton(int top) override;
    std::string passwordText() const override;
    void disableSurveyControls() override;

private:
    std::unique_ptr<Ui::FormAbout> ui;
    QPointer<DialogWidget> m_dialog; // gone with its owner
};
