// The settings dialog: work interval, auto reset and its idle minutes, reminder position.
#pragma once

#include <memory>

class MainForm;
class TFormConfigView;

class TFormConfig
{
public:
    explicit TFormConfig(MainForm& main);
    ~TFormConfig();
    TFormConfig(const TFormConfig&) = delete;
    TFormConfig& operator=(const TFormConfig&) = delete;

    // Builds the dialog, fills it from the settings, runs it and on OK takes the values over,
    // refreshes the tray and saves.
    static void run(MainForm& main);

    // The view's events.
    void FormShow();
    void CheckBox_ResetClick();
    void OKBtnClick();
    void CancelBtnClick();

    TFormConfigView& view() { return *m_view; }

private:
    // The boxes from the current settings, and on OK the settings from the boxes.
    void fill();
    void takeOver();

    MainForm& m_main;
    std::unique_ptr<TFormConfigView> m_view;
};
