// The settings window rendered offscreen: bindings, live updates, tab fitting, snapshots.
#include "ui/settings/SettingsWindow.h"
#include "core/settings/ExcludedApps.h"
#include "core/settings/Prefs.h"
#include "core/settings/SettingsContent.h"
#include "platform/sim/SimSession.h"
#include "support/Snapshots.h"
#include "ui/settings/AboutPane.h"
#include "ui/settings/ExcludedAppsView.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/ShortcutsPane.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

struct SettingsWindowTest : ::testing::Test {
    SimSession sim;
    Prefs prefs{sim.prefs};
    int reapplied = 0;

    void SetUp() override { prefs.registerDefaults(); }

    std::unique_ptr<SettingsWindow> make(std::optional<int> tab = std::nullopt) {
        SettingsDeps deps;
        deps.prefs = &sim.prefs;
        deps.loginItems = &sim.loginItems;
        deps.workspace = &sim.workspace;
        deps.appShell = &sim.appShell;
        deps.bundle = {"org.fenwold.Fenwold", QString("1.2"), std::nullopt, std::nullopt};
        deps.reapplyKeyMapping = [this] { ++reapplied; };
        deps.showWelcome = [] {};
        deps.requestedTab = tab;
        return std::make_unique<SettingsWindow>(deps);
    }

    static void settle() { QApplication::processEvents(); }

    // Saves a snapshot when FENWOLD_SNAPSHOT_DIR names a folder (documentation screenshots).
    static void snapshot(QWidget& w, const QString& name) {
        const QImage image = w.grab().toImage();
        EXPECT_FALSE(image.isNull());
        const QString dir = fenwold::testing::snapshotFolder();
        if (!dir.isEmpty()) image.save(QDir(dir).filePath(name + ".png"));
    }
};

} // namespace

TEST_F(SettingsWindowTest, OpensOnTheRequestedTabAndIgnoresOutOfRangeValues) {
    EXPECT_EQ(make(1)->selectedTab(), 1);
    EXPECT_EQ(make(3)->selectedTab(), 0);
    EXPECT_EQ(make(-1)->selectedTab(), 0);
    auto w = make();
    EXPECT_EQ(w->windowTitle(), "Fenwold Settings");
    ASSERT_EQ(w->toolbar()->actions().size(), 3);
    EXPECT_EQ(w->toolbar()->actions()[2]->text(), "About");
}

TEST_F(SettingsWindowTest, SwitchingTabsResizesToThePaneAndKeepsTheTopEdge) {
    auto w = make();
    w->show();
    settle();
    w->move(100, 150);
    settle();
    const int top = w->geometry().top();
    w->selectTab(1, false);
    settle();
    EXPECT_EQ(w->geometry().top(), top);
    EXPECT_GE(w->height(), w->paneSizes()[1].height());
    const int shortcutsHeight = w->height();
    w->selectTab(2, false);
    settle();
    EXPECT_EQ(w->geometry().top(), top);
    EXPECT_LT(w->height(), shortcutsHeight);
    EXPECT_EQ(w->paneSizes().size(), 3u);
    // Closing only hides: the same window comes back on the same tab.
    w->close();
    EXPECT_FALSE(w->isVisible());
    w->show();
    EXPECT_EQ(w->selectedTab(), 2);
}

