// The settings dialog: work interval, auto reset and its idle minutes, reminder position.
#pragma once

#include <QDialog>

#include <memory>

class MainForm;
struct Settings;

namespace Ui {
class FormConfig;
}

class TFormConfig : public QDialog
{
    Q_OBJECT

public:
    explicit TFormConfig(QWidget* owner);
    ~TFormConfig() override;

    // Builds the dialog, fills it from the settings, runs it and on OK takes the values over,
    // refreshes the tray and saves.
    static void run(MainForm& main);

    void FormShow();
    void CheckBox_ResetClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The boxes from the current settings, and on OK the settings from the boxes.
    void fill(const Settings& current);
    void takeOver(MainForm& main);

    std::unique_ptr<Ui::FormConfig> ui;
};
