// The Qt dialog under every dialog view: runs modally, ends with a result, and lets Esc cancel
// only where the window says so.
#pragma once

#include "windows/DialogView.h"

#include <QDialog>

#include <functional>

class DialogWidget : public QDialog
{
public:
    explicit DialogWidget(QWidget* owner);

    // Called from every show event, after Qt's own handling.
    std::function<void()> shown;

    // The run; nothing of the dialog is touched after it returns, since it may be gone.
    ModalResult runModal(bool escapeCancels);
    void endModal(ModalResult result);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_escapeCancels = true;
};