TEST_F(SettingsWindowTest, GeneralPaneBindsPreferencesLoginItemAndKeyboardNavigation) {
    auto w = make(0);
    GeneralPane& pane = *w->general();
    QCheckBox* peek = pane.checkbox("Dock peek");
    ASSERT_TRUE(peek);
    EXPECT_TRUE(peek->isChecked());
    peek->click();
    EXPECT_FALSE(prefs.dockPeek());

    QCheckBox* login = pane.checkbox("Open Fenwold at login");
    sim.loginItems.setStatus(LoginItems::Status::enabled);
    login->click(); // off
    EXPECT_EQ(sim.loginItems.status(), LoginItems::Status::notRegistered);
    EXPECT_FALSE(prefs.launchAtLogin());
    sim.loginItems.setFailure(QString("denied"));
    login->click(); // on, registration fails: the choice is kept anyway
    EXPECT_TRUE(login->isChecked());
    EXPECT_TRUE(prefs.launchAtLogin());

    QCheckBox* nav = pane.checkbox("Keyboard navigation (a macOS setting)");
    EXPECT_FALSE(nav->isChecked());
    nav->click();
    EXPECT_EQ(sim.prefs.readGlobal("AppleKeyboardUIMode").toInt(), 2);
    EXPECT_EQ(sim.prefs.postedNotifications(), QStringList{"com.apple.KeyboardUIModeDidChange"});
    // Someone turns it off in the system's settings while the window is open.
    sim.prefs.writeGlobal("AppleKeyboardUIMode", 0);
    sim.prefs.postDistributed("com.apple.KeyboardUIModeDidChange");
    settle();
    EXPECT_FALSE(nav->isChecked());
    sim.prefs.writeGlobal("AppleKeyboardUIMode", 3);
    sim.prefs.postDistributed("com.apple.KeyboardUIModeDidChange");
    settle();
    EXPECT_TRUE(nav->isChecked());
}

TEST_F(SettingsWindowTest, KeyboardNavigationReadsOnlyTheIntegerBit) {
    EXPECT_FALSE(KeyboardNav::enabled(sim.prefs));
    sim.prefs.writeGlobal("AppleKeyboardUIMode", 2);
    EXPECT_TRUE(KeyboardNav::enabled(sim.prefs));
    sim.prefs.writeGlobal("AppleKeyboardUIMode", 1);
    EXPECT_FALSE(KeyboardNav::enabled(sim.prefs));
    sim.prefs.writeGlobal("AppleKeyboardUIMode", "2");
    EXPECT_FALSE(KeyboardNav::enabled(sim.prefs));
    // Setting what is already set writes and announces nothing.
    sim.prefs.writeGlobal("AppleKeyboardUIMode", 2);
    KeyboardNav::set(sim.prefs, true);
    EXPECT_TRUE(sim.prefs.postedNotifications().isEmpty());
}

TEST_F(SettingsWindowTest, SwapDisablesOnlyTheSoftwareRowsAndReappliesTheMapping) {
    auto w = make(1);
    ShortcutsPane& pane = *w->shortcuts();
    EXPECT_EQ(pane.sectionHeadings().front(), "Windows key (arrives as ⌘)");
    pane.swapSwitch()->click();
    EXPECT_TRUE(prefs.swapCtrlCmd());
    EXPECT_EQ(reapplied, 1);
    EXPECT_EQ(pane.sectionHeadings().front(), "Windows key (arrives as ⌃)");
    int disabled = 0;
    for (const auto& section : remapSections()) {
        for (const auto& r : section.rows)
            disabled += pane.row(r.pref())->checkbox()->isEnabled() ? 0 : 1;
    }
    EXPECT_EQ(disabled, 7);
    EXPECT_FALSE(pane.row("ctrlLetters")->checkbox()->isEnabled());
    EXPECT_FALSE(pane.row("ctrlDigits")->checkbox()->isEnabled());
    EXPECT_TRUE(pane.row("ctrlPageTabs")->checkbox()->isEnabled()); // it posts ⌃⇥, which no swap gives
    EXPECT_FALSE(pane.row("ctrlZoom")->checkbox()->isEnabled());
    EXPECT_EQ(pane.row("ctrlZoom")->checkbox()->accessibleName(),
              "Resize content, unavailable while Ctrl and Command are swapped");
    EXPECT_TRUE(pane.row("ctrlZoom")->checkbox()->isChecked()); // keeps its own value
    pane.select("ctrlClipboard");
    EXPECT_TRUE(pane.detailText()->text().startsWith(kSwapPrefix));
    snapshot(*w, "settings-shortcuts-swapped");
    pane.swapSwitch()->click();
    EXPECT_EQ(reapplied, 2);
    EXPECT_TRUE(pane.row("ctrlZoom")->checkbox()->isEnabled());
    pane.capsSwitch()->click();
    EXPECT_TRUE(prefs.capsGlobe());
    EXPECT_EQ(reapplied, 3);
}

