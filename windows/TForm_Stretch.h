// The stretch guide: a picture of stretches to do while seated, with one line of advice.
#pragma once

#include <QDialog>

#include <memory>

class MainForm;

namespace Ui {
class Form_Stretch;
}

class TForm_Stretch : public QDialog
{
    Q_OBJECT

public:
    explicit TForm_Stretch(QWidget* owner);
    ~TForm_Stretch() override;

    // Opens the guide unless it is already open, and runs it.
    static void run(MainForm& main);

    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::Form_Stretch> ui;
};
