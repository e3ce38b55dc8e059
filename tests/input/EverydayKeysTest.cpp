// The rest of the Windows keys a switcher types every day, each row tried where it acts and in
// every place it must not: a terminal, an excluded application, with the master switch or its own
// switch off, and with Control and Command swapped in hardware.
#include "InputRig.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;
using namespace fenwold::testing::shorthand;

namespace {

// One row: a key as pressed and what it does in a text editor, in words.
struct Row {
    const char* name;
    int64_t key;
    uint64_t flags;
    PrefKey pref;
    QStringList does;
    bool actsInTerminals = false;
};

// What the program did for a key, in words: keys posted (to the front application, or "to the
// session" as the keyboard's), addresses opened, the collaborators' calls and the simulated
// system's own reactions. Key-ups are left out: every posted key-down has its key-up.
struct EverydayRig : InputRig {
    EverydayRig() {
        sim.systemUI.startControlCentre();
        withContextMenu(textEdit);
    }
    // The application's focused text area, with a context menu.
    void withContextMenu(int32_t pid) {
        const AXElement area = sim.accessibility.create(pid);
        sim.accessibility.set(area, "AXRole", AXValue::of(QString("AXTextArea")));
        sim.accessibility.onAction(area, "AXShowMenu", [this] {
            calls.add("context menu");
            return axerr::success;
        });
        sim.accessibility.set(sim.accessibility.application(pid), "AXFocusedUIElement", AXValue::of(area));
    }
    QStringList did(int64_t key, uint64_t flags) {
        sim.systemUI.dismiss();
        sim.keys.clear();
        sim.workspace.clearOpened();
        calls.clear();
        const auto journal = sim.systemUI.journal().size();
        press(key, flags);
        sim.mainQueue.drain();
        QStringList out;
        for (const PostedKey& k : sim.keys.posted())
            if (k.keyDown)
                out << QString("key %1 0x%2 %3")
                           .arg(k.keyCode)
                           .arg(k.flags, 0, 16)
                           .arg(k.pid ? QString("to the app") : QString("to the session"));
        for (const QUrl& u : sim.workspace.openedURLs())
            out << "open " + (u.isLocalFile() ? u.toLocalFile() : u.toString());
        out << calls.calls();
        out << sim.systemUI.journal().mid(journal);
        return out;
    }
};

QString key(int code, uint64_t flags) {
    return QString("key %1 0x%2 to the app").arg(code).arg(flags, 0, 16);
}

// Control and Command exchanged, as the hardware swap delivers the physical keys.
uint64_t swapped(uint64_t flags) {
    const uint64_t both = ctl | cmd, bits = flags & both;
    return bits == ctl || bits == cmd ? (flags & ~both) | (bits ^ both) : flags;
}

const std::vector<Row>& rows() {
    static const std::vector<Row> all = {
        {"Alt+Left", kLeft, opt, PrefKey::altBackForward, {key(kLeftBracket, cmd)}},
        {"Alt+Right", kRight, opt, PrefKey::altBackForward, {key(kRightBracket, cmd)}},
        {"Alt+D", kD, opt, PrefKey::altD, {key(kL, cmd)}},
        {"Ctrl+PgDn", kPageDown, ctl, PrefKey::ctrlPageTabs, {key(kTab, ctl)}},
        {"Ctrl+PgUp", kPageUp, ctl, PrefKey::ctrlPageTabs, {key(kTab, ctl | sh)}},
        {"Ctrl+1", k1, ctl, PrefKey::ctrlDigits, {key(k1, cmd)}},
        {"Ctrl+9", k9, ctl, PrefKey::ctrlDigits, {key(k9, cmd)}},
        {"Ctrl+Up", kUp, ctl, PrefKey::ctrlParagraph, {key(kUp, opt)}},
        {"Ctrl+Shift+Down", kDown, ctl | sh, PrefKey::ctrlParagraph, {key(kDown, opt | sh)}},
        {"Ctrl+D", kD, ctl, PrefKey::ctrlWebLetters, {key(kD, cmd)}},
        {"Ctrl+K", kK, ctl, PrefKey::ctrlWebLetters, {key(kK, cmd)}},
        {"F5", kF5, 0, PrefKey::f5Refresh, {key(kR, cmd)}},
        {"F3", kF3, 0, PrefKey::f3FindNext, {key(kG, cmd)}},
        {"Shift+F3", kF3, sh, PrefKey::f3FindNext, {key(kG, cmd | sh)}},
        {"F11", kF11, 0, PrefKey::f11FullScreen, {key(kF, ctl | cmd)}},
        {"F1", kF1, 0, PrefKey::f1Help, {key(kSlash, cmd | sh)}}, // ⌘? is ⇧⌘/
        // The system's own key, to the session: it must work while the front application hangs.
        {"Ctrl+Alt+Delete",
         kFwdDelete,
         ctl | opt,
         PrefKey::ctrlAltDelete,
         {"key 53 0x180000 to the session", "force quit"},
         true},
        {"Shift+F10", kF10, sh, PrefKey::contextMenu, {"context menu"}},
        {"Menu", kContextMenu, 0, PrefKey::contextMenu, {"context menu"}, true},
        // The Windows key's rows act in terminals too: the key is the terminal's ⌘.
        {"Win+Shift+S",
         kS,
         cmd | sh,
         PrefKey::winShiftS,
         {"open /System/Applications/Utilities/Screenshot.app"},
         true},
        {"Win+S", kS, cmd, PrefKey::winS, {"key 49 0x100000 to the session", "spotlight"}, true},
        {"Win+.", kPeriod, cmd, PrefKey::winEmoji, {key(kSpace, ctl | cmd)}, true},
        {"Win+;", kSemicolon, cmd, PrefKey::winEmoji, {key(kSpace, ctl | cmd)}, true},
        {"Win+I", kI, cmd, PrefKey::winI, {"open /System/Applications/System Settings.app"}, true},
        {"Win+A", kA, cmd, PrefKey::winA, {"control centre"}, true},
        {"Win+N", kN, cmd, PrefKey::winN, {"notification centre"}, true},
        {"Win+P",
         kP,
         cmd,
         PrefKey::winP,
         {"open x-apple.systempreferences:com.apple.Displays-Settings.extension"},
         true},
        {"Win+Pause",
         kPause,
         cmd,
         PrefKey::winPause,
         {"open x-apple.systempreferences:com.apple.SystemProfiler.AboutExtension"},
         true},
        {"Win+X", kX, cmd, PrefKey::winX, {"quickLinks"}, true},
        {"Win+Ctrl+Left",
         kLeft,
         cmd | ctl,
         PrefKey::winCtrlArrows,
         {"key 123 0x40000 to the session", "space 1"},
         true},
        {"Win+Ctrl+Right",
         kRight,
         cmd | ctl,
         PrefKey::winCtrlArrows,
         {"key 124 0x40000 to the session", "space 2"},
         true},
        {"Win+Ctrl+D",
         kD,
         cmd | ctl,
         PrefKey::winCtrlD,
         {"open /System/Applications/Mission Control.app"},
         true},
        {"Win+Z", kZ, cmd, PrefKey::winZ, {"layouts"}, true},
        {"Win+Shift+Left", kLeft, cmd | sh, PrefKey::snapDisplays, {"moveToDisplay left 7"}, true},
        {"Win+Shift+Right", kRight, cmd | sh, PrefKey::snapDisplays, {"moveToDisplay right 7"}, true},
    };
    return all;
}

} // namespace

