// Start-up, permissions and the status menu against the simulated Mac, on the virtual clock.
#include "core/shell/AppDelegate.h"
#include "core/input/Keys.h"
#include "platform/sim/SimSession.h"
#include "support/RecordingHintPanel.h"
#include "support/TapEvents.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/common/PanelHost.h"
#include "ui/menus/QtMenuPresenter.h"
#include "ui/peek/EmptyPeekView.h"
#include "ui/snap/SnapLayoutView.h"
#include "ui/snap/SnapOutlineView.h"
#include "ui/switcher/TileGridPanelWidget.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;
using fenwold::testing::keyEvent;

namespace {

class RecordingViews final : public ShellViews {
public:
    std::unique_ptr<HintPanel> makeHintPanel(const PanelStyle&) override {
        return std::make_unique<fenwold::testing::RecordingHintPanel>();
    }
    void installStatusItem(std::function<void(TrayClicks::Button, int)> onClick) override {
        click = std::move(onClick);
        ++installs;
    }
    bool hasStatusItem() const override { return installs > 0; }
    void popStatusMenu(const std::vector<StatusMenuItem>& items,
                       std::function<void(StatusAction)> chosen) override {
        ++menus;
        menuItems = items.size();
        lastMenu = items;
        choose = std::move(chosen);
    }
    void setStatusIconOpacity(double opacity) override { iconOpacity = opacity; }
    void showSettings() override { ++settings; }
    void showWelcome(Welcome& w) override {
        ++welcomes;
        welcome = &w;
        w.opened([this] { ++welcomeChanges; });
    }
    // The overlays' real panels, offscreen.
    std::unique_ptr<TileGridPanel> makeTileGridPanel(SwitcherModel& model, const Metrics& metrics,
                                                     const PanelStyle& style) override {
        return std::make_unique<TileGridPanelWidget>(model, metrics, host, style);
    }
    std::unique_ptr<EmptyPeekPanel> makeEmptyPeekPanel(const PanelStyle& style) override {
        return std::make_unique<EmptyPeekPanelWidget>(host, style);
    }
    std::unique_ptr<SnapLayoutPanel> makeSnapLayoutPanel(const PanelStyle& style) override {
        return std::make_unique<SnapLayoutPanelWidget>(host, style);
    }
    std::unique_ptr<SnapOutlinePanel> makeSnapOutlinePanel(const PanelStyle& style) override {
        return std::make_unique<SnapOutlinePanelWidget>(host, style);
    }
    std::unique_ptr<MenuPresenter> makeMenuPresenter() override {
        return std::make_unique<QtMenuPresenter>(host);
    }
    std::unique_ptr<ShelfPanel> makeShelfPanel(const ShelfViewContext& context,
                                               const PanelStyle& style) override {
        ++shelfPanels;
        return std::make_unique<QtShelfPanel>(
            context, ShelfStyle{}, [] { return 0.0; }, host, style);
    }

    DesktopPanelHost host;
    Screens* screens = nullptr;
    int shelfPanels = 0;

    std::function<void(TrayClicks::Button, int)> click;
    std::function<void(StatusAction)> choose;
    int installs = 0, menus = 0, settings = 0, welcomes = 0, welcomeChanges = 0;
    Welcome* welcome = nullptr;
    std::size_t menuItems = 0;
    std::vector<StatusMenuItem> lastMenu;
    double iconOpacity = 1.0;
};

struct Launch : ::testing::Test {
    SimSession sim;
    RecordingViews views;
    std::unique_ptr<AppDelegate> app;
    // Most launches are a returning user's; the first run shows the welcome first.
    bool firstRun = false;

    void launch(QStringList args = {}) {
        if (!firstRun) sim.prefs.write(PrefKey::welcomeShown, true);
        args.prepend("fenwold");
        views.screens = &sim.screens;
        app = std::make_unique<AppDelegate>(sim.platform(), views, parseStartupOptions(args));
        app->applicationDidFinishLaunching();
        sim.mainQueue.drain();
    }
};

} // namespace

