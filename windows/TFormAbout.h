// The about dialog, grown by the survey panel while the survey campaign is due.
#pragma once

#include <memory>

class MainForm;
class TFormAboutView;

class TFormAbout
{
public:
    static constexpr int ClientWidth = 344;
    static constexpr int SurveyHeight = 324;
    static constexpr int SurveyButtonTop = 292;
    static constexpr int CompactHeight = 182;
    static constexpr int CompactButtonTop = 148;

    explicit TFormAbout(MainForm& main);
    ~TFormAbout();
    TFormAbout(const TFormAbout&) = delete;
    TFormAbout& operator=(const TFormAbout&) = delete;

    // Opens the dialog unless it is already open, with the survey panel when the survey is
    // due, and runs it.
    static void run(MainForm& main);

    // The view's events.
    void EditPassChange();
    void OKButtonClick();
    void ButtonMonitorClick();

    TFormAboutView& view() { return *m_view; }

private:
    MainForm& m_main;
    std::unique_ptr<TFormAboutView> m_view;
};