TEST(EverydayKeys, EachRowActsInAnEditorAndOnlyWhereItShould) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        EverydayRig rig;
        rig.set(row.pref, true);
        // Start from the first Space, so that Win+Ctrl+Left has nowhere to go but stays.
        if (row.key == kRight && (row.flags & ctl)) rig.sim.windows.switchToSpace(1);
        if (row.key == kLeft && (row.flags & ctl)) rig.sim.windows.switchToSpace(2);
        EXPECT_EQ(rig.did(row.key, row.flags), row.does);

        // Its own switch off, or every shortcut off: the key passes as typed.
        rig.set(row.pref, false);
        EXPECT_TRUE(rig.did(row.key, row.flags).isEmpty());
        rig.set(row.pref, true);
        rig.set(PrefKey::shortcutsEnabled, false);
        EXPECT_EQ(rig.press(row.key, row.flags).first, pass);
        rig.set(PrefKey::shortcutsEnabled, true);

        // An excluded application gets the real keys.
        rig.prefs().setExcludedApps({"com.apple.TextEdit"});
        EXPECT_TRUE(rig.did(row.key, row.flags).isEmpty());
        rig.prefs().setExcludedApps({});

        // With Control and Command swapped the physical keys arrive exchanged and do the same,
        // except the rows that only turn Control into Command, which the swap already does.
        rig.set(PrefKey::swapCtrlCmd, true);
        if (row.key == kLeft && (row.flags & ctl)) rig.sim.windows.switchToSpace(2);
        if (row.key == kRight && (row.flags & ctl)) rig.sim.windows.switchToSpace(1);
        const bool swapDoesIt = declarationOf(row.pref).kind == PrefKind::ctrlToCmd;
        EXPECT_EQ(rig.did(row.key, swapped(row.flags)), swapDoesIt ? QStringList() : row.does);
        rig.set(PrefKey::swapCtrlCmd, false);

        // In a terminal.
        rig.withContextMenu(rig.sim.app("com.apple.Terminal", "Terminal").frontmost());
        if (row.key == kLeft && (row.flags & ctl)) rig.sim.windows.switchToSpace(2);
        if (row.key == kRight && (row.flags & ctl)) rig.sim.windows.switchToSpace(1);
        const QStringList inTerminal = rig.did(row.key, row.flags);
        if (row.actsInTerminals)
            EXPECT_FALSE(inTerminal.isEmpty());
        else
            EXPECT_TRUE(inTerminal.isEmpty()) << inTerminal.join(", ").toStdString();
    }
}

