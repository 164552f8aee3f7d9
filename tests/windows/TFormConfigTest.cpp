// The settings dialog's rules against a fake view: fill, clamp, take-over, cancel paths and the
// reset controls.
#include "tests/windows/FakeMainForm.h"

#include "windows/TFormConfig.h"

#include <gtest/gtest.h>

// Why: the boxes accept any text; OK turns it into a number with the file's defaults and
// ranges, then refreshes the tray with the new interval and saves, in that order.
TEST(TFormConfig, OkTakesOverTheBoxes)
{
    struct Case
    {
        const char* timerText;
        const char* resetText;
        int timer;
        int reset;
    };
    const Case cases[] = {
        {"100", "10", 90, 10},                         // forced down to 90
        {"29", "10", 30, 10},                          // forced up to 30
        {"-5", "10", 30, 10},   {"abc", "10", 60, 10}, // no number gives 60
        {"", "10", 60, 10},     {" 45", "10", 45, 10}, // a leading blank is allowed
        {"45 ", "10", 60, 10},                         // a trailing blank is not
        {"$2D", "10", 45, 10},                         // hexadecimal
        {"0x2D", "10", 45, 10}, {"45", "abc", 45, 10}, // no number gives 10
        {"45", "0", 45, 5},     {"45", "20", 45, 15},
    };
    for (const Case& c : cases) {
        FakeMainForm main;
        main.elapsed = 40;
        main.kit.duringConfig = [&](TFormConfig& form, FakeFormConfigView& dialog) {
            dialog.timer = c.timerText;
            dialog.reset = c.resetText;
            form.OKBtnClick();
        };
        TFormConfig::run(main);
        EXPECT_EQ(main.current.TimerMinutes, c.timer) << c.timerText;
        EXPECT_EQ(main.current.ResetMinutes, c.reset) << c.resetText;
        EXPECT_EQ(main.calls,
                  (Calls{"EnableMenus(false)", "EnableMenus(true)",
                         "UpdateTrayIcon(40," + std::to_string(c.timer) + ")", "SaveSettings"}));
        ASSERT_EQ(main.saved.size(), 1u);
        EXPECT_EQ(main.saved[0].TimerMinutes, c.timer);
        EXPECT_EQ(main.saved[0].ResetMinutes, c.reset);
    }
}

// Why: only OK takes anything over: no settings change, no tray refresh, no save otherwise;
// Esc cancels this dialog, which has a cancel button.
TEST(TFormConfig, CancelPathsChangeNothing)
{
    for (const std::string how : {"cancel", "esc", "close"}) {
        FakeMainForm main;
        const Settings before = main.current;
        bool escapeCancels = false;
        main.kit.duringConfig = [&](TFormConfig& form, FakeFormConfigView& dialog) {
            escapeCancels = dialog.escapeCancels;
            dialog.timer = "45";
            dialog.reset = "7";
            dialog.autoResetChecked = false;
            dialog.radio = 0;
            if (how == "cancel") {
                form.CancelBtnClick();
            } else if (how == "esc") {
                dialog.pressEscape();
            }
        };
        TFormConfig::run(main);
        EXPECT_TRUE(escapeCancels);
        EXPECT_EQ(main.current.TimerMinutes, before.TimerMinutes) << how;
        EXPECT_EQ(main.current.ResetMinutes, before.ResetMinutes) << how;
        EXPECT_EQ(main.current.AutoReset, before.AutoReset) << how;
        EXPECT_EQ(main.current.AlarmPosition, before.AlarmPosition) << how;
        EXPECT_EQ(main.calls, (Calls{"EnableMenus(false)", "EnableMenus(true)"})) << how;
    }
}

// Why: each stored position turns on its own radio button, and OK stores that button's
// position; unknown values show and store the centre.
TEST(TFormConfig, PositionRadioButtons)
{
    struct Case
    {
        int stored;
        int radio;
        int saved;
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3},
                          {4, 4, 4}, {7, 4, 4}, {-1, 4, 4}};
    for (const Case& c : cases) {
        FakeMainForm main;
        main.current.AlarmPosition = c.stored;
        int shown = -1;
        main.kit.duringConfig = [&](TFormConfig& form, FakeFormConfigView& dialog) {
            shown = dialog.radio;
            form.OKBtnClick();
        };
        TFormConfig::run(main);
        EXPECT_EQ(shown, c.radio) << c.stored;
        EXPECT_EQ(main.current.AlarmPosition, c.saved) << c.stored;
    }
}

// Why: the minutes box, its spinner and its label follow the check box, from the first showing
// on; OK saves the unticked state together with the minutes shown.
TEST(TFormConfig, CheckBoxEnablesTheResetControls)
{
    FakeMainForm main;
    main.current.AutoReset = false;
    main.current.ResetMinutes = 12;
    std::vector<bool> states;
    TFormConfig form(main);
    auto& view = static_cast<FakeFormConfigView&>(form.view());
    view.autoResetChecked = main.current.AutoReset;
    form.FormShow();
    states.push_back(*view.resetControlsEnabled);
    view.autoResetChecked = true;
    form.CheckBox_ResetClick();
    states.push_back(*view.resetControlsEnabled);
    view.autoResetChecked = false;
    form.CheckBox_ResetClick();
    states.push_back(*view.resetControlsEnabled);
    EXPECT_EQ(states, (std::vector<bool>{false, true, false}));

    main.kit.duringConfig = [&](TFormConfig& form, FakeFormConfigView& dialog) {
        EXPECT_FALSE(dialog.autoResetChecked);
        EXPECT_EQ(dialog.reset, "12");
        form.OKBtnClick();
    };
    TFormConfig::run(main);
    EXPECT_FALSE(main.current.AutoReset);
    EXPECT_EQ(main.current.ResetMinutes, 12);
}

// Why: a hand-edited file can hold values outside the ranges: the boxes first show them as
// stored, the spinners start from the nearest end of their range, and OK forces them into
// range.
TEST(TFormConfig, StoredValuesOutsideTheRangeShowAsStored)
{
    FakeMainForm main;
    main.current.TimerMinutes = 120;
    main.current.ResetMinutes = 2;
    main.kit.duringConfig = [&](TFormConfig& form, FakeFormConfigView& dialog) {
        EXPECT_EQ(dialog.timer, "120");
        EXPECT_EQ(dialog.reset, "2");
        EXPECT_EQ(dialog.timerPosition, 90);
        EXPECT_EQ(dialog.resetPosition, 5);
        EXPECT_EQ(dialog.timerRange.increment, 5);
        EXPECT_EQ(dialog.timerRange.minimum, 30);
        EXPECT_EQ(dialog.resetRange.maximum, 15);
        form.OKBtnClick();
    };
    TFormConfig::run(main);
    EXPECT_EQ(main.current.TimerMinutes, 90);
    EXPECT_EQ(main.current.ResetMinutes, 5);
}

// Why: the program can end from the tray menu while the dialog runs: it took the dialog with
// it, and nothing may be touched afterwards.
TEST(TFormConfig, OwnerDestroyedWhileRunning)
{
    FakeMainForm main;
    main.kit.duringConfig = [](TFormConfig& form, FakeFormConfigView& dialog) {
        form.OKBtnClick();
        dialog.abandon = true;
    };
    TFormConfig::run(main);
    EXPECT_EQ(main.calls, (Calls{"EnableMenus(false)"}));
    EXPECT_TRUE(main.saved.empty());
}
