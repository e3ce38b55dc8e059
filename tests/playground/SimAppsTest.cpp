// The playground's applications react to keys the way a person expects, and the simulated
// keyboard makes the events macOS would.
#include "platform/sim/apps/SimHardware.h"
#include "ports/KeyCodes.h"

#include <QBuffer>
#include <QDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

constexpr uint64_t kCmd = flag::command, kShiftHeld = flag::shift, kCtrl = flag::control, kOpt = flag::option;

struct Apps : ::testing::Test {
    SimSession sim;
    SimApps apps{sim};

    void key(SimApplication& app, uint16_t code, uint64_t flags = 0) {
        apps.deliver(app.pid(), AppKey{code, flags});
    }
    void type(SimApplication& app, const QString& text) {
        for (QChar c : text) {
            const auto k = sim.keyboardLayout.keyTyping(c);
            ASSERT_TRUE(k) << QString(c).toStdString();
            key(app, k->keyCode, k->shift ? kShiftHeld : 0);
        }
    }
    QString pasteboardText() const {
        for (const auto& item : sim.pasteboard.contents())
            for (const auto& [type, bytes] : item.types)
                if (type == "public.utf8-plain-text") return QString::fromUtf8(bytes);
        return {};
    }
    QStringList pasteboardTypes() const {
        QStringList types;
        for (const auto& item : sim.pasteboard.contents())
            for (const auto& t : item.types)
                types << t.first;
        return types;
    }
};

} // namespace

TEST_F(Apps, EditorTypesSelectsWithShiftArrowsAndCutsCopiesPastes) {
    auto& ed = apps.editor();
    const uint32_t doc = ed.newDocument("Doc", {0, 30, 400, 300}, "");
    type(ed, "Hello World");
    EXPECT_EQ(ed.text(doc), "Hello World");
    for (int i = 0; i < 5; ++i)
        key(ed, kLeft, kShiftHeld);
    EXPECT_EQ(ed.selectedText(doc), "World");
    key(ed, kX, kCmd);
    EXPECT_EQ(ed.text(doc), "Hello ");
    EXPECT_EQ(pasteboardText(), "World");
    key(ed, kA, kCmd);
    key(ed, kC, kCmd);
    EXPECT_EQ(pasteboardText(), "Hello ");
    key(ed, kRight);
    key(ed, kV, kCmd);
    key(ed, kV, kCmd);
    EXPECT_EQ(ed.text(doc), "Hello Hello Hello ");
    key(ed, kDelete);
    key(ed, kReturn);
    type(ed, "x");
    EXPECT_EQ(ed.text(doc), "Hello Hello Hello\nx");
    // Control and Option chords type nothing.
    key(ed, kC, kCtrl);
    key(ed, kA, kOpt);
    EXPECT_EQ(ed.text(doc), "Hello Hello Hello\nx");
    EXPECT_EQ(ed.content(doc).last(), QString("x") + QChar(0x2502));
}

TEST_F(Apps, CommandWClosesMQuitsAndQQuits) {
    auto& ed = apps.editor();
    const uint32_t a = ed.newDocument("A", {0, 30, 400, 300});
    const uint32_t b = ed.newDocument("B", {20, 50, 400, 300});
    key(ed, kW, kCmd);
    EXPECT_FALSE(sim.windows.window(b));
    EXPECT_TRUE(sim.windows.window(a));
    key(ed, kM, kCmd);
    EXPECT_TRUE(sim.windows.window(a)->minimized);
    key(ed, kQ, kCmd);
    EXPECT_FALSE(ed.running());
}

TEST_F(Apps, TerminalKeepsControlCAndRunsLines) {
    auto& term = apps.terminal();
    const uint32_t w = term.newWindow({0, 30, 600, 400});
    type(term, "sleep 100");
    key(term, kC, kCtrl);
    EXPECT_EQ(term.interrupts(), 1);
    EXPECT_EQ(term.inputLine(w), "");
    EXPECT_TRUE(term.content(w).join('\n').contains("sleep 100^C"));
    type(term, "echo hi");
    key(term, kReturn);
    EXPECT_TRUE(term.content(w).contains("hi"));
    sim.pasteboard.copyText("pasted");
    key(term, kV, kCmd);
    EXPECT_EQ(term.inputLine(w), "pasted");
}