TEST_F(Launch, TrustedLaunchInstallsTheStatusItemAndArmsOnce) {
    sim.windowServer.setScreenRecording(false);
    launch();
    EXPECT_EQ(views.installs, 1);
    EXPECT_TRUE(sim.updates.started());
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 1);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::armed);
    EXPECT_TRUE(sim.eventTap.started());
    EXPECT_TRUE(app->prefs().altTab()); // defaults registered
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::enabled);
    app->armInputHandlers();
    EXPECT_EQ(sim.log.lines().count("Fenwold: input handlers armed"), 1);
}

TEST_F(Launch, AccessibilityGrantedLaterArmsWithinASecondAndOnlyOnce) {
    sim.accessibility.setTrusted(false);
    launch();
    EXPECT_EQ(app->phase(), AppDelegate::Phase::launched);
    EXPECT_FALSE(sim.eventTap.started());
    sim.mainQueue.advance(10);
    EXPECT_FALSE(sim.eventTap.started());
    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::armed);
    EXPECT_TRUE(sim.eventTap.started());
    sim.mainQueue.advance(10);
    EXPECT_EQ(sim.log.lines().count("Fenwold: input handlers armed"), 1);
}

TEST_F(Launch, ThumbnailHeightPreferenceAtStartUp) {
    for (auto [stored, expected] :
         std::vector<std::pair<double, double>>{{0, 140}, {50, 90}, {1000, 280}, {200, 200}}) {
        sim.prefs.write(PrefKey::thumbH, stored);
        launch();
        EXPECT_DOUBLE_EQ(app->metrics().thumbH, expected) << stored;
        EXPECT_DOUBLE_EQ(app->metrics().preferredThumbH, expected) << stored;
        app.reset();
    }
}

TEST_F(Launch, DebugNotificationsOnlyWhileDebugLogIsOn) {
    sim.inputSources.setSources({{"us", true, true, true}, {"de", true, true, true}}, "us");
    launch();
    sim.prefs.postDistributed("org.fenwold.Fenwold.debug.cycleInputSource");
    EXPECT_EQ(sim.inputSources.current(), QString("us"));
    app.reset();
    sim.prefs.write(PrefKey::debugLog, true);
    launch();
    sim.prefs.postDistributed("org.fenwold.Fenwold.debug.cycleInputSource");
    EXPECT_EQ(sim.inputSources.current(), QString("de"));
}

TEST_F(Launch, HintModeShowsNoStatusItemAndPresentsAgainEveryTwoSeconds) {
    launch({"--hint"});
    EXPECT_EQ(views.installs, 0);
    EXPECT_FALSE(sim.eventTap.started());
    const auto first = app->hints().generation();
    sim.mainQueue.advance(2.0);
    EXPECT_EQ(app->hints().generation(), first + 1);
    sim.mainQueue.advance(4.0);
    EXPECT_EQ(app->hints().generation(), first + 3);
    ASSERT_TRUE(app->hints().current());
    EXPECT_EQ(app->hints().current()->win, "Alt+F4");
}

TEST_F(Launch, QuittingWithARemapActiveClearsTheKeyMapping) {
    sim.prefs.write(PrefKey::capsGlobe, true);
    launch();
    ASSERT_EQ(sim.processes.launched().size(), 1u); // re-applied at start-up
    app->applicationWillTerminate();
    ASSERT_EQ(sim.processes.launched().size(), 2u);
    const LaunchedTool cleared = sim.processes.launched().back();
    EXPECT_EQ(cleared.path, "/usr/bin/hidutil");
    EXPECT_TRUE(cleared.arguments.join(' ').contains("\"UserKeyMapping\":[]"))
        << cleared.arguments.join(' ').toStdString();

    SimSession plain;
    RecordingViews v;
    v.screens = &plain.screens;
    AppDelegate quiet(plain.platform(), v, {});
    quiet.applicationDidFinishLaunching();
    quiet.applicationWillTerminate();
    EXPECT_TRUE(plain.processes.launched().empty());
}

