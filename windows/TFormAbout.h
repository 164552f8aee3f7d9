// The about dialog, grown by the survey panel while the survey campaign is due.
#pragma once

#include <QDialog>

#include <memory>

class MainForm;

namespace Ui {
class FormAbout;
}

class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    TFormAbout(MainForm& main, QWidget* owner);
    ~TFormAbout() override;

    // Opens the dialog unless it is already open, with the survey panel when the survey is
    // due, and runs it.
    static void run(MainForm& main);

    void EditPassChange();
    void OKButtonClick();
    void ButtonMonitorClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::FormAbout> ui;
    MainForm& m_main;
};