TEST_F(Apps, FinderRenamesOpensTrashesCopiesAndMoves) {
    auto& finder = apps.finder();
    const uint32_t docs = finder.openFolder("Documents", {"a.txt", "b.txt", "c.txt"}, {0, 30, 400, 300});
    const uint32_t down = finder.openFolder("Downloads", {"d.zip"}, {40, 60, 400, 300});
    sim.workspace.activate(finder.pid());
    sim.windows.raise(docs);
    key(finder, kDown);
    EXPECT_EQ(finder.selected(docs), "b.txt");
    key(finder, kReturn);
    EXPECT_TRUE(finder.renaming(docs));
    // While renaming, the focused element is a text field (the program's Finder keys look).
    const auto focus = sim.accessibility.attribute(finder.focusedElement(), "AXRole").asString();
    EXPECT_EQ(focus, QString("AXTextField"));
    for (int i = 0; i < 5; ++i)
        key(finder, kDelete);
    type(finder, "e.md");
    key(finder, kReturn);
    EXPECT_FALSE(finder.renaming(docs));
    EXPECT_EQ(finder.files(docs), (QStringList{"a.txt", "e.md", "c.txt"}));
    key(finder, kO, kCmd);
    EXPECT_EQ(finder.opened(), QStringList{"e.md"});
    EXPECT_EQ(sim.workspace.openedURLs().size(), 1);
    key(finder, kDelete, kCmd);
    EXPECT_EQ(finder.trash(), QStringList{"e.md"});
    EXPECT_EQ(finder.selected(docs), "c.txt");
    key(finder, kC, kCmd);
    EXPECT_TRUE(pasteboardTypes().contains("public.file-url"));
    key(finder, kV, kCmd);
    EXPECT_EQ(finder.files(docs), (QStringList{"a.txt", "c.txt", "c copy.txt"}));
    key(finder, kUp);
    key(finder, kC, kCmd);
    sim.windows.raise(down);
    key(finder, kV, kCmd | kOpt);
    EXPECT_EQ(finder.files(down), (QStringList{"d.zip", "c.txt"}));
    EXPECT_EQ(finder.files(docs), (QStringList{"a.txt", "c copy.txt"}));
    // Esc leaves a rename without changing the name.
    key(finder, kReturn);
    type(finder, "zz");
    key(finder, kEsc);
    EXPECT_EQ(finder.files(down), (QStringList{"d.zip", "c.txt"}));
}

TEST_F(Apps, ImageViewerCopiesPngAndVaultCopiesConcealedTransientText) {
    auto& viewer = apps.viewer();
    viewer.openImage("p.png", ImageViewerApp::sampleImage(), {0, 30, 400, 300});
    key(viewer, kC, kCmd);
    ASSERT_EQ(pasteboardTypes(), QStringList{"public.png"});
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(sim.pasteboard.contents().front().types.front().second, "PNG"));
    EXPECT_EQ(decoded.size(), QSize(320, 200));

    auto& vault = apps.vault();
    vault.openVault({{"a.example", "first"}, {"b.example", "second"}}, {0, 30, 300, 200});
    key(vault, kDown);
    key(vault, kC, kCmd);
    EXPECT_EQ(pasteboardText(), "second");
    EXPECT_TRUE(pasteboardTypes().contains("org.nspasteboard.ConcealedType"));
    EXPECT_TRUE(pasteboardTypes().contains("org.nspasteboard.TransientType"));
    EXPECT_FALSE(vault.content(0).join(' ').contains("second"));
}