TEST_F(SettingsWindowTest, MasterSwitchDimsTheListAndOutsideChangesShowLive) {
    auto w = make(1);
    ShortcutsPane& pane = *w->shortcuts();
    EXPECT_TRUE(pane.list()->isEnabled());
    prefs.set(PrefKey::shortcutsEnabled, false); // as Cmd+Esc does from the event tap
    settle();
    EXPECT_FALSE(pane.masterSwitch()->isChecked());
    EXPECT_FALSE(pane.list()->isEnabled());
    EXPECT_FALSE(pane.row("winD")->checkbox()->isEnabled()) << "the rows are dimmed with the list";
    EXPECT_TRUE(pane.row("winD")->checkbox()->isChecked() == prefs.flag(PrefKey::winD));
    snapshot(*w, "settings-shortcuts-master-off");
    pane.masterSwitch()->click();
    EXPECT_TRUE(pane.list()->isEnabled());
}

TEST_F(SettingsWindowTest, DetailAreaFollowsSelectionAndTheAltF4Choice) {
    auto w = make(1);
    ShortcutsPane& pane = *w->shortcuts();
    EXPECT_EQ(pane.detailHeading()->text(), "The full story");
    EXPECT_EQ(pane.detailText()->text(), kNoSelectionPrompt);
    pane.select("winD");
    EXPECT_EQ(pane.detailHeading()->text(), "Win+D — Show the desktop");
    pane.row("winD")->checkbox()->click();
    EXPECT_TRUE(prefs.flag(PrefKey::winD));
    snapshot(*w, "settings-shortcuts");

    pane.select("altF4");
    EXPECT_FALSE(pane.altF4Picker()->isHidden());
    EXPECT_EQ(pane.detailText()->text(), "Closes the current window; quits the app when it's the last one.");
    pane.altF4Picker()->setCurrentIndex(1);
    EXPECT_EQ(readAltF4Action(prefs), AltF4Action::close);
    EXPECT_EQ(pane.detailText()->text(),
              "Sends ⌘W to close the current tab, document, or window, as the app normally would.");
    prefs.set(PrefKey::altF4, false);
    pane.refresh();
    EXPECT_FALSE(pane.altF4Picker()->isEnabled());
    pane.select("");
    EXPECT_EQ(pane.detailText()->text(), kNoSelectionPrompt);
}

TEST_F(SettingsWindowTest, TheNewRowsReadInTheListWithTheirKeysWholeAndTheirSwitches) {
    auto w = make(1);
    ShortcutsPane& pane = *w->shortcuts();
    w->show();
    settle();
    // Each section's new rows, scrolled to as a person would, in one snapshot each.
    for (const auto& [pref, shot] :
         std::vector<std::pair<QString, QString>>{{"winAlone", "settings-shortcuts-windows-key-system"},
                                                  {"ctrlWebLetters", "settings-shortcuts-ctrl"},
                                                  {"f5Refresh", "settings-shortcuts-function-keys"},
                                                  {"finderBack", "settings-shortcuts-finder"}}) {
        pane.select(pref);
        pane.list()->scrollToItem(pane.list()->currentItem(), QAbstractItemView::PositionAtTop);
        settle();
        EXPECT_EQ(pane.detailText()->text(), remapNamed(pref)->detail);
        snapshot(*w, shot);
    }
    // No keys label is cut off in its column: a long one takes a second line, in a taller row.
    for (const auto& section : remapSections())
        for (const auto& r : section.rows) {
            const QLabel* keys = pane.row(r.pref())->keysLabel();
            const QRect needed =
                keys->fontMetrics().boundingRect(QRect(0, 0, keys->width(), 1000), Qt::TextWordWrap, r.keys);
            EXPECT_LE(needed.width(), keys->width()) << r.pref().toStdString();
            EXPECT_LE(needed.height(), keys->height()) << r.pref().toStdString();
        }
    // A new row's switch is the preference.
    pane.row("winX")->checkbox()->click();
    EXPECT_TRUE(prefs.flag(PrefKey::winX));
    pane.row("f11FullScreen")->checkbox()->click();
    EXPECT_FALSE(prefs.flag(PrefKey::f11FullScreen));
}

