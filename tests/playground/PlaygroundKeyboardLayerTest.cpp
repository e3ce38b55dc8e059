// The shipped scripts of the keyboard layer played headless: the Windows editing keys, an
// application the shortcuts stay out of, and Secure Keyboard Entry.
#include "PlaygroundFixture.h"
#include "core/settings/ExcludedApps.h"
#include "ui/settings/ExcludedAppsView.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/settings/ShortcutsPane.h"

#include <QMenu>

using namespace fenwold;

namespace {
QString keys(const char* utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

TEST_F(Playground, EditingKeysUndoRedoDeleteWordsAndOpenAndCloseDocumentsButLeaveTheShell) {
    ASSERT_TRUE(runShipped("editing-keys.play"));
    TextEditorApp& editor = pg->apps().editor();
    const QStringList got = editor.received();
    for (const char* k : {"⌥⌫", "⌘Z", "⇧⌘Z", "⌘N", "⌘W"})
        EXPECT_TRUE(got.contains(keys(k))) << k;
    // Deleted, undone, redone and undone again: the word is back; the new document is closed.
    EXPECT_EQ(editor.text(focused(editor)), "Meeting at ten.\nBring coffee");
    for (const SimWindow& w : sim.windows.windowsOf(editor.pid()))
        EXPECT_FALSE(w.title.startsWith("Untitled"));
    // The terminal got the shell's own Control+W.
    TerminalApp& terminal = pg->apps().terminal();
    EXPECT_EQ(terminal.inputLine(focused(terminal)), "echo hello ");
    EXPECT_TRUE(terminal.received().contains(keys("⌃W")));
    EXPECT_FALSE(terminal.received().contains(keys("⌘W")));
    for (const char* shot :
         {"editing-word-deleted", "editing-undone", "editing-new-document", "editing-terminal"})
        EXPECT_TRUE(QFile::exists(shots.filePath(QString(shot) + ".png"))) << shot;
}

TEST_F(Playground, AGuestPcPausedFromTheStatusMenuGetsTheRealKeys) {
    GuestPcApp& guest = pg->apps().guest();
    const uint32_t screen = focused(guest);
    const Rect frame = sim.windows.window(screen)->frame;
    ASSERT_TRUE(runShipped("exclusions.play"));
    // Ctrl+C was translated before the guest was paused; afterwards every key arrived as typed,
    // Alt+Tab and Win+Left included, and nothing switched or snapped.
    EXPECT_EQ(guest.received(), (QStringList{keys("⌘C"), keys("⌃C"), keys("⌃Z"), keys("⌥⇥"), keys("⌘←")}));
    EXPECT_EQ(pg->delegate().prefs().excludedApps(), QStringList{"org.fenwold.sim.GuestPC"});
    EXPECT_EQ(frontPid(), guest.pid());
    EXPECT_EQ(sim.windows.window(screen)->frame, frame);
    EXPECT_TRUE(pg->delegate().routing().snapshot().switcherPhase.isClosed());
    // Win+Esc still worked: off and on again.
    EXPECT_TRUE(pg->delegate().prefs().shortcutsEnabled());
    EXPECT_TRUE(pg->log().lines().join('\n').contains(keys("tap: ⌘Esc down — swallowed")));
    for (const char* shot : {"exclusions-menu", "exclusions-guest", "exclusions-menu-checked"})
        EXPECT_TRUE(QFile::exists(shots.filePath(QString(shot) + ".png"))) << shot;

    // Back in the editor the shortcuts work as before.
    ASSERT_TRUE(run("activate TextEdit\nctrl+a\nwait 0.3"));
    EXPECT_TRUE(pg->apps().editor().received().contains(keys("⌘A")));
}

TEST_F(Playground, TheSettingsPlusButtonOpensTheSimulatedChooserAndAddsTheChosenApp) {
    ASSERT_TRUE(run("click 1301 11\nwait 0.6\ns\nreturn\nwait 0.3"));
    SettingsWindow* settings = pg->views().settingsWindow();
    ASSERT_NE(settings, nullptr);
    settings->selectTab(1, false);
    ExcludedAppsView& view = *settings->shortcuts()->excludedApps();
    view.addButton()->click();
    pg->settle();
    ApplicationChooser& chooser = pg->chooser();
    ASSERT_TRUE(chooser.isVisible());
    EXPECT_EQ(pg->desktop().keyProgramWindow(), &chooser);
    QStringList names;
    for (int i = 0; i < chooser.list()->count(); ++i)
        names << chooser.list()->item(i)->text();
    ASSERT_TRUE(names.contains("Guest PC.app")) << names.join(", ").toStdString();
    chooser.list()->setCurrentRow(static_cast<int>(names.indexOf("Guest PC.app")));
    chooser.addButton()->click();
    pg->settle();
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(pg->desktop().keyProgramWindow(), settings);
    EXPECT_EQ(pg->delegate().prefs().excludedApps(), QStringList{"org.fenwold.sim.GuestPC"});
    ASSERT_EQ(view.list()->count(), 1);
    EXPECT_EQ(view.list()->item(0)->text(), "Guest PC");
    // Cancel adds nothing.
    view.addButton()->click();
    chooser.cancelButton()->click();
    EXPECT_EQ(pg->delegate().prefs().excludedApps().size(), 1);
}

TEST_F(Playground, SecureKeyboardEntryPausesTheTapAndAStuckHolderIsNamedOnce) {
    PasswordManagerApp& vault = pg->apps().vault();
    const int32_t vaultPid = vault.pid();
    // Typing into Vault's password field: the menu says so, nothing else does.
    ASSERT_TRUE(run("activate Vault\ntab\ntype \"hunter2\"\nwait 2.5"));
    EXPECT_TRUE(vault.fieldFocused());
    EXPECT_EQ(vault.masterPassword(), "hunter2");
    EXPECT_TRUE(pg->delegate().secureInput().on());
    EXPECT_EQ(pg->delegate().secureInput().holderPid(), vaultPid);
    ASSERT_TRUE(run("wait 6"));
    EXPECT_FALSE(pg->delegate().hints().current() &&
                 pg->delegate().hints().current()->title == QString("Shortcuts paused"));

    ASSERT_TRUE(runShipped("secure-input.play"));
    const QStringList log = sim.log.lines();
    const QString on = QString("Fenwold: secure keyboard entry on (pid %1, Vault)").arg(vaultPid);
    EXPECT_EQ(log.count(on), 2) << log.join('\n').toStdString();
    EXPECT_EQ(log.count("Fenwold: secure keyboard entry off"), 2);
    // While Vault was stuck, Ctrl+A reached the editor untranslated; after Vault quit, as ⌘A.
    const QStringList got = pg->apps().editor().received();
    const auto control = got.indexOf(keys("⌃A")), command = got.lastIndexOf(keys("⌘A"));
    ASSERT_GE(control, 0);
    EXPECT_GT(command, control);
    EXPECT_FALSE(vault.running());
    EXPECT_FALSE(pg->delegate().secureInput().on());
    for (const char* shot : {"secure-input-menu", "secure-input-hud", "secure-input-released"})
        EXPECT_TRUE(QFile::exists(shots.filePath(QString(shot) + ".png"))) << shot;
}

TEST_F(Playground, AStuckHolderInTheBackgroundGetsTheHudAfterFiveSeconds) {
    ASSERT_TRUE(run("stick-secure-input Vault\nwait 2.1"));
    ASSERT_TRUE(pg->delegate().secureInput().on());
    ASSERT_TRUE(run("wait 4.8"));
    EXPECT_FALSE(pg->delegate().hints().current());
    ASSERT_TRUE(run("wait 0.4"));
    ASSERT_TRUE(pg->delegate().hints().current());
    EXPECT_EQ(pg->delegate().hints().current()->title, QString("Shortcuts paused"));
    EXPECT_EQ(pg->delegate().hints().current()->mac, QString("Vault ~has ~Secure ~Keyboard ~Entry ~on"));
}