TEST_F(Apps, BrowserEditsItsAddressAndZooms) {
    auto& web = apps.browser();
    const uint32_t w = web.openPage("Start", "start.example", {0, 30, 600, 400});
    key(web, kL, kCmd);
    type(web, "news.example");
    key(web, kReturn);
    EXPECT_EQ(web.address(w), "news.example");
    EXPECT_EQ(sim.windows.window(w)->title, "news.example");
    key(web, kEqual, kCmd);
    key(web, kEqual, kCmd);
    EXPECT_EQ(web.zoomPercent(w), 120);
    key(web, k0, kCmd);
    EXPECT_EQ(web.zoomPercent(w), 100);
    key(web, kT, kCmd);
    EXPECT_EQ(web.tabs(w), 2);
    key(web, kN, kCmd);
    EXPECT_EQ(sim.windows.windowsOf(web.pid()).size(), 2u);
}

TEST_F(Apps, PostedKeysWaitForFlushAndReachTheirProcess) {
    apps.populate();
    const uint32_t notes = *sim.windows.focusedWindow(apps.editor().pid());
    std::vector<PostedKey> seen;
    apps.onPosted = [&](const PostedKey& k) { seen.push_back(k); };
    sim.keys.post(kA, true, kCmd, apps.editor().pid());
    sim.keys.post(kA, false, kCmd, apps.editor().pid());
    EXPECT_EQ(apps.editor().selectedText(notes), "");
    EXPECT_EQ(apps.flush(), 2);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(apps.editor().selectedText(notes), "Meeting at ten.\n");
    // The front application's focused element is the system-wide focus.
    sim.workspace.activate(apps.finder().pid());
    const auto focused =
        sim.accessibility.attribute(sim.accessibility.systemWide(), "AXFocusedUIElement").asElement();
    ASSERT_TRUE(focused);
    EXPECT_EQ(sim.accessibility.pid(*focused), apps.finder().pid());
}

TEST_F(Apps, HardwareMakesFlagsChangedEventsAndDeliversPassedKeysToTheFrontApp) {
    apps.populate();
    std::vector<TapEvent> seen;
    sim.eventTap.start(~uint64_t{0}, [&](TapEvent& e) {
        seen.push_back(e);
        // Swallow Option+Q, rewrite Control+A to Command+A, pass the rest.
        if (e.type == eventtype::keyDown && e.keyCode == kQ && (e.flags & kOpt)) return TapAnswer::swallow;
        if (e.type == eventtype::keyDown && e.keyCode == kA && (e.flags & kCtrl))
            e.flags = (e.flags & ~kCtrl) | kCmd;
        return TapAnswer::pass;
    });
    SimHardware hw(sim, apps);
    std::vector<TapDecision> decisions;
    hw.onDecision = [&](const TapDecision& d) { decisions.push_back(d); };
    hw.keyDown(kOption);      // left Option
    hw.keyDown(kRightOption); // right Option
    hw.keyUp(kOption);
    EXPECT_TRUE(hw.flags() & kOpt); // the right one still holds it
    hw.tap(kQ);
    hw.keyUp(kRightOption);
    EXPECT_FALSE(hw.flags() & kOpt);
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(seen[0].type, eventtype::flagsChanged);
    EXPECT_EQ(seen[0].keyCode, 58);
    EXPECT_TRUE(seen[0].flags & kOpt);
    EXPECT_EQ(seen[3].type, eventtype::keyDown);
    EXPECT_EQ(decisions[3].answer, TapAnswer::swallow);
    EXPECT_FALSE(apps.editor().received().contains(QString(QChar(0x2325)) + "Q"));

    hw.keyDown(kControl);
    hw.keyDown(kA, true);
    EXPECT_EQ(seen.back().autorepeat, 1);
    EXPECT_TRUE(decisions.back().rewritten());
    hw.keyUp(kA);
    hw.releaseAll();
    EXPECT_EQ(hw.flags(), 0u);
    const uint32_t notes = *sim.windows.focusedWindow(apps.editor().pid());
    EXPECT_EQ(apps.editor().selectedText(notes), "Meeting at ten.\n");
    EXPECT_EQ(apps.editor().received().last(), QString(QChar(0x2318)) + "A");
    // Hardware events carry no marker and no source process.
    EXPECT_EQ(seen.back().sourceUserData, 0);
    EXPECT_EQ(seen.back().sourcePid, 0);
}