TEST_F(SettingsWindowTest, AboutShowsVersionAndQuestionMarkForAMissingBuild) {
    auto w = make(2);
    EXPECT_EQ(w->about()->versionLabel()->text(), "Version 1.2 (?)");
    w->show();
    settle();
    snapshot(*w, "settings-about");
    w->selectTab(0, false);
    snapshot(*w, "settings-general");
}

TEST_F(SettingsWindowTest, NotInTheseAppsListsNamesAddsAChosenAppAndRemovesTheSelection) {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkGreen);
    sim.app("org.example.Guest", "Guest PC").icon(icon);
    sim.workspace.install(QUrl::fromLocalFile("/Applications/Remote.app"),
                          {QString("org.example.Remote"), QString("Remote Screen"), QImage()});
    sim.workspace.install(QUrl::fromLocalFile("/Users/me/notes.txt"),
                          {std::nullopt, QString("notes"), QImage()});
    prefs.setExcludedApps({"org.example.Guest", "org.example.Gone"});
    auto w = make(1);
    ExcludedAppsView& view = *w->shortcuts()->excludedApps();
    ASSERT_EQ(view.list()->count(), 2);
    EXPECT_EQ(view.list()->item(0)->text(), "Guest PC");
    EXPECT_FALSE(view.list()->item(0)->icon().isNull());
    // An application that is not installed shows its bundle identifier.
    EXPECT_EQ(view.list()->item(1)->text(), "org.example.Gone");
    EXPECT_FALSE(view.removeButton()->isEnabled());

    // "+" opens the chooser; a cancelled chooser and a file that is no application add nothing.
    view.addButton()->click();
    ASSERT_TRUE(sim.appShell.chooserOpen());
    sim.appShell.answerChooser(QUrl());
    view.addButton()->click();
    sim.appShell.answerChooser(QUrl::fromLocalFile("/Users/me/notes.txt"));
    EXPECT_EQ(view.list()->count(), 2);
    view.addButton()->click();
    sim.appShell.answerChooser(QUrl::fromLocalFile("/Applications/Remote.app"));
    EXPECT_EQ(prefs.excludedApps(),
              (QStringList{"org.example.Guest", "org.example.Gone", "org.example.Remote"}));
    ASSERT_EQ(view.list()->count(), 3);
    EXPECT_EQ(view.list()->item(2)->text(), "Remote Screen");
    EXPECT_EQ(view.list()->currentRow(), 2);
    snapshot(*w, "settings-shortcuts-excluded-apps");

    // "−" removes the selection.
    view.list()->setCurrentRow(1);
    ASSERT_TRUE(view.removeButton()->isEnabled());
    view.removeButton()->click();
    EXPECT_EQ(prefs.excludedApps(), (QStringList{"org.example.Guest", "org.example.Remote"}));
    // A change made elsewhere (the status menu, `defaults write`) shows while the window is open.
    ExcludedApps(sim.prefs).remove("org.example.Guest");
    settle();
    ASSERT_EQ(view.list()->count(), 1);
    EXPECT_EQ(view.list()->item(0)->text(), "Remote Screen");
}

TEST_F(SettingsWindowTest, TheShortcutsTabIsMeasuredWithTheExclusionsBelowTheDetailArea) {
    auto w = make(1);
    w->show();
    settle();
    ShortcutsPane& pane = *w->shortcuts();
    const QWidget* area = pane.detailHeading()->parentWidget();
    const QWidget* excluded = pane.excludedApps();
    EXPECT_GE(excluded->geometry().top(), area->geometry().bottom());
    EXPECT_GE(excluded->height(), 100);
    // The window takes the pane's measured size, the exclusions included.
    EXPECT_GE(w->height(), w->paneSizes()[1].height());
    EXPECT_GE(w->paneSizes()[1].height(), excluded->geometry().bottom());
}