TEST(EverydayKeys, NewWinRowsAreOffOnANewMacAndTheOthersOn) {
    EverydayRig rig;
    for (const Row& row : rows()) {
        const bool winKey = isWinKeySwitch(row.pref);
        // Ctrl+↑ and Ctrl+↓ stay off like Ctrl+← and Ctrl+→: they hide Mission Control's keys.
        const bool on = !winKey && row.pref != PrefKey::ctrlParagraph;
        EXPECT_EQ(rig.prefs().flag(row.pref), on) << row.name;
    }
}

TEST(EverydayKeys, HeldKeysActOnceAndHintsTeachTheMacWay) {
    EverydayRig rig;
    rig.set(PrefKey::winX, true);
    rig.set(PrefKey::winS, true);
    EXPECT_EQ(rig.down(kX, cmd), swallow);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rig.down(kX, cmd, {.autorepeat = true}), swallow);
    rig.up(kX, cmd);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), QStringList{"quickLinks"});
    EXPECT_EQ(rig.hud.current()->win, "Win+X");

    // A held Win+S opens Spotlight once; it would close it again at the next repeat.
    rig.down(kS, cmd);
    rig.down(kS, cmd, {.autorepeat = true});
    rig.up(kS, cmd);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.sim.systemUI.panel(), SimSystemUI::Panel::spotlight);

    EXPECT_EQ(rig.did(kRight, opt), QStringList{key(kRightBracket, cmd)});
    EXPECT_EQ(rig.hintNow(), (Hint{"Alt+← / →", "⌘ [ ~and ⌘ ] ~go ~back ~and ~forward", std::nullopt}));
    rig.did(47, cmd); // Win+. (off): no hint
    rig.set(PrefKey::winEmoji, true);
    rig.did(41, cmd);
    EXPECT_EQ(rig.hintNow()->win, "Win+;");
}

TEST(EverydayKeys, NoShortcutIsPostedThatHidesQuitsEjectsOrDeletesWhereWindowsDoesNot) {
    EverydayRig rig;
    for (PrefKey k : {PrefKey::winI, PrefKey::winA, PrefKey::winN, PrefKey::winP, PrefKey::winS,
                      PrefKey::winX, PrefKey::winZ, PrefKey::winEmoji, PrefKey::ctrlParagraph})
        rig.set(k, true);
    const QString hide = key(kH, cmd), quit = key(kQ, cmd), eject = key(kE, cmd), trash = key(kDelete, cmd);
    const int32_t finder = rig.sim.app("com.apple.finder", "Finder");
    for (int32_t front : {rig.textEdit, finder}) {
        rig.sim.workspace.activate(front);
        for (const Row& row : rows())
            for (uint64_t extra : {uint64_t{0}, sh}) {
                const QStringList did = rig.did(row.key, row.flags | extra);
                EXPECT_FALSE(did.contains(hide) || did.contains(quit)) << row.name;
                // ⌘⌫ only in Finder (its Trash), ⌘E never in Finder (it ejects there).
                EXPECT_FALSE(front == finder ? did.contains(eject) : did.contains(trash)) << row.name;
            }
    }
}