TEST_F(Apps, EditorUndoesRedoesAndDeletesWholeWords) {
    auto& ed = apps.editor();
    const uint32_t doc = ed.newDocument("Doc", {0, 30, 400, 300}, "");
    type(ed, "one two");
    key(ed, kDelete, kOpt);
    EXPECT_EQ(ed.text(doc), "one ");
    key(ed, kZ, kCmd);
    EXPECT_EQ(ed.text(doc), "one two");
    key(ed, kZ, kCmd | kShiftHeld);
    EXPECT_EQ(ed.text(doc), "one ");
    // Typing undoes as one step; a redo is gone after a new edit.
    key(ed, kZ, kCmd);
    key(ed, kZ, kCmd);
    EXPECT_EQ(ed.text(doc), "");
    key(ed, kZ, kCmd); // nothing more to undo
    type(ed, "x");
    key(ed, kZ, kCmd | kShiftHeld);
    EXPECT_EQ(ed.text(doc), "x");
    // Option+Delete takes the word after the cursor.
    type(ed, " left right");
    for (int i = 0; i < 6; ++i)
        key(ed, kLeft);
    key(ed, kFwdDelete, kOpt);
    EXPECT_EQ(ed.text(doc), "x left");
}

TEST_F(Apps, TerminalDeletesTheWordBeforeAndTheLineWithControlKeys) {
    auto& term = apps.terminal();
    const uint32_t w = term.newWindow({0, 30, 600, 400});
    type(term, "echo hello world ");
    key(term, kW, kCtrl);
    EXPECT_EQ(term.inputLine(w), "echo hello ");
    key(term, kU, kCtrl);
    EXPECT_EQ(term.inputLine(w), "");
}

TEST_F(Apps, TheGuestPcShowsEveryKeyItReceivesAndKeepsThemAll) {
    auto& guest = apps.guest();
    const uint32_t screen = guest.openScreen({0, 30, 400, 300});
    EXPECT_EQ(guest.content(screen).value(1), "  (none yet)");
    key(guest, kC, kCtrl);
    key(guest, kTab, kOpt);
    key(guest, kQ, kCmd); // the guest's own: the window does not quit
    EXPECT_TRUE(guest.running());
    EXPECT_EQ(guest.content(screen).mid(1),
              (QStringList{QString::fromUtf8("  ⌃C"), QString::fromUtf8("  ⌥⇥"), QString::fromUtf8("  ⌘Q")}));
    for (int i = 0; i < 20; ++i)
        key(guest, kA);
    EXPECT_EQ(guest.content(screen).size(), 1 + GuestPcApp::kShownKeys);
}

TEST_F(Apps, TheVaultsPasswordFieldHoldsSecureKeyboardEntryWhileFocusedInFront) {
    auto& vault = apps.vault();
    vault.openVault({{"a.example", "first"}}, {0, 30, 300, 200});
    sim.workspace.activate(vault.pid());
    EXPECT_FALSE(sim.secureInput.enabled());
    key(vault, kTab);
    EXPECT_TRUE(vault.fieldFocused());
    EXPECT_TRUE(sim.secureInput.enabled());
    EXPECT_EQ(sim.secureInput.holderPid(), vault.pid());
    type(vault, "pw");
    EXPECT_EQ(vault.masterPassword(), "pw");
    EXPECT_TRUE(vault.content(0).front().contains(QString(2, QChar(0x2022))));
    // Another application in front: the vault lets go, and takes it again on coming back.
    sim.workspace.activate(apps.editor().pid());
    EXPECT_FALSE(sim.secureInput.enabled());
    sim.workspace.activate(vault.pid());
    EXPECT_TRUE(sim.secureInput.enabled());
    key(vault, kTab);
    EXPECT_FALSE(sim.secureInput.enabled());
    // A forced stuck holder keeps it until it quits.
    sim.secureInput.stick(vault.pid());
    sim.workspace.activate(apps.editor().pid());
    EXPECT_TRUE(sim.secureInput.enabled());
    sim.workspace.quit(vault.pid());
    EXPECT_FALSE(sim.secureInput.enabled());
}

