// The control tables made from the stored layouts: a few controls of each window against the
// rectangles, classes and roles written in the .ui files (children of group boxes and frames
// moved by their parents' offsets), and unique ids and real rectangles everywhere.
#include "Layouts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <span>
#include <string>

namespace {

struct Window
{
    const char* name;
    const Layout::Window& window;
    std::span<const Layout::Control> controls;
};

const Window Windows[] = {
    {"FormConfig", Layouts::FormConfig::window, Layouts::FormConfig::controls},
    {"FormAbout", Layouts::FormAbout::window, Layouts::FormAbout::controls},
    {"Form_Stretch", Layouts::Form_Stretch::window, Layouts::Form_Stretch::controls},
    {"Form2", Layouts::Form2::window, Layouts::Form2::controls},
};

const Layout::Control* find(const Window& window, const char* name)
{
    for (const auto& c : window.controls) {
        if (std::strcmp(c.name, name) == 0)
            return &c;
    }
    return nullptr;
}

} // namespace

TEST(Layouts, ControlsSitWhereTheLayoutsPutThem)
{
    // Why: the Windows dialogs must match the Linux ones pixel for pixel at 96 dpi.
    struct Case
    {
        int window;
        const char* control;
        const wchar_t* className;
        Layout::Rect rect; // .ui geometry plus its parents' offsets
    };
    const Case cases[] = {
        {0, "GroupBox1", L"BUTTON", {8, 8, 193, 89}},
        {0, "EditTimer", L"EDIT", {8 + 16, 8 + 32, 49, 20}},
        {0, "UpDown_Timer", L"msctls_updown32", {8 + 65, 8 + 32, 16, 20}},
        {0, "RadioButton4", L"BUTTON", {208 + 88, 8 + 64, 57, 17}},
        {0, "Label4", L"STATIC", {8 + 104, 104 + 43, 70, 12}},
        {0, "CancelBtn", L"BUTTON", {287, 180, 75, 25}},
        {1, "Panel1", L"STATIC", {8, 8, 329, 129}},
        {1, "Copyright", L"STATIC", {8 + 64, 8 + 32, 170, 14}},
        {1, "ButtonMonitor", L"BUTTON", {8 + 176, 144 + 45, 137, 25}},
        {1, "EditPass", L"EDIT", {8 + 224, 144 + 104, 89, 20}},
        {2, "Image1", L"STATIC", {8, 8, 640, 396}},
        {2, "Button1", L"BUTTON", {552, 408, 91, 25}},
        {3, "Shape1", L"STATIC", {0, 0, 153, 57}},
        {3, "Label2", L"STATIC", {32, 42, 108, 11}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(Windows[c.window].name) + "." + c.control);
        const Layout::Control* control = find(Windows[c.window], c.control);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(control->className, c.className);
        EXPECT_EQ(control->rect.x, c.rect.x);
        EXPECT_EQ(control->rect.y, c.rect.y);
        EXPECT_EQ(control->rect.width, c.rect.width);
        EXPECT_EQ(control->rect.height, c.rect.height);
    }
}

TEST(Layouts, WindowsCarryCaptionSizeFontAndBackground)
{
    struct Case
    {
        int window;
        const wchar_t* caption;
        int width;
        int height;
        COLORREF background;
    };
    const Case cases[] = {
        {0, L"ルペタ設定", 371, 210, Layout::NoColour},
        {1, L"ルペタについて", 344, 288, Layout::NoColour},
        {2, L"座ったままで簡単ストレッチ", 654, 437, Layout::NoColour},
        {3, L"ルペタ", 196, 74, RGB(255, 98, 98)},
    };
    for (const auto& c : cases) {
        const Layout::Window& w = Windows[c.window].window;
        SCOPED_TRACE(w.name);
        EXPECT_STREQ(w.caption, c.caption);
        EXPECT_EQ(w.clientWidth, c.width);
        EXPECT_EQ(w.clientHeight, c.height);
        EXPECT_EQ(w.background, c.background);
        EXPECT_STREQ(w.font.face, L"ＭＳ Ｐゴシック");
        EXPECT_EQ(w.font.pixelHeight, 12);
    }
}

