// The reminder's rules against a fake view and fake timers: its steps, blink phase, clicks,
// auto close, re-raise budget and its part in the dialogs' runs.
#include "tests/windows/FakeMainForm.h"

#include "windows/TForm2.h"
#include "windows/TFormAbout.h"
#include "windows/TForm_Stretch.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

constexpr std::uint32_t Normal = TForm2::NormalColor;
constexpr std::uint32_t Survey = TForm2::SurveyColor;
constexpr std::uint32_t Blink = TForm2::BlinkColor;

// The popup with its view and its timers in the order the popup makes them.
struct Popup
{
    explicit Popup(FakeMainForm& main)
        : form(std::make_unique<TForm2>(main)), view(*main.kit.form2),
          autoClose(*main.kit.timers.at(0)), blink(*main.kit.timers.at(1)),
          retry(*main.kit.timers.at(2))
    {
    }
    std::unique_ptr<TForm2> form;
    FakeForm2View& view;
    FakeTimer& autoClose;
    FakeTimer& blink;
    FakeTimer& retry;
};

std::vector<std::string> split(const std::string& text, char at)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, at);)
        parts.push_back(part);
    return parts;
}

} // namespace

// Why: the popup exists hidden from the start, in the layout's colour, with the blink timer
// already running once a second and nothing asked of the main window.
TEST(TForm2, CreatedHiddenAndBlinking)
{
    FakeMainForm main;
    Popup popup(main);
    EXPECT_FALSE(popup.view.visible);
    EXPECT_FALSE(popup.form->KeepOnTop());
    EXPECT_EQ(popup.view.bgr, Survey);
    EXPECT_TRUE(popup.blink.isActive());
    EXPECT_EQ(popup.blink.interval(), 1000);
    EXPECT_FALSE(popup.autoClose.isActive());
    EXPECT_FALSE(popup.retry.isActive());
    EXPECT_TRUE(main.calls.empty());
}

// Why: the reminder comes up 40 pixels from the chosen corner of the whole primary screen, or
// centred at 65 % of its height, in the size its kind has, also on a screen off the origin.
TEST(TForm2, Placement)
{
    struct Case
    {
        int position;
        bool due;
        ScreenRect screen;
        int left, top, width;
    };
    const ScreenRect xga{0, 0, 1024, 768};
    const Case cases[] = {
        {0, false, xga, 40, 40, 153},
        {1, false, xga, 40, 671, 153},
        {2, false, xga, 831, 40, 153},
        {3, false, xga, 831, 671, 153},
        {4, false, xga, 435, 499, 153},
        {7, false, xga, 435, 499, 153}, // unknown values are the centre
        {4, true, xga, 407, 499, 210},
        {2, true, xga, 774, 40, 210},
        {3, false, ScreenRect{1280, 100, 1024, 768}, 2111, 771, 153},
    };
    for (const Case& c : cases) {
        FakeMainForm main;
        main.current.AlarmPosition = c.position;
        main.surveyDue = c.due;
        Popup popup(main);
        popup.view.screen = c.screen;
        popup.form->ShowAlarm();
        EXPECT_EQ(popup.view.left, c.left) << c.position << c.due;
        EXPECT_EQ(popup.view.top, c.top) << c.position << c.due;
        EXPECT_EQ(popup.view.width, c.width);
        EXPECT_EQ(popup.view.height, 57);
    }
}

// Why: pale yellow with the minutes, or salmon red and wider with the survey request; the sound
// starts, the popup shows on top without the focus and asks about the survey exactly once.
TEST(TForm2, Appearance)
{
    struct Case
    {
        bool due;
        int minutes;
        std::uint32_t colour;
        int width;
        const char* message;
    };
    const Case cases[] = {
        {false, 45, Normal, 153, "45分たちました"},
        {false, 90, Normal, 153, "90分たちました"},
        {true, 45, Survey, 210, "※アンケートにご協力下さい"},
    };
    for (const Case& c : cases) {
        FakeMainForm main;
        main.surveyDue = c.due;
        main.current.TimerMinutes = c.minutes;
        Popup popup(main);
        popup.form->ShowAlarm();
        EXPECT_TRUE(popup.view.visible);
        EXPECT_TRUE(popup.form->KeepOnTop());
        EXPECT_EQ(popup.view.bgr, c.colour);
        EXPECT_EQ(popup.view.message, c.message);
        EXPECT_EQ(popup.view.width, c.width);
        EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "playSound"}));
        EXPECT_TRUE(popup.autoClose.isActive());
        EXPECT_EQ(popup.autoClose.interval(), 30000);
        EXPECT_EQ(popup.view.raises, 0); // a hidden popup appears on top by being shown
    }
}

