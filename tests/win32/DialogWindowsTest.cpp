// The real settings, about and stretch dialogs (TFormConfig, TFormAbout, TForm_Stretch over
// their Win32 views) run modally on a desktop under Wine: controls at their table rectangles,
// keys, up-down arrows, the other windows blocked during a run, and WM_QUIT ending runs. Keys,
// typed text and clicks are real input (SendInput, which Wine hands to the focused control and
// to the window under the pointer); only the close box is a message (WM_CLOSE posted).
// Needs a desktop (tests/e2e/wine_dialogs.sh); writes a picture of each dialog (dialog-*.bmp)
// into the working directory.
#include "Layouts.h"
#include "core/DialogPlace.h"
#include "core/Texts.h"
#include "tests/windows/FakeMainForm.h"
#include "win32/Win32FormAbout.h"
#include "win32/Win32FormConfig.h"
#include "win32/Win32Form_Stretch.h"
#include "windows/TFormAbout.h"
#include "windows/TFormConfig.h"
#include "windows/TForm_Stretch.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <string>
#include <vector>

namespace {

// One thing a test does while a dialog runs, from the dialog's own message loop; it runs again
// every 20 ms until it returns true.
using Step = std::function<bool()>;

// The steps of the runs under way, innermost last. A step that opens a dialog of its own stays
// under way until that dialog's run has ended. When the steps are done the run must end by
// itself; a step that never comes true, or a run that never ends, fails the test and ends the
// run as Cancel.
class Steps
{
public:
    static void start(std::vector<Step> steps, DialogView& view)
    {
        if (s_timer == 0)
            s_timer = SetTimer(nullptr, 0, 20, &tick);
        s_scripts.push_back(std::make_unique<Script>(std::move(steps), view));
        s_scripts.back()->deadline = GetTickCount() + TimeoutMs;
    }

    // The view's run has ended.
    static void stop(const DialogView& view)
    {
        std::erase_if(s_scripts, [&view](const auto& s) { return s->view == &view; });
    }

private:
    static constexpr DWORD TimeoutMs = 10000;

    struct Script
    {
        Script(std::vector<Step> s, DialogView& v) : steps(std::move(s)), view(&v) {}
        std::vector<Step> steps;
        DialogView* view;
        std::size_t next = 0;
        DWORD deadline = 0;
        bool busy = false;
    };

    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_scripts.empty())
            return;
        Script& script = *s_scripts.back();
        if (script.busy)
            return;
        if (static_cast<LONG>(GetTickCount() - script.deadline) > 0) {
            if (script.next < script.steps.size())
                ADD_FAILURE() << "step " << script.next << " of a dialog's run never came true";
            else
                ADD_FAILURE() << "a dialog's run did not end after its steps";
            script.deadline = GetTickCount() + TimeoutMs;
            script.view->endModal(ModalResult::Cancel);
            return;
        }
        if (script.next == script.steps.size())
            return;
        script.busy = true;
        const bool done = script.steps[script.next]();
        script.busy = false;
        if (done) {
            ++script.next;
            script.deadline = GetTickCount() + TimeoutMs;
        }
    }

    static inline UINT_PTR s_timer = 0;
    static inline std::vector<std::unique_ptr<Script>> s_scripts;
};

// The toolkit of the window tests with the real Win32 dialog views, which runs the steps queued
// for each dialog made and records how each run ended.
class DesktopToolkit : public FakeToolkit
{
public:
    std::unique_ptr<TFormConfigView> createView(TFormConfig& form) override
    {
        return made(std::make_unique<Recorded<Win32FormConfig, TFormConfig>>(form, *this));
    }
    std::unique_ptr<TFormAboutView> createView(TFormAbout& form) override
    {
        auto view = std::make_unique<Recorded<Win32FormAbout, TFormAbout>>(form, *this);
        about = view.get();
        return made(std::move(view));
    }
    std::unique_ptr<TForm_StretchView> createView(TForm_Stretch& form) override
    {
        return made(std::make_unique<Recorded<Win32Form_Stretch, TForm_Stretch>>(form, *this));
    }