TEST_F(Launch, StatusItemClicksOpenTheMenuOrTheSettingsAndTheMenuActs) {
    sim.screens.setDoubleClickInterval(0.3);
    launch({"--settings"});
    EXPECT_EQ(views.settings, 1);
    views.click(TrayClicks::Button::left, 1);
    EXPECT_EQ(views.menus, 0);
    sim.mainQueue.advance(0.31);
    EXPECT_EQ(views.menus, 1);
    EXPECT_EQ(views.menuItems, 8u);
    views.click(TrayClicks::Button::left, 1);
    views.click(TrayClicks::Button::left, 2);
    sim.mainQueue.advance(1);
    EXPECT_EQ(views.menus, 1);
    EXPECT_EQ(views.settings, 2);
    views.click(TrayClicks::Button::right, 1);
    EXPECT_EQ(views.menus, 2);
    views.choose(StatusAction::checkForUpdates);
    EXPECT_EQ(sim.updates.checks(), 1);
    views.choose(StatusAction::quit);
    EXPECT_TRUE(sim.appShell.terminated());
}

TEST_F(Launch, AScheduledUpdateFoundBehindAnotherApplicationWaitsInTheStatusMenu) {
    sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    launch();
    const auto updateItem = [&] {
        views.click(TrayClicks::Button::right, 1);
        for (const StatusMenuItem& item : views.lastMenu)
            if (item.action == StatusAction::checkForUpdates) return item.title;
        return QString();
    };
    EXPECT_EQ(updateItem(), "Check for Updates…");
    // Not shown over TextEdit, and the program is not brought forward for it.
    EXPECT_FALSE(sim.updates.findScheduledUpdate());
    EXPECT_EQ(sim.updates.shown(), 0);
    EXPECT_EQ(sim.appShell.activations(), 0);
    EXPECT_EQ(updateItem(), "Update available");
    // Chosen, the update comes up, and the menu offers a check again.
    views.choose(StatusAction::checkForUpdates);
    EXPECT_EQ(sim.updates.shown(), 1);
    EXPECT_EQ(sim.appShell.activations(), 1);
    EXPECT_EQ(updateItem(), "Check for Updates…");
}

TEST_F(Launch, WinVAndTheStatusMenuOpenTheShelfWhichOwnsTheKeyboardUntilItCloses) {
    sim.prefs.write(PrefKey::winV, true);
    sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    launch();
    TapEvent down = keyEvent(kV, true, flag::command);
    EXPECT_EQ(sim.eventTap.feed(down), TapAnswer::swallow);
    TapEvent up = keyEvent(kV, false, flag::command);
    sim.eventTap.feed(up);
    sim.mainQueue.advance(0.5);
    EXPECT_TRUE(app->shelf().isOpen());
    EXPECT_TRUE(app->routing().snapshot().clipboardOpen);
    EXPECT_EQ(views.shelfPanels, 1);

    // While it is open, settings first close it; reopening the program does not open settings.
    app->applicationShouldHandleReopen();
    EXPECT_EQ(views.settings, 0);
    app->openSettings();
    sim.mainQueue.advance(0.5);
    EXPECT_FALSE(app->shelf().isOpen());
    EXPECT_FALSE(app->routing().snapshot().clipboardOpen);
    EXPECT_EQ(views.settings, 1);

    views.click(TrayClicks::Button::right, 1);
    views.choose(StatusAction::openClipboard);
    sim.mainQueue.advance(0.5);
    EXPECT_TRUE(app->shelf().isOpen());
}

TEST_F(Launch, AltTabThroughTheTapOpensTheSwitcherOverTheSessionsWindows) {
    SimAppBuilder edit = sim.app("com.apple.TextEdit", "TextEdit");
    edit.window("Notes", {80, 60, 800, 600});
    sim.app("com.apple.Safari", "Safari").window("News", {100, 80, 900, 700});
    sim.workspace.activate(edit.pid());
    launch();
    TapEvent tab = keyEvent(kTab, true, flag::option);
    EXPECT_EQ(sim.eventTap.feed(tab), TapAnswer::swallow);
    sim.mainQueue.advance(0.1);
    EXPECT_EQ(app->routing().snapshot().switcherPhase.kind, SwitcherPhase::Kind::capturing);
    ASSERT_TRUE(app->switcher().selectedWindowID());
    TapEvent release;
    release.type = eventtype::flagsChanged;
    release.flags = 0;
    sim.eventTap.feed(release);
    sim.mainQueue.advance(1.0);
    EXPECT_TRUE(app->routing().snapshot().switcherPhase.isClosed());
    EXPECT_EQ(sim.workspace.frontmostApp()->name, QString("Safari"));
}

