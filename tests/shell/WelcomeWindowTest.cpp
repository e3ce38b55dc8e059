// The first-run welcome: the Windows-key choice against the catalogue, the green button's switch,
// the live permission state, and the window drawn offscreen (a snapshot for the documentation).
#include "ui/shell/WelcomeWindow.h"
#include "core/settings/Prefs.h"
#include "core/settings/ShortcutCatalogue.h"
#include "core/shell/Welcome.h"
#include "platform/sim/SimSession.h"
#include "support/Snapshots.h"
#include "ui/settings/AboutPane.h"
#include "ui/settings/SettingsDeps.h"

#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QMouseEvent>
#include <algorithm>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace fenwold;

namespace {

struct WelcomeTest : ::testing::Test {
    SimSession sim;
    Prefs prefs{sim.prefs};
    int accessibilityAsks = 0, screenRecordingAsks = 0;
    PermissionPrompts prompts{[this] { ++accessibilityAsks; }, [this] { ++screenRecordingAsks; }};
    Welcome welcome{
        {&sim.prefs, &sim.accessibility, &sim.windowServer, &sim.workspace, &sim.mainQueue, &sim.loginItems},
        prompts};

    void SetUp() override { prefs.registerDefaults(); }
};

} // namespace

TEST_F(WelcomeTest, TheWindowsKeyChoiceTurnsOnEveryWinRowOfTheCatalogueAndNothingElse) {
    const std::vector<PrefKey> rows = winKeyRows();
    // The choice covers every Windows-key switch the preferences declare...
    std::set<PrefKey> declared;
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        if (isWinKeySwitch(static_cast<PrefKey>(i))) declared.insert(static_cast<PrefKey>(i));
    EXPECT_EQ(std::set<PrefKey>(rows.begin(), rows.end()), declared);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), PrefKey::winAlone), 1);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), PrefKey::snapKeys), 0);
    // ...each a row of the Windows key's sections that is off on a new Mac because it hides a Mac
    // shortcut.
    std::set<PrefKey> windowsKeyRows;
    for (const RemapSection& section : remapSections()) {
        if (!section.name.startsWith(QStringLiteral("Windows key"))) continue;
        for (const Remap& row : section.rows)
            windowsKeyRows.insert(row.key);
    }
    for (PrefKey key : rows) {
        const QString name =
            QString::fromLatin1(prefKeyName(key).data(), static_cast<qsizetype>(prefKeyName(key).size()));
        EXPECT_TRUE(windowsKeyRows.count(key)) << name.toStdString();
        EXPECT_FALSE(declarationOf(key).defaultValue) << name.toStdString();
        EXPECT_TRUE(remapNamed(name)->detail.contains(QStringLiteral("⌘"))) << name.toStdString();
    }

    EXPECT_FALSE(welcome.winKeysOn());
    welcome.setWinKeys(true);
    EXPECT_TRUE(welcome.winKeysOn());
    for (PrefKey key : winKeyRows())
        EXPECT_TRUE(prefs.flag(key));
    EXPECT_FALSE(prefs.flag(PrefKey::altSpace));
    EXPECT_FALSE(prefs.flag(PrefKey::macHints));
    prefs.set(PrefKey::winTab, false); // one turned off in the settings: the choice is no longer whole
    EXPECT_FALSE(welcome.winKeysOn());
    welcome.setWinKeys(false);
    for (PrefKey key : winKeyRows())
        EXPECT_FALSE(prefs.flag(key));
    EXPECT_TRUE(prefs.flag(PrefKey::snapKeys)); // the Win+arrow rows keep their own setting
    EXPECT_TRUE(prefs.flag(PrefKey::snapDisplays));
}

TEST_F(WelcomeTest, SeenOnceItsOpenedAndWhileOpenItFollowsThePermissions) {
    EXPECT_TRUE(welcome.firstRun());
    sim.accessibility.setTrusted(false);
    int changes = 0;
    welcome.opened([&] { ++changes; });
    EXPECT_FALSE(welcome.firstRun());
    sim.mainQueue.advance(3);
    EXPECT_EQ(changes, 0);
    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(welcome.granted(Permission::accessibility));
    welcome.closed();
    EXPECT_EQ(accessibilityAsks, 1);
    EXPECT_EQ(screenRecordingAsks, 1);
    sim.windowServer.setScreenRecording(false);
    sim.mainQueue.advance(3);
    EXPECT_EQ(changes, 1); // closed: nothing is read any more
    welcome.closed();
    EXPECT_EQ(accessibilityAsks, 1);
}

