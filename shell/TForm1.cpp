// The hidden main window: start-up, tray icon and menu, tick, shutdown.
#include "shell/TForm1.h"

#include "core/LinksFile.h"
#include "core/Survey.h"
#include "core/Texts.h"
#include "shell/Chime.h"
#include "shell/platform/Platform.h"
#include "shell/ShellToolkit.h"
#include "shell/TForm1View.h"
#include "windows/TForm2.h"
#include "windows/TFormAbout.h"
#include "windows/TFormConfig.h"
#include "windows/TForm_Stretch.h"
#include "windows/Timer.h"

namespace {

constexpr int TickMs = 1000;
constexpr int DemoTickMs = 10;
constexpr int TrayWaitMs = 10000;

} // namespace

TForm1::TForm1(Platform& platform, Chime& sound, ShellToolkit& toolkit)
    : m_platform(platform), m_sound(sound), m_toolkit(toolkit), m_view(toolkit.createView(*this)),
      m_workTimer(m_settings, *this),
      Timer_Tick(toolkit.createTimer([this] { Timer_TickTimer(); })),
      m_clickMenuDelay(toolkit.createTimer([this] {
          m_clickMenuDelay->stop();
          m_view->popupMenu(m_clickPos);
      })),
      m_trayClicks(m_view->doubleClickMs()), m_trayWait(toolkit.createTimer([this] {
          m_trayWait->stop();
          checkTrayHost();
      }))
{
    AlarmForm = std::make_unique<TForm2>(*this);

    if (m_platform.ctrlAndShiftDown()) {
        m_view->showDemoItem();
    }

    const bool firstRun = SettingsFile::load(m_settings, m_platform.now());
    SaveSettings();

    loadLinks();

    if (m_platform.trayHostReadsMenus()) {
        m_view->giveMenuToTrayHost();
    }
    m_view->showTrayIcon(TrayStatus::FirstImage, Texts::AppName);
    m_trayShown = true;
    UpdateTrayIcon(0, m_settings.TimerMinutes);
    m_trayWait->start(TrayWaitMs);
    if (!m_platform.seesActivity()) {
        // Said once at start-up, without holding it up: the timer runs while the box is open.
        m_view->showNotice({"NoActivityNotice", Texts::AppName, Texts::NoActivityNotice, true});
    }

    if (isStartPageDue(firstRun, dateOnly(m_platform.now()))) {
        openDocument(startPageUrl(m_settings.UserID));
    }

    Timer_Tick->start(TickMs);
}

TForm1::~TForm1() = default;

void TForm1::loadLinks()
{
    const Links links = LinksFile::load();
    for (std::size_t i = 0; i < links.names.size(); ++i) {
        const std::string& name = links.names[i];
        // "-" is the separator line; a separator that kept its text would be drawn as a
        // section heading by some menus.
        const bool separator = name == "-";
        m_view->setLinkItem(i, separator ? std::string() : name, separator, !name.empty());
        LinkURL[i] = links.urls[i];
    }
}

void TForm1::HandleTrayMessage(TrayClicks::Click click)
{
    switch (m_trayClicks.activated(click, m_toolkit.monotonicMs())) {
    case TrayClicks::Action::Settings:
        m_clickMenuDelay->stop();
        // The settings dialog must not open twice: its menu item is off while it runs.
        if (m_dialogItemsEnabled) {
            MenuConfigClick();
        }
        break;
    case TrayClicks::Action::MenuAfterDelay:
        m_clickPos = m_view->clickPoint();
        m_clickMenuDelay->start(m_view->doubleClickMs());
        break;
    case TrayClicks::Action::MenuNow:
        m_clickMenuDelay->stop();
        m_view->popupMenu(m_view->clickPoint());
        break;
    case TrayClicks::Action::None:
        break;
    }
}

void TForm1::checkTrayHost()
{
    if (!m_view->trayAvailable()) {
        showNoTrayNotice();
    }
}