TEST(Layouts, RolesOfTheLayoutsAreKept)
{
    // Why: Enter presses the default button and Esc the cancel one through the dialog
    // manager, which knows them by the ids IDOK and IDCANCEL.
    const auto& config = Windows[0];
    EXPECT_EQ(find(config, "OKBtn")->id, IDOK);
    EXPECT_EQ(find(config, "OKBtn")->style & BS_TYPEMASK, DWORD{BS_DEFPUSHBUTTON});
    EXPECT_EQ(find(config, "CancelBtn")->id, IDCANCEL);
    EXPECT_EQ(find(config, "CancelBtn")->style & BS_TYPEMASK, DWORD{BS_PUSHBUTTON});
    // Dialogs without a cancel button have no IDCANCEL, so Esc leaves them open.
    for (const auto& window : {Windows[1], Windows[2]}) {
        for (const auto& c : window.controls)
            EXPECT_NE(c.id, IDCANCEL) << window.name << "." << c.name;
    }
    EXPECT_EQ(find(Windows[1], "OKButton")->id, IDOK);
    EXPECT_EQ(find(Windows[2], "Button1")->id, IDOK);

    const auto* upDown = find(config, "UpDown_Reset");
    EXPECT_EQ(std::strcmp((upDown - 1)->name, "Edit_Reset"), 0) << "buddy comes just before";
    // The ranges are the program's rules (core/Settings.h, tested there and in TFormConfigTest),
    // handed over by the dialog, not written into the layout a second time.
    EXPECT_EQ(upDown->range.maximum, 0);
    EXPECT_EQ(find(config, "UpDown_Timer")->range.maximum, 0);
    EXPECT_NE(upDown->style & UDS_SETBUDDYINT, 0u);
    EXPECT_EQ(upDown->style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT), 0u) << "would move the control";

    // The survey panel starts hidden, its contents with it.
    for (const char* name : {"GroupBox_Monitor", "Label3", "EditPass"})
        EXPECT_EQ(find(Windows[1], name)->style & WS_VISIBLE, 0u) << name;
    EXPECT_NE(find(Windows[1], "Panel1")->style & WS_VISIBLE, 0u);
    EXPECT_NE(find(Windows[1], "EditPass")->style & ES_PASSWORD, 0u);
    EXPECT_EQ(find(Windows[1], "EditPass")->passwordChar, L'*');

    const auto* link = find(Windows[3], "Label2");
    EXPECT_TRUE(link->handCursor);
    EXPECT_NE(link->style & SS_NOTIFY, 0u);
    EXPECT_TRUE(link->font.underline);
    EXPECT_EQ(link->font.pixelHeight, 11);
    EXPECT_EQ(link->textColour, RGB(0, 0, 255));
    EXPECT_TRUE(find(Windows[3], "Label1")->font.bold);
    EXPECT_STREQ(find(Windows[1], "Copyright")->font.face, L"Arial");
}

TEST(Layouts, EveryTableHasUniqueIdsAndRealRectangles)
{
    for (const auto& window : Windows) {
        SCOPED_TRACE(window.name);
        std::set<int> ids;
        int defaults = 0;
        for (const auto& c : window.controls) {
            EXPECT_TRUE(ids.insert(c.id).second) << c.name << " shares its id";
            EXPECT_NE(c.style & WS_CHILD, 0u) << c.name;
            EXPECT_GE(c.rect.x, 0) << c.name;
            EXPECT_GE(c.rect.y, 0) << c.name;
            EXPECT_GT(c.rect.width, 0) << c.name;
            EXPECT_GT(c.rect.height, 0) << c.name;
            defaults += (std::wstring(c.className) == L"BUTTON" &&
                         (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                            ? 1
                            : 0;
        }
        EXPECT_LE(defaults, 1);
    }
}