TEST_F(Launch, DebugNotificationsToggleTheShelfWhileDebugLogIsOn) {
    sim.prefs.write(PrefKey::debugLog, true);
    launch();
    sim.prefs.postDistributed("org.fenwold.Fenwold.debug.clipHistory");
    sim.mainQueue.advance(0.5);
    EXPECT_TRUE(app->shelf().isOpen());
    sim.prefs.postDistributed("org.fenwold.Fenwold.debug.clipHistory");
    sim.mainQueue.advance(0.5);
    EXPECT_FALSE(app->shelf().isOpen());
}

TEST_F(Launch, PauseShortcutsInTheFrontAppExcludesTheAppInFrontWhenTheMenuOpened) {
    const int32_t guest = sim.app("org.example.Guest", "Guest PC").frontmost();
    const int32_t editor = sim.app("com.apple.TextEdit", "TextEdit");
    launch();
    auto ctrlC = [&] {
        TapEvent down = keyEvent(kC, true, flag::control);
        return sim.eventTap.feed(down);
    };
    EXPECT_EQ(ctrlC(), TapAnswer::swallow);

    views.click(TrayClicks::Button::right, 1);
    ASSERT_FALSE(views.lastMenu.empty());
    EXPECT_EQ(views.lastMenu[0].title, "Pause Shortcuts in Guest PC");
    EXPECT_TRUE(views.lastMenu[0].enabled);
    EXPECT_FALSE(views.lastMenu[0].checked);
    // Another application comes forward while the menu is open: the choice is still about the
    // one that was in front.
    sim.workspace.activate(editor);
    views.choose(StatusAction::toggleExclusion);
    EXPECT_EQ(app->prefs().excludedApps(), QStringList{"org.example.Guest"});
    EXPECT_EQ(ctrlC(), TapAnswer::swallow);
    sim.workspace.activate(guest);
    EXPECT_EQ(ctrlC(), TapAnswer::pass);

    views.click(TrayClicks::Button::right, 1);
    EXPECT_TRUE(views.lastMenu[0].checked);
    views.choose(StatusAction::toggleExclusion);
    EXPECT_TRUE(app->prefs().excludedApps().isEmpty());
    EXPECT_EQ(ctrlC(), TapAnswer::swallow);

    // Without a bundle identifier there is nothing to put in the list.
    sim.workspace.launchWithPid(700, std::nullopt, QString("helper"));
    sim.workspace.activate(700);
    views.click(TrayClicks::Button::right, 1);
    EXPECT_EQ(views.lastMenu[0].title, "Pause Shortcuts in helper");
    EXPECT_FALSE(views.lastMenu[0].enabled);
    views.choose(StatusAction::toggleExclusion);
    EXPECT_TRUE(app->prefs().excludedApps().isEmpty());
}

namespace {
std::optional<QString> secureLine(const std::vector<StatusMenuItem>& menu) {
    if (!menu.empty() && !menu.front().action) return menu.front().title;
    return std::nullopt;
}
} // namespace

TEST_F(Launch, SecureKeyboardEntryInTheFrontAppOnlyShowsInTheMenu) {
    const int32_t vault = sim.app("org.example.Vault", "Vault").frontmost();
    launch();
    const int64_t hints = app->hints().generation();
    sim.secureInput.enable(vault);
    sim.mainQueue.advance(2.0);
    EXPECT_TRUE(app->secureInput().on());
    EXPECT_DOUBLE_EQ(views.iconOpacity, 0.5);
    views.click(TrayClicks::Button::right, 1);
    EXPECT_EQ(secureLine(views.lastMenu), QString("Shortcuts paused: Vault is using Secure Keyboard Entry"));
    EXPECT_FALSE(views.lastMenu.front().enabled);
    sim.mainQueue.advance(30);
    EXPECT_EQ(app->hints().generation(), hints);
    EXPECT_EQ(sim.log.lines().count(QString("Fenwold: secure keyboard entry on (pid %1, Vault)").arg(vault)),
              1);

    sim.secureInput.disable(vault);
    sim.mainQueue.advance(2.0);
    EXPECT_FALSE(app->secureInput().on());
    EXPECT_DOUBLE_EQ(views.iconOpacity, 1.0);
    views.click(TrayClicks::Button::right, 1);
    EXPECT_FALSE(secureLine(views.lastMenu));
    EXPECT_EQ(sim.log.lines().count("Fenwold: secure keyboard entry off"), 1);
}