// Why: base and blink colour alternate; a popup hidden in the blink colour comes back in its
// base colour and blinks at the next tick; the orange frame goes at the first tick for good.
TEST(TForm2, BlinkSequence)
{
    FakeMainForm main;
    Popup popup(main);
    TForm2& form = *popup.form;
    EXPECT_TRUE(popup.view.frameShown);

    form.ShowAlarm();
    EXPECT_EQ(form.color(), Normal);
    form.Timer_BlinkTimer();
    EXPECT_FALSE(popup.view.frameShown);
    EXPECT_EQ(popup.view.bgr, Blink);
    form.Timer_BlinkTimer();
    EXPECT_EQ(popup.view.bgr, Normal);
    form.Timer_BlinkTimer();
    EXPECT_EQ(popup.view.bgr, Blink);
    form.Timer_AutoCloseTimer();
    form.Timer_BlinkTimer(); // blinks on while hidden
    EXPECT_EQ(popup.view.bgr, Normal);
    form.Timer_BlinkTimer();
    EXPECT_EQ(popup.view.bgr, Blink);

    main.surveyDue = true;
    form.ShowAlarm();
    EXPECT_EQ(popup.view.bgr, Survey);
    form.Timer_BlinkTimer();
    EXPECT_EQ(popup.view.bgr, Blink);
    form.Timer_BlinkTimer();
    EXPECT_EQ(popup.view.bgr, Survey);
    form.ShowAlarm();
    EXPECT_FALSE(popup.view.frameShown);
}

// Why: the blink timer sleeps while the popup is hidden, yet what a person sees must be what a
// timer running since construction gives: the same colours at the same ticks in the same phase,
// and the frame gone from the first tick on.
TEST(TForm2, BlinkFollowsTheFreeRunningTimer)
{
    // Steps: "tick" is the next whole second after construction; "show", "survey" and "hide"
    // happen at the given milliseconds after construction, before the next tick.
    const char* scripts[] = {
        "show 400, tick, tick, tick, hide 3200, tick",
        "tick, show 1300, tick, hide 2500, tick, tick, tick, show 5700, tick, tick",
        "tick, show 1300, tick, tick, hide 3500, tick, tick, show 5100, tick, tick, tick",
        "tick, show 1200, tick, hide 2100, show 2900, tick, tick",
        "tick, show 1500, hide 1800, tick, show 2100, tick, tick",
        "tick, show 1100, tick, survey 2600, tick, tick",
        "tick, tick, tick, tick, survey 4050, tick, tick",
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        FakeMainForm main;
        const std::int64_t origin = main.kit.now;
        Popup popup(main);
        // The always-running timer's colour and saved base, ticking whether shown or hidden.
        std::uint32_t expected = popup.view.bgr;
        std::uint32_t base = 0;
        int ticks = 0;
        for (const std::string& step : split(script, ',')) {
            const auto word = split(step.substr(step.find_first_not_of(' ')), ' ');
            if (word[0] == "tick") {
                ++ticks;
                main.kit.now = origin + 1000 * ticks;
                if (expected != Blink) {
                    base = expected;
                    expected = Blink;
                } else {
                    expected = base;
                }
                if (popup.blink.isActive())
                    popup.blink.fire();
                EXPECT_EQ(popup.blink.isActive(), popup.view.visible) << step;
                if (popup.blink.isActive()) {
                    EXPECT_EQ(popup.blink.interval(), 1000);
                }
            } else {
                main.kit.now = origin + std::stoi(word[1]);
                ASSERT_GT(main.kit.now, origin + 1000 * ticks);
                ASSERT_LT(main.kit.now, origin + 1000 * (ticks + 1));
                if (word[0] == "hide") {
                    popup.form->Timer_AutoCloseTimer();
                } else {
                    const bool resumes = !popup.blink.isActive();
                    main.surveyDue = word[0] == "survey";
                    popup.form->ShowAlarm();
                    expected = main.surveyDue ? Survey : Normal;
                    EXPECT_TRUE(popup.blink.isActive());
                    EXPECT_EQ(popup.blink.interval(),
                              resumes ? origin + 1000 * (ticks + 1) - main.kit.now : 1000);
                }
            }
            if (popup.view.visible) {
                EXPECT_EQ(popup.view.bgr, expected) << step;
            }
            EXPECT_EQ(!popup.view.frameShown, ticks > 0) << step;
        }
    }
}

