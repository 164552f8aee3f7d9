// The stretch guide's rules against a fake view: Esc, its button and its re-entrancy guard.
#include "tests/windows/FakeMainForm.h"

#include "windows/TForm_Stretch.h"

#include <gtest/gtest.h>

// Why: no cancel button: Esc leaves the guide open; its button ends it.
TEST(TForm_Stretch, EscapeDoesNotCloseTheButtonDoes)
{
    FakeMainForm main;
    bool openAfterEscape = false;
    std::optional<ModalResult> result;
    main.kit.duringStretch = [&](TForm_Stretch& form, FakeForm_StretchView& guide) {
        guide.pressEscape();
        openAfterEscape = !guide.ended;
        form.Button1Click();
        result = guide.ended;
    };
    TForm_Stretch::run(main);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(result, ModalResult::Ok);
    EXPECT_EQ(main.calls, (Calls{"EnableMenus(false)", "EnableMenus(true)"}));
}

// Why: a reminder's link label while the guide is open must not open a second guide; the
// guard is released afterwards.
TEST(TForm_Stretch, SecondOpeningWhileOpenReturnsAtOnce)
{
    FakeMainForm main;
    main.kit.duringStretch = [&](TForm_Stretch&, FakeForm_StretchView&) {
        TForm_Stretch::run(main);
    };
    TForm_Stretch::run(main);
    EXPECT_EQ(main.kit.dialogsMade, 1);
    EXPECT_EQ(main.calls, (Calls{"EnableMenus(false)", "EnableMenus(true)"}));
    main.kit.duringStretch = nullptr;
    TForm_Stretch::run(main);
    EXPECT_EQ(main.kit.dialogsMade, 2);
    EXPECT_EQ(main.calls.size(), 4u);
}

// Why: a guide abandoned when the program ends leaves the menus alone and its guard free.
TEST(TForm_Stretch, AbandonedRunTouchesNothingAfterwards)
{
    FakeMainForm main;
    main.kit.duringStretch = [](TForm_Stretch&, FakeForm_StretchView& guide) {
        guide.abandon = true;
    };
    TForm_Stretch::run(main);
    EXPECT_EQ(main.calls, (Calls{"EnableMenus(false)"}));
    main.kit.duringStretch = nullptr;
    TForm_Stretch::run(main);
    EXPECT_EQ(main.kit.dialogsMade, 2);
}
