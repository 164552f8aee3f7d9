// The main window's rules against a fake platform, views, timers and clock: start-up, menu
// enabling, tray pictures and clicks, the links menu, demo mode, notices and shutdown.
#include "tests/shell/FakePlatform.h"
#include "tests/windows/FakeToolkit.h"

#include "core/Settings.h"
#include "core/TrayStatus.h"
#include "shell/Chime.h"
#include "shell/ShellToolkit.h"
#include "shell/TForm1.h"
#include "shell/TForm1View.h"

#include "BuildConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

class FakeChime : public Chime
{
public:
    void play() override { ++plays; }
    void stop() override { ++stops; }
    int plays = 0;
    int stops = 0;
};

class FakeForm1View : public TForm1View
{
public:
    struct Link
    {
        std::string caption;
        bool separator = false;
        bool visible = true;
    };

    void showDemoItem() override { demoShown = true; }
    void checkDemoItem(bool checked) override { demoChecked = checked; }
    void enableMenuItem(MenuItem item, bool on) override { enabled[item] = on; }
    void setLinkItem(std::size_t index, const std::string& caption, bool separator,
                     bool visible) override
    {
        links.at(index) = {caption, separator, visible};
    }
    void showTrayIcon(int image, const std::string& tip) override
    {
        trayShown = true;
        images.push_back(image);
        tooltip = tip;
    }
    void giveMenuToTrayHost() override
    {
        menuGivenBeforeShowing = !trayShown;
        ++menusGiven;
    }
    void setTrayImage(int image) override { images.push_back(image); }
    void setTrayTooltip(const std::string& tip) override { tooltip = tip; }
    void removeTrayIcon() override { trayShown = false; }
    bool trayAvailable() const override { return tray; }
    ScreenPoint clickPoint() override { return hostPoint; }
    void popupMenu(ScreenPoint at) override { menus.push_back(at); }
    int doubleClickMs() const override { return 400; }
    void showNotice(const Notice& notice) override { notices.push_back(notice); }
    void keepHidden() override { ++hides; }

    bool demoShown = false;
    bool demoChecked = false;
    std::map<MenuItem, bool> enabled;
    std::array<Link, 5> links;
    bool trayShown = false;
    int menusGiven = 0;
    bool menuGivenBeforeShowing = false;
    std::vector<int> images; // every picture sent, the first with the icon
    std::string tooltip;
    bool tray = true;
    ScreenPoint hostPoint{10, 20};
    std::vector<ScreenPoint> menus;
    std::vector<Notice> notices;
    int hides = 0;
};

class FakeShellToolkit : public FakeToolkitOf<ShellToolkit>
{
public:
    using FakeToolkitOf<ShellToolkit>::createView;
    std::unique_ptr<TForm1View> createView(TForm1&) override
    {
        auto view = std::make_unique<FakeForm1View>();
        form1 = view.get();
        return view;
    }
    FakeForm1View* form1 = nullptr;
};

// Every test starts in an empty current directory: no settings, no links.
class TForm1Test : public testing::Test
{
protected:
    void SetUp() override
    {
        m_old = std::filesystem::current_path();
        m_dir =
            std::filesystem::temp_directory_path() /
            ("rupeta-tform1-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        std::filesystem::current_path(m_dir);
    }
    void TearDown() override
    {
        form.reset();
        std::filesystem::current_path(m_old);
        std::filesystem::remove_all(m_dir);
    }

    TForm1& start()
    {
        form.reset();
        kit.timers.clear();
        form = std::make_unique<TForm1>(platform, chime, kit);
        return *form;
    }
    FakeForm1View& view() { return *kit.form1; }
    // The main window's timers, in the order it makes them; the reminder's three follow.
    FakeTimer& tick() { return *kit.timers.at(0); }
    FakeTimer& menuDelay() { return *kit.timers.at(1); }
    FakeTimer& trayWait() { return *kit.timers.at(2); }
    FakeForm2View& popup() { return *kit.form2; }
    void tickSeconds(int seconds, bool moving)
    {
        for (int i = 0; i < seconds; ++i) {
            if (moving)
                platform.cursor = CursorPos{i + 1, 0};
            platform.clock += 1.0 / 86400;
            form->Timer_TickTimer();
        }
    }

    FakePlatform platform;
    FakeChime chime;
    FakeShellToolkit kit;
    std::unique_ptr<TForm1> form;

private:
    std::filesystem::path m_old;
    std::filesystem::path m_dir;
};

} // namespace

