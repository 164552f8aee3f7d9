// The settings dialog's Qt side, from FormConfig.ui.
#pragma once

#include "windows/TFormConfigView.h"

#include <QPointer>

#include <memory>

class DialogWidget;
class TFormConfig;
class QWidget;

namespace Ui {
class FormConfig;
}

class QtFormConfig : public TFormConfigView
{
public:
    QtFormConfig(TFormConfig& form, QWidget* owner);
    ~QtFormConfig() override;

    ModalResult runModal(bool escapeCancels) override;
    void endModal(ModalResult result) override;
    void setTimer(const std::string& text, const SpinRange& range, int position) override;
    void setReset(const std::string& text, const SpinRange& range, int position) override;
    std::string timerText() const override;
    std::string resetText() const override;
    void setAutoReset(bool checked) override;
    bool autoReset() const override;
    void checkPosition(int radio) override;
    int checkedPosition() const override;
    void enableResetControls(bool on) override;

private:
    std::unique_ptr<Ui::FormConfig> ui;
    QPointer<DialogWidget> m_dialog; // gone with its owner
};