TEST_F(Launch, SecureKeyboardEntryHeldInTheBackgroundShowsTheHudOncePerEpisode) {
    sim.prefs.write(PrefKey::macHints, false); // shown regardless
    const int32_t vault = sim.app("org.example.Vault", "Vault");
    sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    launch();
    const int64_t before = app->hints().generation();
    sim.secureInput.enable(vault);
    sim.secureInput.stick(vault);
    sim.mainQueue.advance(2.0); // the poll sees it
    sim.mainQueue.advance(4.9);
    EXPECT_EQ(app->hints().generation(), before);
    sim.mainQueue.advance(0.2);
    ASSERT_EQ(app->hints().generation(), before + 1);
    ASSERT_TRUE(app->hints().current());
    EXPECT_EQ(app->hints().current()->title, QString("Shortcuts paused"));
    EXPECT_EQ(app->hints().current()->mac, QString("Vault ~has ~Secure ~Keyboard ~Entry ~on"));
    sim.mainQueue.advance(60);
    EXPECT_EQ(app->hints().generation(), before + 1);

    // A new episode shows it again; a holder the system does not name is "an app".
    sim.secureInput.unstick();
    sim.secureInput.disable(vault);
    sim.mainQueue.advance(2.0);
    EXPECT_FALSE(app->secureInput().on());
    sim.secureInput.setHolderReported(false);
    sim.secureInput.enable(vault);
    sim.mainQueue.advance(8.0);
    EXPECT_EQ(app->hints().generation(), before + 2);
    EXPECT_EQ(app->hints().current()->mac, QString("an app ~has ~Secure ~Keyboard ~Entry ~on"));
    EXPECT_EQ(sim.log.lines().count("Fenwold: secure keyboard entry on (pid unknown, an app)"), 1);
}

TEST_F(Launch, SecureKeyboardEntryIsReadEveryTwoSecondsAndHidesKeysFromTheTap) {
    const int32_t vault = sim.app("org.example.Vault", "Vault");
    sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    launch();
    sim.secureInput.enable(vault);
    sim.mainQueue.advance(1.9);
    EXPECT_FALSE(app->secureInput().on());
    sim.mainQueue.advance(0.2);
    EXPECT_TRUE(app->secureInput().on());
    // As on a Mac, the tap sees no key: Ctrl+C reaches the application unchanged.
    TapEvent down = keyEvent(kC, true, flag::control);
    EXPECT_EQ(sim.eventTap.feed(down), TapAnswer::pass);
    EXPECT_EQ(down.flags, flag::control);
    EXPECT_TRUE(sim.keys.posted().empty());
    // A holder that quits lets go.
    sim.workspace.quit(vault);
    sim.mainQueue.advance(2.0);
    EXPECT_FALSE(app->secureInput().on());
}