// Why: every click hides the popup; the survey is offered after a hide when due; the link
// label opens only the stretch guide.
TEST(TForm2, Clicks)
{
    const Calls offer{"stopSound", "IsSurveyDue"};
    const Calls about{"stopSound", "IsSurveyDue", "MenuAboutClick"};
    struct Case
    {
        const char* target;
        void (TForm2::*handler)();
        bool due;
        Calls after;
    };
    const Case cases[] = {
        {"background", &TForm2::Shape1MouseDown, false, offer},
        {"background, due", &TForm2::Shape1MouseDown, true, about},
        {"form", &TForm2::FormClick, false, offer},
        {"form, due", &TForm2::FormClick, true, about},
        {"name, due", &TForm2::Label1Click, true, about},
        {"message", &TForm2::Label_MessageClick, false, offer},
        {"message, due", &TForm2::Label_MessageClick, true, about},
        {"icon, due", &TForm2::Image1Click, true, about},
        {"link label, due", &TForm2::Label2Click, true, Calls{"stopSound", "MenuStretchClick"}},
    };
    for (const Case& c : cases) {
        FakeMainForm main;
        main.surveyDue = c.due;
        Popup popup(main);
        popup.form->ShowAlarm();
        main.calls.clear();
        (popup.form.get()->*c.handler)();
        EXPECT_FALSE(popup.view.visible) << c.target;
        EXPECT_FALSE(popup.form->KeepOnTop()) << c.target;
        EXPECT_FALSE(popup.autoClose.isActive()) << c.target;
        EXPECT_EQ(main.calls, c.after) << c.target;
    }
}

// Why: a second showing while the popup is up plays the sound again but keeps the first
// showing's closing time; after a hide the next showing gets a full 30 seconds.
TEST(TForm2, AutoCloseIsNotRestartedByASecondShowing)
{
    FakeMainForm main;
    Popup popup(main);
    popup.form->ShowAlarm();
    EXPECT_EQ(popup.autoClose.starts, 1);
    popup.form->ShowAlarm();
    EXPECT_EQ(popup.autoClose.starts, 1);
    EXPECT_EQ(popup.view.raises, 1); // the one still up comes to the top again
    EXPECT_EQ(std::count(main.calls.begin(), main.calls.end(), "playSound"), 2);
    popup.form->Timer_AutoCloseTimer();
    EXPECT_FALSE(popup.autoClose.isActive());
    popup.form->ShowAlarm();
    EXPECT_EQ(popup.autoClose.starts, 2);
}

// Why: the auto-close timer's expiry is the hide: timer off, sound stopped, flag cleared.
TEST(TForm2, AutoCloseHidesAndStopsTheSound)
{
    FakeMainForm main;
    Popup popup(main);
    popup.form->ShowAlarm();
    popup.autoClose.fire();
    EXPECT_FALSE(popup.view.visible);
    EXPECT_FALSE(popup.autoClose.isActive());
    EXPECT_FALSE(popup.form->KeepOnTop());
    EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "playSound", "stopSound"}));
}

