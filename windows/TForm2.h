// The reminder popup: comes up without taking the focus, blinks, plays the sound and hides after
// 30 seconds or at a click.
#pragma once

#include <cstdint>
#include <memory>

class MainForm;
class Timer;
class TForm2View;

class TForm2
{
public:
    // Colours in the 0xBBGGRR form of their definitions (red in the low byte).
    static constexpr std::uint32_t NormalColor = 0xD7FFFF; // pale yellow
    static constexpr std::uint32_t SurveyColor = 0x6262FF; // salmon red, also the layout's
    static constexpr std::uint32_t BlinkColor = 0x8C8CFF;  // light red
    static constexpr int NormalWidth = 153;
    static constexpr int SurveyWidth = 210;
    static constexpr int Height = 57;
    static constexpr int AutoCloseMs = 30000;
    static constexpr int BlinkMs = 1000;
    // Two programs that both insist on the top place would take turns for ever; a few claims a
    // second are plenty for a person to see the reminder.
    static constexpr int RaisesPerSecond = 10;

    // Created hidden; Timer_Blink runs from here on, in the phase the clock has now.
    explicit TForm2(MainForm& main);
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // Shows or re-shows the reminder: appearance, place, sound, auto close, topmost.
    void ShowAlarm();
    // The hide operation: the auto-close timer's handler and the start of every click.
    void Timer_AutoCloseTimer();
    // One blink step (the state machine alone, whatever the timer does).
    void Timer_BlinkTimer();

    // The view's events.
    void FormShow();
    void FormClick();
    void Label1Click();
    void Label_MessageClick();
    void Image1Click();
    void Shape1MouseDown();
    void Label2Click();
    // Something may have come above the popup.
    void FormStackingLost();

    void OfferSurvey();
    // The main window's menus follow the dialogs: while one runs, the popup gives up the top.
    void MenusEnabled(bool on);

    // True while the popup is to keep its place above other windows.
    bool KeepOnTop() const { return m_keepOnTop; }
    std::uint32_t color() const { return m_color; }
    TForm2View& view() { return *m_view; }

private:
    void setColor(std::uint32_t bgr);
    void blinkTimeout();
    void resumeBlink();
    void retryRaise();

    MainForm& m_main;
    std::unique_ptr<TForm2View> m_view;
    std::unique_ptr<Timer> Timer_AutoClose;
    std::unique_ptr<Timer> Timer_Blink;
    std::unique_ptr<Timer> m_raiseRetry;
    std::int64_t m_blinkOrigin;
    std::uint32_t m_color = SurveyColor;
    // The base colour saved when the popup last switched to the blink colour.
    std::uint32_t m_blinkBaseColor = 0;
    bool m_keepOnTop = false;
    bool m_raising = false;
    std::int64_t m_raiseWindowStart = 0;
    int m_raisesInWindow = 0;
};