    // The steps of the next dialogs made, in order; the dialog's window is in `dialog`.
    std::deque<std::vector<Step>> scripts;
    HWND dialog = nullptr;
    Win32FormAbout* about = nullptr; // the last about box made
    std::vector<ModalResult> results;

private:
    template <typename View, typename Form> class Recorded : public View
    {
    public:
        Recorded(Form& form, DesktopToolkit& kit) : View(form), m_kit(kit) {}
        ModalResult runModal(bool escapeCancels) override
        {
            const ModalResult result = View::runModal(escapeCancels);
            Steps::stop(*this);
            m_kit.results.push_back(result);
            return result;
        }

    private:
        DesktopToolkit& m_kit;
    };

    template <typename View> std::unique_ptr<View> made(std::unique_ptr<View> view)
    {
        dialog = view->window();
        if (scripts.empty()) {
            ADD_FAILURE() << "a dialog nobody expected";
            Steps::start({}, *view);
        } else {
            Steps::start(std::move(scripts.front()), *view);
            scripts.pop_front();
        }
        return view;
    }
};

class DesktopMainForm : public FakeMainForm
{
public:
    Toolkit& toolkit() override { return desktop; }
    DesktopToolkit desktop;
};

// Real key presses, as the keyboard gives them to the focused window.
void pressKeys(std::span<const WORD> keys)
{
    std::vector<INPUT> inputs;
    for (const WORD key : keys)
        for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Real typing of text, as an input method gives it.
void typeText(std::wstring_view text)
{
    std::vector<INPUT> inputs;
    for (const wchar_t ch : text)
        for (const DWORD flags :
             {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = ch;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Real left clicks at points of a window's client area, one after the other.
void clickAt(HWND window, std::span<const POINT> points)
{
    std::vector<INPUT> inputs;
    for (POINT p : points) {
        ClientToScreen(window, &p);
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        move.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        inputs.push_back(move);
        for (const DWORD flags : {DWORD{MOUSEEVENTF_LEFTDOWN}, DWORD{MOUSEEVENTF_LEFTUP}}) {
            INPUT click{};
            click.type = INPUT_MOUSE;
            click.mi.dwFlags = flags;
            inputs.push_back(click);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring textOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

RECT clientRectOf(HWND child, HWND parent)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool isLabel(const Layout::Control& control)
{
    return std::wcscmp(control.className, L"STATIC") == 0 &&
           (control.style & SS_TYPEMASK) == SS_LEFT;
}

// The width of a control's text in its font, on one line.
int captionWidth(HWND control)
{
    const HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = textOf(control);
    RECT r{};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right - r.left;
}

// The dialog is up, in front, with the keyboard.
Step shown(DesktopToolkit& kit)
{
    return [&kit] {
        return IsWindowVisible(kit.dialog) && GetForegroundWindow() == kit.dialog &&
               GetFocus() != nullptr && IsChild(kit.dialog, GetFocus());
    };
}

// Steps that act and are done at once.
Step act(std::function<void()> action)
{
    return [action = std::move(action)] {
        action();
        return true;
    };
}

// The client area as a 24-bit bitmap file.
void writePicture(HWND window, const std::string& path)
{
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(window);
    const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD pixelBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + pixelBytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), pixelBytes);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(window, screen);
}

// Keys still on their way from a finished run go nowhere near the next one.
void dropPendingInput()
{
    MSG msg;
    const DWORD end = GetTickCount() + 300;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
               PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
    }
}

class DialogWindows : public ::testing::Test
{
protected:
    void TearDown() override { dropPendingInput(); }

    DesktopMainForm main;
    DesktopToolkit& kit = main.desktop;
};

// Which dialog a case opens, and what its table says.
struct Dialog
{
    const char* name;
    void (*run)(MainForm&);
    const Layout::Window& window;
    std::span<const Layout::Control> controls;
};

const Dialog Config{"config", &TFormConfig::run, Layouts::FormConfig::window,
                    Layouts::FormConfig::controls};
const Dialog About{"about", &TFormAbout::run, Layouts::FormAbout::window,
                   Layouts::FormAbout::controls};
const Dialog Stretch{"stretch", &TForm_Stretch::run, Layouts::Form_Stretch::window,
                     Layouts::Form_Stretch::controls};

struct PlaceCase
{
    const char* name;
    const Dialog& dialog;
    bool surveyDue;
    int clientHeight; // the table's unless the window sets it
    int okButtonTop;  // ditto, for the about box's close button
    int firstFocus;   // the first control in tab order
};

const PlaceCase PlaceCases[] = {
    {"config", Config, false, Layouts::FormConfig::window.clientHeight, -1,
     Layouts::FormConfig::EditTimer},
    {"about", About, false, TFormAbout::CompactHeight, TFormAbout::CompactButtonTop,
     Layouts::FormAbout::OKButton},
    {"about-survey", About, true, TFormAbout::SurveyHeight, TFormAbout::SurveyButtonTop,
     Layouts::FormAbout::OKButton},
    {"stretch", Stretch, false, Layouts::Form_Stretch::window.clientHeight, -1,
     Layouts::Form_Stretch::Button1},
};

class DialogPlaces : public DialogWindows, public ::testing::WithParamInterface<PlaceCase>
{
};

TEST_P(DialogPlaces, ControlsSitAtTheirTableRectanglesInACentredWindow)
{
    // Why: the dialogs must look as their stored layouts say, pixel for pixel at 96 dpi.
    const PlaceCase& c = GetParam();
    main.surveyDue = c.surveyDue;
    kit.scripts.push_back(
        {shown(kit), act([&] {
             const HWND dialog = kit.dialog;
             EXPECT_EQ(textOf(dialog), c.dialog.window.caption);
             RECT client{};
             GetClientRect(dialog, &client);
             EXPECT_EQ(client.right, c.dialog.window.clientWidth);
             EXPECT_EQ(client.bottom, c.clientHeight);
             RECT frame{};
             GetWindowRect(dialog, &frame);
             const ScreenPoint centred =
                 centredOn({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                           frame.right - frame.left, frame.bottom - frame.top);
             EXPECT_EQ(frame.left, centred.x);
             EXPECT_EQ(frame.top, centred.y);
             EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.firstFocus));

             for (const Layout::Control& control : c.dialog.controls) {
                 SCOPED_TRACE(std::string(c.name) + "." + control.name);
                 const HWND child = GetDlgItem(dialog, control.id);
                 ASSERT_NE(child, nullptr);
                 const RECT r = clientRectOf(child, dialog);
                 const bool movedButton = std::strcmp(control.name, "OKButton") == 0;
                 EXPECT_EQ(r.left, control.rect.x);
                 EXPECT_EQ(r.top, movedButton ? c.okButtonTop : control.rect.y);
                 // Labels take the width of their caption (with the layout font that of the
                 // table); the rest keep the table's.
                 EXPECT_EQ(r.right - r.left,
                           isLabel(control) ? captionWidth(child) : control.rect.width);
                 EXPECT_EQ(r.bottom - r.top, control.rect.height);
                 // The survey panel and what is in it show only while the survey is due.
                 const bool inPanel = std::strcmp(control.name, "GroupBox_Monitor") == 0 ||
                                      std::strcmp(control.parent, "GroupBox_Monitor") == 0;
                 EXPECT_EQ(IsWindowVisible(child) != 0, inPanel ? c.surveyDue : true);
                 if (control.picture != nullptr) {
                     const UINT type =
                         (control.style & SS_TYPEMASK) == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP;
                     EXPECT_NE(SendMessageW(child, STM_GETIMAGE, type, 0), 0);
                 }
             }
             writePicture(dialog, std::string("dialog-") + c.name + ".bmp");
             PostMessageW(dialog, WM_CLOSE, 0, 0);
         })});
    c.dialog.run(main);
    EXPECT_EQ(kit.results, std::vector{ModalResult::Cancel});
    EXPECT_TRUE(main.saved.empty());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogPlaces, ::testing::ValuesIn(PlaceCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(DialogWindows, TheStretchPictureShowsAsStoredPixelForPixel)
{
    // Why: the picture is built into the program compressed; what the guide shows must be the
    // stored picture exactly (resource 300 of this test is the file as stored).
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(300), MAKEINTRESOURCEW(10));
    ASSERT_NE(found, nullptr);
    const auto* file = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(file + sizeof(BITMAPFILEHEADER));
    const auto* palette = reinterpret_cast<const RGBQUAD*>(info + 1);
    const BYTE* stored = file + reinterpret_cast<const BITMAPFILEHEADER*>(file)->bfOffBits;
    const int width = info->biWidth, height = info->biHeight; // rows bottom-up
    ASSERT_EQ(info->biBitCount, 8);

    std::vector<RGBQUAD> onScreen(static_cast<std::size_t>(width * height));
    kit.scripts.push_back(
        {shown(kit), act([&] {
             const HWND image = GetDlgItem(kit.dialog, Layouts::Form_Stretch::Image1);
             const auto bitmap =
                 reinterpret_cast<HBITMAP>(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0));
             BITMAPINFOHEADER header{sizeof header, width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
             const HDC dc = GetDC(image);
             EXPECT_EQ(GetDIBits(dc, bitmap, 0, height, onScreen.data(),
                                 reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS),
                       height);
             ReleaseDC(image, dc);
             PostMessageW(kit.dialog, WM_CLOSE, 0, 0);
         })});
    TForm_Stretch::run(main);
    int differ = 0;
    for (int i = 0; i < width * height; ++i) {
        const RGBQUAD want = palette[stored[i]]; // the width is a multiple of four: no padding
        const RGBQUAD got = onScreen[static_cast<std::size_t>(i)];
        differ += want.rgbRed != got.rgbRed || want.rgbGreen != got.rgbGreen ||
                  want.rgbBlue != got.rgbBlue;
    }
    EXPECT_EQ(differ, 0) << "of " << width * height << " pixels";
}

struct KeyCase
{
    const char* name;
    const Dialog& dialog;
    std::vector<WORD> keys;
    ModalResult result;
    int savedTimerMinutes; // -1: nothing saved
};

const KeyCase KeyCases[] = {
    // The typed text replaces the box's, which the focus selected; OK forces it into range.
    {"config_typed_100_enter", Config, {'1', '0', '0', VK_RETURN}, ModalResult::Ok, 90},
    {"config_typed_45_enter", Config, {'4', '5', VK_RETURN}, ModalResult::Ok, 45},
    {"config_escape", Config, {'4', '5', VK_ESCAPE}, ModalResult::Cancel, -1},
    // Without a cancel button Esc does nothing: the Enter after it presses the default button.
    {"about_escape_then_enter", About, {VK_ESCAPE, VK_RETURN}, ModalResult::Ok, -1},
    {"stretch_escape_then_enter", Stretch, {VK_ESCAPE, VK_RETURN}, ModalResult::Ok, -1},
};

class DialogKeys : public DialogWindows, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(DialogKeys, EnterPressesTheDefaultButtonAndEscCancelsOnlyWithACancelButton)
{
    const KeyCase& c = GetParam();
    kit.scripts.push_back({shown(kit), act([&] { pressKeys(c.keys); })});
    c.dialog.run(main);
    EXPECT_EQ(kit.results, std::vector{c.result});
    if (c.savedTimerMinutes < 0) {
        EXPECT_TRUE(main.saved.empty());
    } else {
        ASSERT_EQ(main.saved.size(), 1u);
        EXPECT_EQ(main.saved[0].TimerMinutes, c.savedTimerMinutes);
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogKeys, ::testing::ValuesIn(KeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct SpinCase
{
    const char* name;
    int timerMinutes, resetMinutes;           // as stored before the dialog opens
    std::vector<WORD> timerKeys;              // arrow keys in the interval's box
    std::vector<int> resetClicks;             // +1 the upper arrow, -1 the lower
    int savedTimerMinutes, savedResetMinutes; // after OK
};

const SpinCase SpinCases[] = {
    {"step_up_to_the_top", 85, 15, {VK_UP, VK_UP}, {+1, -1}, 90, 14},
    {"step_down_to_the_bottom", 35, 5, {VK_DOWN, VK_DOWN}, {-1, +1}, 30, 6},
    {"step_by_five_and_one", 60, 10, {VK_UP, VK_DOWN, VK_DOWN}, {-1, +1, -1}, 55, 9},
};

class DialogSpins : public DialogWindows, public ::testing::WithParamInterface<SpinCase>
{
};

TEST_P(DialogSpins, ArrowsStepWithinTheRangeWithoutWrappingAround)
{
    // Why: the arrows are how most people set the interval; a wrap-around would turn 90 into 30.
    const SpinCase& c = GetParam();
    main.current.TimerMinutes = c.timerMinutes;
    main.current.ResetMinutes = c.resetMinutes;
    kit.scripts.push_back(
        {shown(kit), act([&] {
             // The interval's box has the focus; the reset's arrows take clicks.
             pressKeys(c.timerKeys);
             const HWND dialog = kit.dialog;
             const RECT arrows =
                 clientRectOf(GetDlgItem(dialog, Layouts::FormConfig::UpDown_Reset), dialog);
             std::vector<POINT> points;
             for (const int click : c.resetClicks)
                 points.push_back({(arrows.left + arrows.right) / 2,
                                   click > 0 ? arrows.top + 4 : arrows.bottom - 4});
             clickAt(dialog, points);
             const WORD enter = VK_RETURN;
             pressKeys({&enter, 1});
         })});
    TFormConfig::run(main);
    EXPECT_EQ(kit.results, std::vector{ModalResult::Ok});
    ASSERT_EQ(main.saved.size(), 1u);
    EXPECT_EQ(main.saved[0].TimerMinutes, c.savedTimerMinutes);
    EXPECT_EQ(main.saved[0].ResetMinutes, c.savedResetMinutes);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogSpins, ::testing::ValuesIn(SpinCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogWindows, TheKeyboardAloneReachesEverySetting)
{
    // Why: a dialog must work without a mouse. Tab from the interval's box lands on the checked
    // position (the positions are one stop, so Space there cannot change them by accident), the
    // arrows move the position, Tab again reaches the check box, and Space unticks the auto
    // reset, which disables the idle minutes' controls at once.
    namespace L = Layouts::FormConfig;
    const auto focusIs = [&](int id) {
        return [&, id] { return GetFocus() == GetDlgItem(kit.dialog, id); };
    };
    const auto press = [](std::initializer_list<WORD> keys) {
        return act([keys = std::vector<WORD>(keys)] { pressKeys(keys); });
    };
    kit.scripts.push_back(
        {shown(kit), press({VK_TAB}), focusIs(L::RadioButton4), press({VK_SPACE, VK_UP}),
         focusIs(L::RadioButton2), act([&] {
             EXPECT_EQ(IsDlgButtonChecked(kit.dialog, L::RadioButton2), BST_CHECKED);
             EXPECT_EQ(IsDlgButtonChecked(kit.dialog, L::RadioButton4), BST_UNCHECKED);
             EXPECT_TRUE(IsWindowEnabled(GetDlgItem(kit.dialog, L::Edit_Reset)));
         }),
         press({VK_TAB}), focusIs(L::CheckBox_Reset), press({VK_SPACE}),
         [&] { return !IsWindowEnabled(GetDlgItem(kit.dialog, L::Edit_Reset)); }, act([&] {
             EXPECT_FALSE(IsWindowEnabled(GetDlgItem(kit.dialog, L::UpDown_Reset)));
             EXPECT_FALSE(IsWindowEnabled(GetDlgItem(kit.dialog, L::Label4)));
         }),
         press({VK_RETURN})});
    TFormConfig::run(main);
    EXPECT_EQ(kit.results, std::vector{ModalResult::Ok});
    ASSERT_EQ(main.saved.size(), 1u);
    EXPECT_FALSE(main.saved[0].AutoReset);
    EXPECT_EQ(main.saved[0].AlarmPosition, 1); // RadioButton2
}

TEST_F(DialogWindows, TheCampaignPasswordTypedEndsTheSurveyRequest)
{
    // Why: the password is the only way the survey requests end. What is typed reaches the
    // program as its UTF-8 text, Japanese included, and shows as "*"; only the whole password,
    // in its case, is taken.
    namespace L = Layouts::FormAbout;
    main.surveyDue = true;
    const auto passBox = [&] { return GetDlgItem(kit.dialog, L::EditPass); };
    kit.scripts.push_back({shown(kit), act([&] {
                               const std::string version = Texts::versionLine(); // plain ASCII
                               EXPECT_EQ(textOf(GetDlgItem(kit.dialog, L::Version)),
                                         std::wstring(version.begin(), version.end()));
                               EXPECT_EQ(SendMessageW(passBox(), EM_GETPASSWORDCHAR, 0, 0), L'*');
                               const WORD tabs[] = {VK_TAB, VK_TAB};
                               pressKeys(tabs);
                               typeText(L"パスqxj");
                           }),
                           [&] { return GetWindowTextLengthW(passBox()) == 5; }, act([&] {
                               EXPECT_EQ(kit.about->passwordText(), "パスqxj");
                               EXPECT_TRUE(IsWindowEnabled(passBox()));
                               EXPECT_TRUE(main.saved.empty());
                               const WORD back[] = {VK_BACK, VK_BACK, VK_BACK, VK_BACK, VK_BACK};
                               pressKeys(back);
                               typeText(L"QXJ");
                           }),
                           [&] { return !IsWindowEnabled(passBox()); }, act([&] {
                               EXPECT_FALSE(
                                   IsWindowEnabled(GetDlgItem(kit.dialog, L::ButtonMonitor)));
                               // The focus left the disabled box, so Enter still reaches the close
                               // button.
                               const WORD enter = VK_RETURN;
                               pressKeys({&enter, 1});
                           })});
    TFormAbout::run(main);
    EXPECT_EQ(kit.results, std::vector{ModalResult::Ok});
    ASSERT_EQ(main.saved.size(), 1u);
    EXPECT_EQ(main.saved[0].SurveyPassword, "QXJ");
}

// A top-level window of the program other than the dialogs.
HWND makeWindow(bool visible)
{
    static const ATOM atom = [] {
        WNDCLASSW c{};
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"OtherWindow";
        return RegisterClassW(&c);
    }();
    EXPECT_NE(atom, 0);
    const HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW, L"OtherWindow", L"other", WS_POPUP | WS_BORDER, 10, 10,
                        100, 50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (visible)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

TEST_F(DialogWindows, ARunBlocksTheWindowsThatWereUpAndNoOthers)
{
    // Why: a second dialog or a click on an old reminder must not act behind the dialog's back,
    // while the tray (a hidden window) and a reminder that comes up meanwhile stay usable.
    const HWND up = makeWindow(true);
    const HWND tray = makeWindow(false);
    HWND later = nullptr;
    kit.scripts.push_back({shown(kit), act([&] {
                               EXPECT_FALSE(IsWindowEnabled(up));
                               EXPECT_TRUE(IsWindowEnabled(tray));
                               later = makeWindow(true);
                               EXPECT_TRUE(IsWindowEnabled(later));
                               PostMessageW(kit.dialog, WM_CLOSE, 0, 0);
                           })});
    TForm_Stretch::run(main);
    EXPECT_EQ(kit.results, std::vector{ModalResult::Cancel});
    EXPECT_TRUE(IsWindowEnabled(up));
    EXPECT_TRUE(IsWindowEnabled(tray));
    EXPECT_TRUE(IsWindowEnabled(later));
    for (const HWND window : {up, tray, later})
        DestroyWindow(window);
}

TEST_F(DialogWindows, QuitDuringNestedRunsAbandonsEveryRun)
{
    // Why: ending the program while the stretch guide is open over the settings dialog must end
    // both runs and the program's loop, and nothing after a run may touch the gone main window.
    HWND config = nullptr;
    kit.scripts.push_back({shown(kit), act([&] {
                               config = kit.dialog;
                               TForm_Stretch::run(main);
                           })});
    kit.scripts.push_back({shown(kit), act([&] {
                               // The outer dialog is one of the windows that were up.
                               EXPECT_FALSE(IsWindowEnabled(config));
                               PostQuitMessage(7);
                           })});
    TFormConfig::run(main);
    EXPECT_EQ(kit.results, (std::vector{ModalResult::Abandoned, ModalResult::Abandoned}));
    EXPECT_EQ(main.calls, (Calls{"EnableMenus(false)", "EnableMenus(false)"}));
    EXPECT_TRUE(main.saved.empty());
    // The quit is still there for the program's own loop.
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
