// A toolkit for the window tests: timers fired by hand, a clock set by hand, and views that
// record what the windows show and let a test act while a dialog runs.
#pragma once

#include "windows/TForm2.h"
#include "windows/TForm2View.h"
#include "windows/TFormAbout.h"
#include "windows/TFormAboutView.h"
#include "windows/TFormConfig.h"
#include "windows/TFormConfigView.h"
#include "windows/TForm_Stretch.h"
#include "windows/TForm_StretchView.h"
#include "windows/Timer.h"
#include "windows/Toolkit.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class FakeTimer : public Timer
{
public:
    explicit FakeTimer(std::function<void()> timeout) : m_timeout(std::move(timeout)) {}

    void start(int intervalMs) override
    {
        m_active = true;
        m_interval = intervalMs;
        ++starts;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

    // What the event loop does when the interval is over.
    void fire() { m_timeout(); }

    int starts = 0;

private:
    std::function<void()> m_timeout;
    bool m_active = false;
    int m_interval = 0;
};

// The common part of the dialogs: a run that lets the test act on the dialog, then ends as the
// dialog was ended (the close box when nothing ended it).
template <typename View> class FakeDialogView : public View
{
public:
    std::function<void(FakeDialogView&)> whileRunning;
    bool abandon = false; // the program ends during the run and takes the dialog with it

    ModalResult runModal(bool cancels) override
    {
        escapeCancels = cancels;
        running = true;
        if (whileRunning)
            whileRunning(*this);
        running = false;
        if (abandon)
            return ModalResult::Abandoned;
        return ended.value_or(ModalResult::Cancel);
    }
    void endModal(ModalResult result) override
    {
        if (!ended)
            ended = result;
    }
    // Esc ends the run only where the window lets it cancel.
    void pressEscape()
    {
        if (escapeCancels)
            endModal(ModalResult::Cancel);
    }

    bool running = false;
    bool escapeCancels = false;
    std::optional<ModalResult> ended;
};

class FakeFormConfigView : public FakeDialogView<TFormConfigView>
{
public:
    void setTimer(const std::string& text, const SpinRange& range, int position) override
    {
        timer = text;
        timerRange = range;
        timerPosition = position;
    }
    void setReset(const std::string& text, const SpinRange& range, int position) override
    {
        reset = text;
        resetRange = range;
        resetPosition = position;
    }
    std::string timerText() const override { return timer; }
    std::string resetText() const override { return reset; }
    void setAutoReset(bool checked) override { autoResetChecked = checked; }
    bool autoReset() const override { return autoResetChecked; }
    void checkPosition(int index) override { radio = index; }
    int checkedPosition() const override { return radio; }
    void enableResetControls(bool on) override { resetControlsEnabled = on; }

    std::string timer, reset;
    SpinRange timerRange, resetRange;
    int timerPosition = -1, resetPosition = -1;
    bool autoResetChecked = false;
    int radio = -1;
    std::optional<bool> resetControlsEnabled;
};

class FakeFormAboutView : public FakeDialogView<TFormAboutView>
{
public:
    void setVersion(const std::string& text) override { version = text; }
    void showSurveyPanel(bool shown) override { panel = shown; }
    void resize(int w, int h) override
    {
        width = w;
        height = h;
    }
    void moveOkButton(int top) override { buttonTop = top; }
    std::string passwordText() const override { return password; }
    void disableSurveyControls() override { surveyControlsEnabled = false; }

    std::string version;
    std::optional<bool> panel;
    int width = 0, height = 0, buttonTop = 0;
    std::string password;
    bool surveyControlsEnabled = true;
};

class FakeForm_StretchView : public FakeDialogView<TForm_StretchView>
{
};

class FakeForm2View : public TForm2View
{
public:
    explicit FakeForm2View(TForm2& form) : m_form(form) {}

    void setColor(std::uint32_t value) override { bgr = value; }
    void setMessage(const std::string& text) override { message = text; }
    void resize(int w, int h) override
    {
        width = w;
        height = h;
    }
    void hideFrame() override { frameShown = false; }
    ScreenRect primaryScreen() const override { return screen; }
    void moveTo(int x, int y) override
    {
        left = x;
        top = y;
    }
    // The window system's show event reaches the window.
    void showNoActivate() override
    {
        visible = true;
        m_form.FormShow();
    }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void raiseAbove() override
    {
        ++raises;
        if (raising)
            raising();
    }
    bool isMenuOpen() const override { return menuOpen; }

    std::uint32_t bgr = 0;
    std::string message;
    int width = 0, height = 0, left = -1, top = -1;
    bool frameShown = true;
    ScreenRect screen{0, 0, 1024, 768};
    bool visible = false;
    int raises = 0;
    bool menuOpen = false;
    // What the window system does while a raise is under way (say, report a stacking change).
    std::function<void()> raising;

private:
    TForm2& m_form;
};

// Generic in its base, so that the main window's tests can add their view to it.
template <typename Base> class FakeToolkitOf : public Base
{
public:
    using Base::createView;

    std::unique_ptr<Timer> createTimer(std::function<void()> timeout) override
    {
        auto timer = std::make_unique<FakeTimer>(std::move(timeout));
        timers.push_back(timer.get());
        return timer;
    }
    std::int64_t monotonicMs() override { return now; }
    void quit() override { ++quits; }

    std::unique_ptr<TForm2View> createView(TForm2& form) override
    {
        auto view = std::make_unique<FakeForm2View>(form);
        form2 = view.get();
        return view;
    }
    std::unique_ptr<TFormConfigView> createView(TFormConfig& form) override
    {
        auto view = std::make_unique<FakeFormConfigView>();
        view->whileRunning = [this, &form](FakeDialogView<TFormConfigView>& v) {
            if (duringConfig)
                duringConfig(form, static_cast<FakeFormConfigView&>(v));
        };
        ++dialogsMade;
        config = view.get();
        return view;
    }
    std::unique_ptr<TFormAboutView> createView(TFormAbout& form) override
    {
        auto view = std::make_unique<FakeFormAboutView>();
        view->whileRunning = [this, &form](FakeDialogView<TFormAboutView>& v) {
            if (duringAbout)
                duringAbout(form, static_cast<FakeFormAboutView&>(v));
        };
        ++dialogsMade;
        about = view.get();
        return view;
    }
    std::unique_ptr<TForm_StretchView> createView(TForm_Stretch& form) override
    {
        auto view = std::make_unique<FakeForm_StretchView>();
        view->whileRunning = [this, &form](FakeDialogView<TForm_StretchView>& v) {
            if (duringStretch)
                duringStretch(form, static_cast<FakeForm_StretchView&>(v));
        };
        ++dialogsMade;
        stretch = view.get();
        return view;
    }

    std::int64_t now = 123456; // any reading of the clock
    int quits = 0;
    int dialogsMade = 0;
    std::vector<FakeTimer*> timers; // in the order they were made
    FakeForm2View* form2 = nullptr;
    FakeFormConfigView* config = nullptr;
    FakeFormAboutView* about = nullptr;
    FakeForm_StretchView* stretch = nullptr;
    // What the test does while each dialog runs.
    std::function<void(TFormConfig&, FakeFormConfigView&)> duringConfig;
    std::function<void(TFormAbout&, FakeFormAboutView&)> duringAbout;
    std::function<void(TForm_Stretch&, FakeForm_StretchView&)> duringStretch;
};

using FakeToolkit = FakeToolkitOf<Toolkit>;