TEST_F(Launch, RevokingAccessibilityLetsEveryKeyPastTheTapUntilItIsGrantedAgain) {
    sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    launch();
    ASSERT_TRUE(sim.eventTap.enabled());
    sim.accessibility.setTrusted(false);
    sim.mainQueue.advance(1.0);
    EXPECT_FALSE(sim.eventTap.enabled());
    EXPECT_EQ(sim.log.lines().count("Fenwold: accessibility permission revoked — shortcuts paused"), 1);
    TapEvent copy = keyEvent(kC, true, flag::control);
    EXPECT_EQ(sim.eventTap.feed(copy), TapAnswer::pass);
    EXPECT_TRUE(sim.keys.posted().empty());
    // The system's tap-disabled notice must not switch a paused tap back on.
    TapEvent timeout;
    timeout.type = eventtype::tapDisabledByTimeout;
    sim.eventTap.feed(timeout);
    EXPECT_FALSE(sim.eventTap.enabled());
    // The icon is dimmed, and the menu says why first, its item opening the permission's settings.
    EXPECT_DOUBLE_EQ(views.iconOpacity, 0.5);
    views.click(TrayClicks::Button::right, 1);
    ASSERT_FALSE(views.lastMenu.empty());
    EXPECT_EQ(views.lastMenu.front().title, "Shortcuts paused: allow Fenwold in Accessibility settings…");
    EXPECT_TRUE(views.lastMenu.front().enabled);
    EXPECT_TRUE(views.lastMenu[1].isSeparator());
    views.choose(StatusAction::openAccessibilitySettings);
    ASSERT_EQ(sim.workspace.openedURLs().size(), 1);
    EXPECT_EQ(sim.workspace.openedURLs().front().scheme(), "x-apple.systempreferences");

    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(1.0);
    EXPECT_TRUE(sim.eventTap.enabled());
    EXPECT_EQ(sim.eventTap.startCount(), 2); // a new tap, which has the key events again
    EXPECT_DOUBLE_EQ(views.iconOpacity, 1.0);
    views.click(TrayClicks::Button::right, 1);
    EXPECT_NE(views.lastMenu.front().action, StatusAction::openAccessibilitySettings);
    EXPECT_EQ(sim.log.lines().count("Fenwold: accessibility permission restored — shortcuts resumed"), 1);
    EXPECT_EQ(sim.eventTap.feed(copy), TapAnswer::swallow);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::armed);
}

// The permission comes back but no new tap can be made yet: the shortcuts stay paused and the
// menu and the icon keep saying so, until a retry makes the tap.
TEST_F(Launch, AReturningPermissionWithoutANewTapKeepsThePausedMenuLine) {
    sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    launch();
    sim.accessibility.setTrusted(false);
    sim.mainQueue.advance(1.0);
    sim.eventTap.setCreationFails(true);
    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(sim.log.lines().count("Fenwold: accessibility permission restored — shortcuts resumed"), 0);
    EXPECT_DOUBLE_EQ(views.iconOpacity, 0.5);
    views.click(TrayClicks::Button::right, 1);
    ASSERT_FALSE(views.lastMenu.empty());
    EXPECT_EQ(views.lastMenu.front().title, "Shortcuts paused: allow Fenwold in Accessibility settings…");

    sim.eventTap.setCreationFails(false);
    sim.mainQueue.advance(TapDispatcher::kResumeRetrySeconds);
    EXPECT_EQ(sim.log.lines().count("Fenwold: accessibility permission restored — shortcuts resumed"), 1);
    EXPECT_DOUBLE_EQ(views.iconOpacity, 1.0);
    views.click(TrayClicks::Button::right, 1);
    EXPECT_NE(views.lastMenu.front().action, StatusAction::openAccessibilitySettings);
    TapEvent copy = keyEvent(kC, true, flag::control);
    EXPECT_EQ(sim.eventTap.feed(copy), TapAnswer::swallow);
}

TEST_F(Launch, QuittingStopsTheTapBeforeTheControllersItCallsAreGone) {
    launch();
    ASSERT_TRUE(sim.eventTap.started());
    app->applicationWillTerminate();
    EXPECT_FALSE(sim.eventTap.started());
    TapEvent tab = keyEvent(kTab, true, flag::option);
    EXPECT_EQ(sim.eventTap.feed(tab), TapAnswer::pass);

    // Torn down without the terminate step, the delegate still takes the tap with it: events
    // arriving afterwards reach nothing that is gone.
    SimSession other;
    RecordingViews v;
    v.screens = &other.screens;
    auto delegate = std::make_unique<AppDelegate>(other.platform(), v, StartupOptions{});
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(other.eventTap.started());
    delegate.reset();
    EXPECT_FALSE(other.eventTap.started());
    EXPECT_EQ(other.eventTap.feed(tab), TapAnswer::pass);
}