// Why: start-up leaves a running once-a-second tick, the tray icon with the minutes in its
// tooltip from the start, the settings file written, and the main window hidden.
TEST_F(TForm1Test, StartUp)
{
    start();
    EXPECT_TRUE(tick().isActive());
    EXPECT_EQ(tick().interval(), 1000);
    EXPECT_TRUE(view().trayShown);
    EXPECT_EQ(view().images, (std::vector<int>{1}));
    EXPECT_EQ(view().tooltip, "0分経過しました\n(タイマー設定: 60分間)");
    EXPECT_TRUE(std::filesystem::exists("rupeta.ini"));
    EXPECT_FALSE(view().demoShown);
    EXPECT_TRUE(view().notices.empty());
    EXPECT_TRUE(trayWait().isActive());
    EXPECT_GE(trayWait().interval(), 5000);
}

// Why: a tray host that reads menus gets the menu, before the icon shows, and may draw it
// itself; an XEmbed tray gets none, or the toolkit would open it beside the program's own.
TEST_F(TForm1Test, MenuGoesToHostsThatReadMenus)
{
    for (const bool reads : {false, true}) {
        platform.hostReadsMenus = reads;
        start();
        EXPECT_EQ(view().menusGiven, reads ? 1 : 0);
        if (reads) {
            EXPECT_TRUE(view().menuGivenBeforeShowing);
        }
    }
}

// Why: the demo item is there only when Ctrl and Shift are held at start-up; it runs the tick
// 100 times faster and back, and its mark shows which.
TEST_F(TForm1Test, DemoItem)
{
    platform.ctrlShift = true;
    start();
    EXPECT_TRUE(view().demoShown);
    form->MenuDemoClick();
    EXPECT_TRUE(view().demoChecked);
    EXPECT_EQ(tick().interval(), 10);
    EXPECT_TRUE(tick().isActive());
    form->MenuDemoClick();
    EXPECT_FALSE(view().demoChecked);
    EXPECT_EQ(tick().interval(), 1000);
}