// Why: a click on a new reminder while the about dialog runs hides it and opens no second
// dialog; the popup's flag follows the menus: off while the dialog runs, set again by a new
// showing.
TEST(TForm2, AboutOpenedFromAClickGuardsAgainstASecond)
{
    FakeMainForm main;
    main.surveyDue = true;
    Popup popup(main);
    main.onEnableMenus = [&](bool on) { popup.form->MenusEnabled(on); };
    main.onMenuAbout = [&] { TFormAbout::run(main); };
    bool keepOnTopWhileOpen = true;
    bool keepOnTopAfterNewShowing = false;
    bool hiddenBySecondClick = false;
    main.kit.duringAbout = [&](TFormAbout&, FakeFormAboutView& dialog) {
        keepOnTopWhileOpen = popup.form->KeepOnTop();
        popup.form->ShowAlarm();
        keepOnTopAfterNewShowing = popup.form->KeepOnTop();
        popup.form->Label_MessageClick();
        hiddenBySecondClick = !popup.view.visible;
        dialog.endModal(ModalResult::Cancel);
    };
    popup.form->ShowAlarm();
    popup.form->Label_MessageClick();

    EXPECT_FALSE(keepOnTopWhileOpen);
    EXPECT_TRUE(keepOnTopAfterNewShowing);
    EXPECT_TRUE(hiddenBySecondClick);
    EXPECT_EQ(main.kit.dialogsMade, 1);
    EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "playSound",                   // first showing
                                 "stopSound", "IsSurveyDue", "MenuAboutClick", // click
                                 "IsSurveyDue", "EnableMenus(false)",          // about opens
                                 "IsSurveyDue", "playSound",                   // second showing
                                 "stopSound", "IsSurveyDue", "MenuAboutClick", // guarded
                                 "EnableMenus(true)"}));
}

// Why: the link label of a reminder that came up while the about dialog runs opens the guide
// over it; closing the guide enables the menus although the about dialog still runs.
TEST(TForm2, StretchOverAboutFromTheLinkLabel)
{
    FakeMainForm main;
    Popup popup(main);
    main.onMenuStretch = [&] { TForm_Stretch::run(main); };
    main.kit.duringAbout = [&](TFormAbout&, FakeFormAboutView&) {
        popup.form->ShowAlarm();
        popup.form->Label2Click();
    };
    TFormAbout::run(main);

    EXPECT_EQ(main.kit.dialogsMade, 2);
    EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "EnableMenus(false)", "IsSurveyDue", "playSound",
                                 "stopSound", "MenuStretchClick", "EnableMenus(false)",
                                 "EnableMenus(true)", "EnableMenus(true)"}));
}

// Why: the program can end while a dialog opened from a reminder click runs: the main window
// then destroys the popup under the click that opened the dialog. Nothing may touch it
// afterwards (the sanitizer build checks this).
TEST(TForm2, PopupDestroyedWhileItsDialogRuns)
{
    FakeMainForm main;
    main.surveyDue = true;
    Popup popup(main);
    main.onMenuAbout = [&] { TFormAbout::run(main); };
    main.kit.duringAbout = [&](TFormAbout&, FakeFormAboutView& dialog) {
        popup.form.reset();
        dialog.abandon = true;
    };
    popup.form->ShowAlarm();
    popup.form->Label_MessageClick();
    EXPECT_FALSE(popup.form);
    EXPECT_EQ(main.calls.back(), "EnableMenus(false)");
}

// Why: whenever the window system says something came above the shown popup, it claims the top
// place again: not while hidden, not while a dialog runs, not over its own open menu, not from
// inside its own claim, and never more than ten times a second, with one late try once the
// second is over.
TEST(TForm2, ReclaimsTheTopPlaceOnlyWhenItShould)
{
    FakeMainForm main;
    main.kit.now = 5000;
    Popup popup(main);
    TForm2& form = *popup.form;
    form.FormStackingLost(); // hidden
    EXPECT_EQ(popup.view.raises, 0);
    form.ShowAlarm();
    form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 1);

    form.MenusEnabled(false); // a dialog runs
    form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 1);
    form.MenusEnabled(true);

    popup.view.menuOpen = true;
    form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 1);
    popup.view.menuOpen = false;

    popup.view.raising = [&] { form.FormStackingLost(); }; // the raise's own notice
    form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 2);
    popup.view.raising = nullptr;

    main.kit.now += 1000; // a fresh second
    for (int i = 0; i < 30; ++i)
        form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 12);
    // Over budget: one try is kept for when the next second opens, and only one.
    EXPECT_TRUE(popup.retry.isActive());
    EXPECT_EQ(popup.retry.interval(), 1000);
    main.kit.now += 990;
    form.FormStackingLost();
    form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 12);
    EXPECT_EQ(popup.retry.starts, 1);
    main.kit.now += 10;
    popup.retry.fire();
    EXPECT_EQ(popup.view.raises, 13);
    EXPECT_FALSE(popup.retry.isActive());

    form.Timer_AutoCloseTimer();
    form.MenusEnabled(true);
    form.FormStackingLost();
    EXPECT_EQ(popup.view.raises, 13);
}
