// What the windows need from the front-end: timers, a monotonic clock, the end of the event
// loop, and one view per window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class Timer;
class TForm2;
class TForm2View;
class TFormAbout;
class TFormAboutView;
class TFormConfig;
class TFormConfigView;
class TForm_Stretch;
class TForm_StretchView;

class Toolkit
{
public:
    virtual ~Toolkit() = default;

    // A stopped timer that calls timeout.
    virtual std::unique_ptr<Timer> createTimer(std::function<void()> timeout) = 0;
    // Milliseconds of a monotonic clock.
    virtual std::int64_t monotonicMs() = 0;
    // Ends the program's event loop, and with it any dialog's run.
    virtual void quit() = 0;

    // The window's screen side, created hidden, which calls the window's handlers.
    virtual std::unique_ptr<TForm2View> createView(TForm2& form) = 0;
    virtual std::unique_ptr<TFormConfigView> createView(TFormConfig& form) = 0;
    virtual std::unique_ptr<TFormAboutView> createView(TFormAbout& form) = 0;
    virtual std::unique_ptr<TForm_StretchView> createView(TForm_Stretch& form) = 0;
};