// Why: url.ini in code page 932: captions converted, "-" a separator without text, an empty
// caption hidden, targets handed over unchanged, an empty target does nothing.
TEST_F(TForm1Test, LinksComeFromUrlIni)
{
    std::ofstream("url.ini", std::ios::binary) << "[URLs]\r\n"
                                                  "Name1=\x83\x5c\x83\x74\x83\x67(&Q)\r\n"
                                                  "Name2=-\r\n"
                                                  "Name3=\r\n"
                                                  "Name4=empty target\r\n"
                                                  "URL1=a b;$(touch pwned)\r\n"
                                                  "URL4=\r\n";
    start();
    const auto& links = view().links;
    EXPECT_EQ(links[0].caption, "ソフト(&Q)");
    EXPECT_TRUE(links[0].visible);
    EXPECT_FALSE(links[0].separator);
    EXPECT_TRUE(links[1].separator);
    EXPECT_EQ(links[1].caption, "");
    EXPECT_TRUE(links[1].visible);
    EXPECT_FALSE(links[2].visible);
    EXPECT_TRUE(links[3].visible);
    EXPECT_EQ(links[4].caption, "ルペタのサイト");

    for (const std::size_t i : {0u, 3u, 4u})
        form->Menu_InfoClick(i);
    EXPECT_EQ(platform.opened, (std::vector<std::string>{"a b;$(touch pwned)",
                                                         std::string("http://") +
                                                             BuildConfig::MakerHost + "/rupeta/"}));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

// Why: ticks reach the engine and the engine reaches the tray: minutes while active, the idle
// picture after ResetMinutes of idleness; the same picture is never sent twice.
TEST_F(TForm1Test, TicksDriveTheTrayAndIdlenessShowsTheIdlePicture)
{
    start();
    tickSeconds(60, true);
    EXPECT_EQ(view().tooltip, "1分経過しました\n(タイマー設定: 60分間)");
    EXPECT_EQ(view().images, (std::vector<int>{1}));
    // Default ResetMinutes 10: the idle reset fires on the 601st idle tick.
    tickSeconds(10 * 60 + 2, false);
    EXPECT_EQ(view().tooltip, "0分経過しました\n(タイマー設定: 60分間)");
    EXPECT_EQ(view().images.back(), 6);
    for (std::size_t i = 1; i < view().images.size(); ++i)
        EXPECT_NE(view().images[i], view().images[i - 1]);
    EXPECT_GT(view().hides, 0); // the main window is kept hidden at every tick
}

// Why: each step of the progress reaches the tray as its picture, sent once per change.
TEST_F(TForm1Test, TrayGetsEachPictureOnce)
{
    start();
    std::vector<int> expected{1};
    for (int step = 15; step >= 0; --step) {
        form->UpdateTrayIcon(step, 16);
        const int image = trayImageFor(step, 16, false);
        if (image != expected.back())
            expected.push_back(image);
        EXPECT_EQ(view().tooltip, trayTooltip(step, 16));
    }
    EXPECT_EQ(view().images, expected);
}

// Why: a desktop that shows the program no input gets one notice that does not hold up the
// start. (That its probes then report activity is the platform layer's part, tested with it.)
TEST_F(TForm1Test, UnseenActivityIsToldOnce)
{
    platform.activitySeen = false;
    start();
    ASSERT_EQ(view().notices.size(), 1u);
    EXPECT_EQ(view().notices[0].name, "NoActivityNotice");
    EXPECT_EQ(view().notices[0].title, "ルペタ");
    EXPECT_NE(view().notices[0].text.find("自動リセットは行いません"), std::string::npos);
    EXPECT_TRUE(view().notices[0].activates);
    EXPECT_TRUE(tick().isActive());
    tickSeconds(10 * 60 + 2, true);
    EXPECT_EQ(view().notices.size(), 1u);
}

// Why: the welcome page opens once per installation and only until 2007-01-01.
TEST_F(TForm1Test, StartPageOpensOnFirstRunInTheCampaign)
{
    for (const int day : {1, 2}) {
        std::filesystem::remove("rupeta.ini");
        platform.opened.clear();
        platform.clock = encodeDate(2007, 1, day) + encodeTime(9, 0, 0);
        start();
        form.reset();
        kit.timers.clear();
        Settings saved;
        SettingsFile::load(saved, platform.clock);
        const std::vector<std::string> expected =
            day == 1 ? std::vector<std::string>{std::string("http://") + BuildConfig::MakerHost +
                                                "/rupeta/start.aspx?ID=" + saved.UserID}
                     : std::vector<std::string>{};
        EXPECT_EQ(platform.opened, expected) << day;
        start(); // the file now holds first-activated
        EXPECT_EQ(platform.opened, expected) << day;
    }
}

// Why: while a dialog runs, the dialog items are off and the popup stops keeping on top;
// reset, links, demo and exit are never switched off.
TEST_F(TForm1Test, EnableMenusSwitchesOnlyTheDialogItems)
{
    start();
    using Item = TForm1View::MenuItem;
    for (const bool on : {false, true}) {
        form->EnableMenus(on);
        EXPECT_EQ(view().enabled, (std::map<Item, bool>{{Item::MenuConfig, on},
                                                        {Item::MenuSample, on},
                                                        {Item::MenuStretch, on},
                                                        {Item::MenuAbout, on}}));
        EXPECT_EQ(form->AlarmForm->KeepOnTop(), on);
    }
}

// Why: a click opens the menu once the double-click time is over, at the place the tray host
// reported; a right click at once; a double click opens the settings dialog only while its
// menu item is enabled, so the dialog can never run twice, and the first click's menu never
// comes.
TEST_F(TForm1Test, ClicksOpenTheMenuAndDoubleClickTheSettings)
{
    start();
    view().hostPoint = {300, 200};
    form->HandleTrayMessage(TrayClicks::Click::Context);
    EXPECT_EQ(view().menus.size(), 1u);
    EXPECT_EQ(view().menus[0], (ScreenPoint{300, 200}));

    view().hostPoint = {120, 90};
    form->HandleTrayMessage(TrayClicks::Click::Trigger);
    EXPECT_EQ(view().menus.size(), 1u);
    EXPECT_TRUE(menuDelay().isActive());
    EXPECT_EQ(menuDelay().interval(), 400);
    view().hostPoint = {1, 1}; // where the cursor went meanwhile does not matter
    kit.now += 401;
    menuDelay().fire();
    EXPECT_FALSE(menuDelay().isActive());
    ASSERT_EQ(view().menus.size(), 2u);
    EXPECT_EQ(view().menus[1], (ScreenPoint{120, 90}));

    int configRuns = 0;
    kit.duringConfig = [&](TFormConfig&, FakeFormConfigView&) { ++configRuns; };
    form->EnableMenus(false);
    kit.now += 1000;
    form->HandleTrayMessage(TrayClicks::Click::DoubleClick);
    EXPECT_EQ(configRuns, 0);

    form->EnableMenus(true);
    kit.now += 1000;
    form->HandleTrayMessage(TrayClicks::Click::Trigger); // the first click of the pair
    form->HandleTrayMessage(TrayClicks::Click::DoubleClick);
    EXPECT_EQ(configRuns, 1);
    EXPECT_FALSE(menuDelay().isActive());
    EXPECT_EQ(view().enabled[TForm1View::MenuItem::MenuConfig], true);

    // A StatusNotifierItem host's double click: two Activate calls.
    kit.now += 1000;
    form->HandleTrayMessage(TrayClicks::Click::Trigger);
    kit.now += 150;
    form->HandleTrayMessage(TrayClicks::Click::Trigger);
    EXPECT_EQ(configRuns, 2);
    EXPECT_FALSE(menuDelay().isActive());
    EXPECT_EQ(view().menus.size(), 2u);
}

// Why: without a tray after the wait, the user hears once, through the notification service,
// what is missing and where to read more; the program goes on. A tray that came in time says
// nothing.
TEST_F(TForm1Test, NoTrayHostNotice)
{
    for (const bool service : {true, false}) {
        platform.notifications.clear();
        platform.notificationService = service;
        start();
        view().tray = false;
        trayWait().fire();
        EXPECT_FALSE(trayWait().isActive());
        ASSERT_EQ(platform.notifications.size(), 1u);
        EXPECT_NE(platform.notifications[0].find("通知領域"), std::string::npos);
        EXPECT_NE(platform.notifications[0].find("No icon in the tray?"), std::string::npos);
        if (service) {
            EXPECT_TRUE(view().notices.empty());
        } else {
            ASSERT_EQ(view().notices.size(), 1u);
            EXPECT_EQ(view().notices[0].name, "noTrayNotice");
            EXPECT_EQ(view().notices[0].title, "ルペタのアイコンを表示する場所がありません");
            EXPECT_FALSE(view().notices[0].activates);
            EXPECT_NE(view().notices[0].text.find("No icon in the tray?"), std::string::npos);
        }
        EXPECT_TRUE(tick().isActive());
    }
    platform.notifications.clear();
    start();
    trayWait().fire();
    EXPECT_TRUE(platform.notifications.empty());
}

// Why: the menu items reach the windows: the sample shows the reminder with the chime, reset
// starts the count over, and the stretch and about items open their dialogs.
TEST_F(TForm1Test, MenuItems)
{
    start();
    tickSeconds(120, true);
    form->MenuResetClick();
    EXPECT_EQ(form->ElapsedMinutes(), 0);
    form->MenuSampleClick();
    EXPECT_TRUE(popup().visible);
    EXPECT_EQ(popup().message, "60分たちました");
    EXPECT_EQ(chime.plays, 1);
    kit.timers.at(3)->fire(); // the reminder's auto close
    EXPECT_EQ(chime.stops, 1);
    form->MenuStretchClick();
    form->MenuAboutClick();
    EXPECT_EQ(kit.dialogsMade, 2);
}

// Why: "終了(&X)" stays enabled while a dialog runs: the program ends, saves, removes the tray
// icon and ends the event loop; the dialog's caller must not touch the destroyed popup
// afterwards.
TEST_F(TForm1Test, ExitWhileADialogRunsEndsCleanly)
{
    start();
    form->settings().TimerMinutes = 45;
    kit.duringAbout = [&](TFormAbout&, FakeFormAboutView&) { form->MenuExitClick(); };
    form->MenuAboutClick();
    EXPECT_EQ(kit.quits, 1);
    EXPECT_EQ(form->AlarmForm, nullptr);
    EXPECT_FALSE(view().trayShown);
    EXPECT_FALSE(tick().isActive());
    Settings saved;
    SettingsFile::load(saved, platform.clock);
    EXPECT_EQ(saved.TimerMinutes, 45);
}