void TForm1::showNoTrayNotice()
{
    if (m_platform.showNotification(Texts::NoTraySummary, Texts::NoTrayBody)) {
        return;
    }
    // No notification service either: a small window that leaves the focus and the program
    // alone. Its title says what it is about, apart from the program's other notices.
    m_view->showNotice({"noTrayNotice", Texts::NoTraySummary, Texts::NoTrayBody, false});
}

void TForm1::Timer_TickTimer()
{
    m_workTimer.tick();
}

void TForm1::MenuConfigClick()
{
    TFormConfig::run(*this);
}

void TForm1::MenuResetClick()
{
    m_workTimer.reset();
}

void TForm1::MenuSampleClick()
{
    ShowAlarm();
}

void TForm1::MenuDemoClick()
{
    m_demo = !m_demo;
    m_view->checkDemoItem(m_demo);
    Timer_Tick->start(tickInterval());
}

int TForm1::tickInterval() const
{
    return m_demo ? DemoTickMs : TickMs;
}

void TForm1::MenuExitClick()
{
    FormClose();
    // Also ends a dialog's nested loop; the dialog's caller then finds AlarmForm gone.
    m_toolkit.quit();
}

void TForm1::Menu_InfoClick(std::size_t index)
{
    if (!LinkURL.at(index).empty()) {
        openDocument(LinkURL[index]);
    }
}

void TForm1::FormClose()
{
    if (m_closed) {
        return;
    }
    m_closed = true;
    Timer_Tick->stop();
    m_clickMenuDelay->stop();
    m_trayWait->stop();
    AlarmForm.reset();
    SaveSettings();
    if (m_trayShown) {
        m_view->removeTrayIcon();
        m_trayShown = false;
    }
}

Toolkit& TForm1::toolkit()
{
    return m_toolkit;
}

Settings& TForm1::settings()
{
    return m_settings;
}

std::int32_t TForm1::ElapsedMinutes() const
{
    return m_workTimer.ElapsedMinutes();
}

bool TForm1::IsSurveyDue()
{
    return isSurveyDue(dateOnly(m_platform.now()), m_settings.FirstActivated,
                       m_settings.SurveyPassword);
}

// While a dialog runs, the items that open windows are off and the reminder gives up the top;
// reset, links, demo and exit stay usable.
void TForm1::EnableMenus(bool on)
{
    m_dialogItemsEnabled = on;
    for (const auto item : {TForm1View::MenuItem::MenuStretch, TForm1View::MenuItem::MenuConfig,
                            TForm1View::MenuItem::MenuAbout, TForm1View::MenuItem::MenuSample}) {
        m_view->enableMenuItem(item, on);
    }
    if (AlarmForm) {
        AlarmForm->MenusEnabled(on);
    }
}

void TForm1::UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes)
{
    const auto state =
        m_trayStatus.update(elapsedMinutes, timerMinutes, m_workTimer.IdleResetShown());
    if (!state || !m_trayShown) {
        return;
    }
    if (state->image) {
        m_view->setTrayImage(*state->image);
    }
    m_view->setTrayTooltip(state->tooltip);
}

bool TForm1::SaveSettings()
{
    return SettingsFile::save(m_settings);
}

void TForm1::MenuAboutClick()
{
    TFormAbout::run(*this);
}

void TForm1::MenuStretchClick()
{
    TForm_Stretch::run(*this);
}

void TForm1::openDocument(const std::string& text)
{
    m_platform.openDocument(text);
}

void TForm1::playSound()
{
    m_sound.play();
}

void TForm1::stopSound()
{
    m_sound.stop();
}

DateTime TForm1::now()
{
    return m_platform.now();
}

bool TForm1::enterPressedSinceLastQuery()
{
    return m_platform.enterPressedSinceLastQuery();
}

bool TForm1::spacePressedSinceLastQuery()
{
    return m_platform.spacePressedSinceLastQuery();
}

std::optional<CursorPos> TForm1::cursorPos()
{
    return m_platform.cursorPos();
}

void TForm1::guardApplicationWindow()
{
    m_view->keepHidden();
}

void TForm1::ShowAlarm()
{
    if (AlarmForm) {
        AlarmForm->ShowAlarm();
    }
}