TEST(SecureInputWatchTest, TheTraceMarksBothEndsOfAnEpisodeAndAProcessIsNamedByItsProcessName) {
    SimSession sim;
    QTemporaryDir dir;
    sim.prefs.write(PrefKey::debugLog, true);
    Trace trace(sim.prefs, sim.mainQueue, sim.clock, dir.filePath("trace.txt"));
    SecureInputWatch watch(
        {&sim.secureInput, &sim.workspace, &sim.processes, &sim.mainQueue, &sim.log, &trace, nullptr});
    int changes = 0;
    watch.onChange = [&] { ++changes; };
    watch.start();
    // A holder that is no application (a login window, a tool): its process name.
    sim.workspace.launchWithPid(321, std::nullopt, std::nullopt);
    sim.processes.setProcessName(321, "loginwindow");
    sim.secureInput.enable(321);
    sim.mainQueue.advance(2.0);
    EXPECT_EQ(watch.holderName(), "loginwindow");
    sim.secureInput.disable(321);
    sim.mainQueue.advance(2.0);
    EXPECT_EQ(changes, 2);
    QFile file(dir.filePath("trace.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("*** SECURE INPUT ON pid=321 loginwindow")) << text.toStdString();
    EXPECT_TRUE(text.contains("*** SECURE INPUT OFF"));
    EXPECT_TRUE(sim.log.lines().contains("Fenwold: secure keyboard entry on (pid 321, loginwindow)"));
}

TEST_F(Launch, FirstRunShowsTheWelcomeAndAsksForThePermissionsOnlyWhenItCloses) {
    firstRun = true;
    sim.accessibility.setTrusted(false);
    sim.windowServer.setScreenRecording(false);
    launch();
    ASSERT_EQ(views.welcomes, 1);
    EXPECT_EQ(views.installs, 1); // the status item is there while the welcome explains
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 0);
    // No Accessibility prompt and no poll yet: a grant now arms nothing until the welcome closes.
    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(5);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::launched);
    EXPECT_EQ(views.welcomeChanges, 1); // its status followed the grant
    views.welcome->closed();
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 1);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::armed);

    // Shown once: the next start asks at once, and the About tab's way back asks nothing again.
    app.reset();
    views.welcomes = 0;
    sim.accessibility.setTrusted(false);
    launch();
    EXPECT_EQ(views.welcomes, 0);
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 2);
    app->showWelcome();
    views.welcome->closed();
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 2);
}

TEST_F(Launch, TheLoginItemRegisteredAtTheFirstStartIsTheWelcomesToTurnOff) {
    firstRun = true;
    launch();
    ASSERT_EQ(views.welcomes, 1);
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::enabled); // before the welcome opened
    EXPECT_TRUE(views.welcome->opensAtLogin());
    views.welcome->setOpensAtLogin(false);
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::notRegistered);
    views.welcome->closed();

    app.reset();
    launch(); // the choice holds: the next start registers nothing
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::notRegistered);
}

TEST_F(Launch, FirstRunWithThePermissionsAlreadyGrantedArmsWithoutWaitingForTheWelcome) {
    firstRun = true;
    launch();
    EXPECT_EQ(views.welcomes, 1);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::armed);
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 0);
}

TEST_F(Launch, TheWelcomesButtonsAskForTheirPermissionFirstAndOpenItsPane) {
    firstRun = true;
    sim.accessibility.setTrusted(false);
    sim.windowServer.setScreenRecording(false);
    launch();
    views.welcome->openPane(Permission::screenRecording);
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 1);
    ASSERT_EQ(sim.workspace.openedURLs().size(), 1);
    EXPECT_EQ(sim.workspace.openedURLs().back().query(), "Privacy_ScreenCapture");
    views.welcome->openPane(Permission::accessibility);
    EXPECT_EQ(sim.workspace.openedURLs().back().query(), "Privacy_Accessibility");
    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(app->phase(), AppDelegate::Phase::armed); // the button started the permission's poll
    views.welcome->closed();
    EXPECT_EQ(sim.windowServer.screenRecordingRequests(), 1); // each asked once
}