TEST_F(WelcomeTest, TheWindowShowsEachPermissionsStateAndTheChoiceAndClosesOnContinue) {
    sim.accessibility.setTrusted(false);
    WelcomeWindow window(welcome);
    welcome.opened([&] { window.refresh(); });
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), "Welcome to Fenwold");
    EXPECT_EQ(window.winKeysLabel()->text(), "Use the Windows key for Windows shortcuts (Win+D, Win+E, "
                                             "Win+V, …) — hides the matching ⌘ shortcuts");
    EXPECT_EQ(window.status(Permission::accessibility)->text(), "Not allowed yet");
    EXPECT_EQ(window.status(Permission::screenRecording)->text(), "Allowed");
    EXPECT_EQ(window.paneButton(Permission::accessibility)->text(), "Open Accessibility Settings");

    sim.accessibility.setTrusted(true);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(window.status(Permission::accessibility)->text(), "Allowed");

    window.winKeys()->click();
    EXPECT_TRUE(prefs.flag(PrefKey::winV));
    EXPECT_TRUE(welcome.winKeysOn());

    window.paneButton(Permission::screenRecording)->click();
    EXPECT_EQ(screenRecordingAsks, 1);
    EXPECT_EQ(sim.workspace.openedURLs().back().query(), "Privacy_ScreenCapture");

    prefs.set(PrefKey::winV, false); // one turned off elsewhere: the choice shows it at once
    window.refresh();
    EXPECT_FALSE(window.winKeys()->isChecked());
    window.winKeys()->click();
    EXPECT_TRUE(prefs.flag(PrefKey::winV));
    EXPECT_GE(window.height(), window.heightForWidth(window.width())); // every text shown whole
    window.layout()->activate();
    const QImage image = window.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 400);
    // The documentation's picture of it, when FENWOLD_SNAPSHOT_DIR names a folder.
    const QString dir = fenwold::testing::snapshotFolder();
    if (!dir.isEmpty()) image.save(QDir(dir).filePath("welcome.png"));

    window.continueButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(welcome.isOpen());
    EXPECT_EQ(accessibilityAsks, 1);
}

TEST_F(WelcomeTest, TheLoginItemTheProgramRegisteredIsShownAndCanBeTurnedOffThere) {
    sim.loginItems.setStatus(LoginItems::Status::enabled); // registered as the program started
    WelcomeWindow window(welcome);
    EXPECT_EQ(window.loginItem()->text(), "Open Fenwold at login");
    EXPECT_TRUE(window.loginItem()->isChecked());
    const auto labels = window.findChildren<QLabel*>();
    EXPECT_TRUE(
        std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == kLoginItemDetail; }));

    window.loginItem()->click();
    EXPECT_FALSE(prefs.flag(PrefKey::launchAtLogin));
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::notRegistered);
    window.loginItem()->click();
    EXPECT_TRUE(prefs.flag(PrefKey::launchAtLogin));
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::enabled);

    prefs.set(PrefKey::launchAtLogin, false); // turned off in the settings: the welcome follows
    window.refresh();
    EXPECT_FALSE(window.loginItem()->isChecked());
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::enabled); // a refresh changes nothing
}

TEST_F(WelcomeTest, TheGreenButtonsSwitchSitsBesideTheWindowsKeyChoiceAndIsThatSwitchAlone) {
    WelcomeWindow window(welcome);
    EXPECT_EQ(window.greenButtonLabel()->text(),
              "Click the green button to maximize a window, as on Windows — instead of full screen");
    EXPECT_EQ(window.greenButton()->accessibleName(), window.greenButtonLabel()->text());
    EXPECT_FALSE(window.greenButton()->isChecked()); // off until chosen
    const auto labels = window.findChildren<QLabel*>();
    EXPECT_TRUE(
        std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == kGreenButtonDetail; }));

    // A click on its text toggles it, as on the box.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.greenButtonLabel(), &release);
    EXPECT_TRUE(prefs.flag(PrefKey::greenMaximizes));
    // Neither the Windows-key rows nor the Dock's habit come with it.
    EXPECT_FALSE(welcome.winKeysOn());
    EXPECT_FALSE(prefs.flag(PrefKey::dockMinimizes));
    window.winKeys()->click();
    EXPECT_TRUE(prefs.flag(PrefKey::greenMaximizes));

    prefs.set(PrefKey::greenMaximizes, false); // turned off in the settings: the welcome follows
    window.refresh();
    EXPECT_FALSE(window.greenButton()->isChecked());
}

TEST_F(WelcomeTest, TheAboutTabOffersTheWelcomeAgain) {
    int shown = 0;
    SettingsDeps deps;
    deps.prefs = &sim.prefs;
    deps.showWelcome = [&] { ++shown; };
    AboutPane about(deps);
    ASSERT_NE(about.welcomeButton(), nullptr);
    EXPECT_EQ(about.welcomeButton()->text(), "Show the Welcome Window…");
    about.welcomeButton()->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(AboutPane(SettingsDeps{}).welcomeButton(), nullptr);
}
