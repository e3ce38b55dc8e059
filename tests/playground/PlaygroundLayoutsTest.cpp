// The simulated Mac on other keyboard layouts: the shipped script that types and uses shortcuts
// on each, and the playground's layout chooser.
#include "PlaygroundFixture.h"
#include "ui/playground/PlaygroundWindow.h"

#include <QComboBox>

using namespace fenwold;

TEST_F(Playground, EachLayoutTypesItsOwnLettersAndItsShortcutsFollowThem) {
    ASSERT_TRUE(runShipped("layouts.play"));
    TextEditorApp& editor = pg->apps().editor();
    // Undo and redo, select all and copy and paste worked on every layout; AZERTY's Ctrl+Q quit
    // nothing.
    EXPECT_EQ(
        editor.text(focused(editor)),
        QString::fromUtf8("Hello world\nGrüße aus Köln\nBonjour\nDvorakDvorak\nqwertyqwerty\nприветпривет"));
    EXPECT_TRUE(editor.running());
    EXPECT_TRUE(editor.received().contains(QString::fromUtf8("⌃Q")));
    EXPECT_EQ(pasteboardText(), QString::fromUtf8("привет"));
    EXPECT_EQ(sim.keyboardLayout.typing().id, "com.apple.keylayout.US");

    const QString log = pg->log().lines().join('\n');
    for (const char* line : {"keyboard layout: German", "keyboard layout: Dvorak – QWERTY ⌘",
                             "Fenwold: shortcuts follow the keyboard layout com.apple.keylayout.French"})
        EXPECT_TRUE(log.contains(QString::fromUtf8(line))) << line;
    for (const char* shot : {"layouts-us", "layouts-german", "layouts-french", "layouts-dvorak",
                             "layouts-dvorak-qwerty-command", "layouts-russian"})
        EXPECT_TRUE(QFile::exists(shots.filePath(QString(shot) + ".png"))) << shot;
}

TEST_F(Playground, TheToolbarChoosesTheLayoutAndFollowsTheInputMenu) {
    PlaygroundWindow window(*pg);
    QComboBox& chooser = *window.layoutChooser();
    ASSERT_EQ(chooser.count(), 6);
    EXPECT_EQ(chooser.currentText(), "US");
    chooser.setCurrentIndex(chooser.findText("German"));
    emit chooser.activated(chooser.currentIndex());
    EXPECT_EQ(sim.keyboardLayout.typing().id, "com.apple.keylayout.German");
    // Chosen elsewhere (the F19 cycle, a script): the toolbar shows it.
    ASSERT_TRUE(run("layout French"));
    EXPECT_EQ(chooser.currentText(), "French");
    // Typing follows the chosen layout.
    ASSERT_TRUE(run("activate TextEdit\ntype \"azerty\""));
    EXPECT_TRUE(pg->apps().editor().text(focused(pg->apps().editor())).endsWith("azerty"));
    // A layout the session does not have is a problem of the script, not a silent no-op.
    const ScriptParse parse = parsePlaygroundScript("layout Klingon");
    ScriptRunner runner(*pg, QDir(shots.path()));
    runner.run(parse.steps);
    EXPECT_EQ(runner.problems(), QStringList{"line 1: no keyboard layout called \"Klingon\""});
}
