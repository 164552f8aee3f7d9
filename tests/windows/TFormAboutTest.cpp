// The about dialog's rules against a fake view: the survey panel decided once, the password,
// the survey page, Esc, and the guard against a second opening.
#include "tests/windows/FakeMainForm.h"

#include "core/Survey.h"
#include "windows/TFormAbout.h"

#include "BuildConfig.h"

#include <gtest/gtest.h>

// Why: the survey decides the layout once per opening: panel, height and the button's place;
// the version comes from the build.
TEST(TFormAbout, Layouts)
{
    for (const bool due : {false, true}) {
        FakeMainForm main;
        main.surveyDue = due;
        FakeFormAboutView seen;
        main.kit.duringAbout = [&](TFormAbout&, FakeFormAboutView& dialog) {
            seen.panel = dialog.panel;
            seen.width = dialog.width;
            seen.height = dialog.height;
            seen.buttonTop = dialog.buttonTop;
            seen.version = dialog.version;
            main.surveyDue = !due; // decided once: a change meanwhile is not followed
        };
        TFormAbout::run(main);
        EXPECT_EQ(seen.panel, due);
        EXPECT_EQ(seen.width, 344);
        EXPECT_EQ(seen.height, due ? 324 : 182);
        EXPECT_EQ(seen.buttonTop, due ? 292 : 148);
        EXPECT_EQ(seen.version, "Version 1.07");
        EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "EnableMenus(false)", "EnableMenus(true)"}));
    }
}

// Why: the password is taken on the change that completes it: both controls go disabled at
// once, the password is stored and saved, and the dialog stays open.
TEST(TFormAbout, PasswordAcceptedOnTheCompletingKeystroke)
{
    FakeMainForm main;
    main.surveyDue = true;
    std::vector<std::string> steps;
    main.kit.duringAbout = [&](TFormAbout& form, FakeFormAboutView& dialog) {
        for (const char* text : {"Q", "QX", "QXJ"}) {
            dialog.password = text;
            form.EditPassChange();
            steps.push_back(dialog.password + ":" + (dialog.surveyControlsEnabled ? "1" : "0") +
                            ":" + std::to_string(main.saved.size()));
        }
        EXPECT_FALSE(dialog.ended);
    };
    TFormAbout::run(main);
    EXPECT_EQ(steps, (std::vector<std::string>{"Q:1:0", "QX:1:0", "QXJ:0:1"}));
    EXPECT_EQ(main.current.SurveyPassword, "QXJ");
    EXPECT_EQ(main.saved.at(0).SurveyPassword, "QXJ");
}

// Why: the comparison is exact; deleting an extra character afterwards completes it.
TEST(TFormAbout, WrongPasswords)
{
    struct Case
    {
        std::vector<const char*> texts;
        bool accepted;
    };
    const Case cases[] = {
        {{"q", "qx", "qxj"}, false},
        {{"QXJ "}, false},
        {{" QXJ"}, false},
        {{"Q", "QX", "QXJ", "QXJA"}, true}, // accepted already on the way
        {{"QXJA", "QXJ"}, true},            // pasted with an extra character, then deleted
    };
    for (const Case& c : cases) {
        FakeMainForm main;
        main.surveyDue = true;
        main.kit.duringAbout = [&](TFormAbout& form, FakeFormAboutView& dialog) {
            for (const char* text : c.texts) {
                dialog.password = text;
                form.EditPassChange();
            }
        };
        TFormAbout::run(main);
        EXPECT_EQ(main.saved.size(), c.accepted ? 1u : 0u) << c.texts.back();
        EXPECT_EQ(main.current.SurveyPassword, c.accepted ? "QXJ" : "") << c.texts.back();
    }
}

// Why: each click opens the survey page with the identifier as stored, converted from code
// page 932 like the start page's; the dialog stays open.
TEST(TFormAbout, SurveyButtonOpensThePageEachTime)
{
    FakeMainForm main;
    main.surveyDue = true;
    main.current.UserID = "12345-678\x83\x5C";
    main.kit.duringAbout = [&](TFormAbout& form, FakeFormAboutView& dialog) {
        form.ButtonMonitorClick();
        form.ButtonMonitorClick();
        EXPECT_FALSE(dialog.ended);
    };
    TFormAbout::run(main);
    const std::string page =
        std::string("http://") + BuildConfig::MakerHost + "/rupeta/monitor.aspx?ID=12345-678ソ";
    EXPECT_EQ(main.opened, (std::vector<std::string>{page, page}));
}

// Why: no cancel button: Esc leaves the dialog open; the close button ends it.
TEST(TFormAbout, EscapeDoesNotCloseTheButtonDoes)
{
    FakeMainForm main;
    bool openAfterEscape = false;
    main.kit.duringAbout = [&](TFormAbout& form, FakeFormAboutView& dialog) {
        dialog.pressEscape();
        openAfterEscape = !dialog.ended;
        form.OKButtonClick();
    };
    TFormAbout::run(main);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "EnableMenus(false)", "EnableMenus(true)"}));
}

// Why: a reminder click while the dialog is open calls the opener again: nothing happens, and
// the guard is released afterwards.
TEST(TFormAbout, SecondOpeningWhileOpenReturnsAtOnce)
{
    FakeMainForm main;
    main.kit.duringAbout = [&](TFormAbout&, FakeFormAboutView&) { TFormAbout::run(main); };
    TFormAbout::run(main);
    EXPECT_EQ(main.kit.dialogsMade, 1);
    EXPECT_EQ(main.calls, (Calls{"IsSurveyDue", "EnableMenus(false)", "EnableMenus(true)"}));
    main.kit.duringAbout = nullptr;
    TFormAbout::run(main);
    EXPECT_EQ(main.kit.dialogsMade, 2);
}