TEST(EverydayKeys, TheContextMenuKeyDoesNothingWhereTheFocusedElementHasNoMenu) {
    EverydayRig rig;
    const AXElement plain = rig.sim.accessibility.create(rig.textEdit);
    rig.sim.accessibility.set(rig.sim.accessibility.application(rig.textEdit), "AXFocusedUIElement",
                              AXValue::of(plain));
    EXPECT_TRUE(rig.did(kContextMenu, 0).isEmpty());
    // No focused element at all: nothing either, and the key still goes nowhere else.
    rig.sim.accessibility.remove(rig.sim.accessibility.application(rig.textEdit), "AXFocusedUIElement");
    EXPECT_EQ(rig.press(kF10, sh).first, swallow);
    rig.sim.mainQueue.drain();
    EXPECT_TRUE(rig.calls.calls().isEmpty());
    // The menu extras missing (no Control Centre process): Win+A does nothing.
    rig.set(PrefKey::winA, true);
    rig.sim.workspace.quit(rig.sim.systemUI.controlCentrePid());
    EXPECT_TRUE(rig.did(kA, cmd).isEmpty());
}

// Ctrl+E and Ctrl+J are a browser's: the address bar to search, and the downloads with each
// browser's own key. Anywhere else the application gets the key as typed, since the ⌘ key would
// do something else there (⌘E uses the selection for Find, ⌘J jumps to it).
TEST(EverydayKeys, CtrlEAndCtrlJUseEachBrowsersOwnKeysOnEveryLayout) {
    struct Browser {
        const char* bundleID;
        const char* name;
        char32_t downloads;
        uint64_t flags;
    };
    const Browser browsers[] = {{"com.apple.Safari", "Safari", U'l', opt | cmd},
                                {"com.google.Chrome", "Google Chrome", U'j', sh | cmd},
                                {"org.mozilla.firefox", "Firefox", U'j', cmd}};
    for (const bool winRows : {false, true})
        for (const char* layout : {"US", "German", "French", "Dvorak"}) {
            SCOPED_TRACE(layout);
            SCOPED_TRACE(winRows ? "Windows-key rows on" : "Windows-key rows off");
            EverydayRig rig;
            rig.setWinKeyRows(winRows);
            ASSERT_TRUE(rig.sim.keyboardLayout.select(layout));
            rig.sim.mainQueue.drain();
            const auto keyOf = [&](char32_t letter) {
                return static_cast<int>(rig.layout.table().keyFor(letter)->keyCode);
            };
            for (const Browser& b : browsers) {
                SCOPED_TRACE(b.name);
                rig.sim.app(b.bundleID, b.name).frontmost();
                EXPECT_EQ(rig.did(keyOf(U'e'), ctl), QStringList{key(keyOf(U'l'), cmd)});
                EXPECT_EQ(rig.did(keyOf(U'j'), ctl), QStringList{key(keyOf(b.downloads), b.flags)});
            }
            rig.sim.workspace.activate(rig.textEdit);
            for (char32_t letter : {U'e', U'j'}) {
                EXPECT_EQ(rig.press(keyOf(letter), ctl).first, pass);
                EXPECT_TRUE(rig.did(keyOf(letter), ctl).isEmpty());
            }
            // Their switches still hold in a browser.
            rig.sim.app("com.apple.Safari", "Safari").frontmost();
            rig.set(PrefKey::ctrlSearch, false);
            rig.set(PrefKey::ctrlWebLetters, false);
            EXPECT_EQ(rig.press(keyOf(U'e'), ctl).first, pass);
            EXPECT_EQ(rig.press(keyOf(U'j'), ctl).first, pass);
        }
}