TEST_F(Apps, OpeningAnApplicationBringsItForwardAndLaunchesTheUtilitiesOnce) {
    apps.populate();
    const auto open = [&](const char* path) {
        return apps.open(QUrl::fromLocalFile(QString::fromUtf8(path)));
    };
    // A running application comes forward with its window, restored if it was minimised.
    const uint32_t shell = *sim.windows.focusedWindow(apps.terminal().pid());
    sim.windows.update(shell, [](SimWindow& w) { w.minimized = true; });
    EXPECT_EQ(open("/System/Applications/Utilities/Terminal.app"), QString("Terminal opened"));
    EXPECT_EQ(sim.workspace.frontmostPid(), apps.terminal().pid());
    EXPECT_FALSE(sim.windows.window(shell)->minimized);

    // A utility the desktop does not run is launched, once; closing its window and opening it
    // again gives it a new one.
    const std::size_t before = apps.all().size();
    EXPECT_EQ(open("/System/Applications/Utilities/Activity Monitor.app"),
              QString("Activity Monitor opened"));
    ASSERT_EQ(apps.all().size(), before + 1);
    SimApplication* monitor = apps.all().back();
    EXPECT_EQ(sim.workspace.frontmostPid(), monitor->pid());
    ASSERT_EQ(sim.windows.windowsOf(monitor->pid()).size(), 1u);
    sim.windows.close(sim.windows.windowsOf(monitor->pid()).front().number);
    EXPECT_TRUE(open("/System/Applications/Utilities/Activity Monitor.app"));
    EXPECT_EQ(apps.all().size(), before + 1);
    EXPECT_EQ(sim.windows.windowsOf(monitor->pid()).size(), 1u);

    // System Settings answers its own addresses, a pane included.
    EXPECT_EQ(apps.open(QUrl("x-apple.systempreferences:com.apple.Displays-Settings.extension")),
              QString("System Settings opened"));
    // A folder opens in Finder; an application nobody simulates opens nothing.
    EXPECT_EQ(apps.open(QUrl::fromLocalFile(QDir::tempPath())),
              "Finder opened " + QDir(QDir::tempPath()).dirName());
    EXPECT_EQ(sim.workspace.frontmostPid(), apps.finder().pid());
    EXPECT_FALSE(open("/System/Applications/Chess.app"));
}

TEST_F(Apps, ShowDesktopMovesTheWindowsAsideAndBackUnlessMovedMeanwhile) {
    apps.populate();
    std::map<uint32_t, Rect> before;
    for (uint32_t n : sim.windows.stacking())
        before[n] = sim.windows.window(n)->frame;
    ASSERT_TRUE(sim.privateServices.dockNotification("com.apple.showdesktop.awake"));
    const Rect display{0, 0, 1440, 900};
    for (const auto& [n, frame] : before) {
        const Rect now = sim.windows.window(n)->frame;
        EXPECT_EQ(now.y, frame.y);
        // Off the display but a sliver at its nearer edge.
        EXPECT_TRUE(now.maxX() <= display.x + 30 || now.x >= display.maxX() - 30) << n;
    }
    // One the user moves meanwhile stays where they put it; the rest come back.
    const uint32_t moved = before.begin()->first;
    sim.windows.update(moved, [](SimWindow& w) { w.frame = Rect{100, 100, 300, 200}; });
    sim.privateServices.dockNotification("com.apple.showdesktop.awake");
    const Rect placed{100, 100, 300, 200};
    for (const auto& [n, frame] : before)
        EXPECT_EQ(sim.windows.window(n)->frame, n == moved ? placed : frame) << n;
}
