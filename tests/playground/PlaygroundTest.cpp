// The whole program against the visible simulated Mac on the virtual clock, driven by the
// shipped scripts; the checks are what a person watching the playground would see.
#include "app/Playground.h"
#include "PlaygroundFixture.h"
#include "core/clipboard/ClipboardStore.h"
#include "ports/KeyCodes.h"
#include "ui/hints/HintView.h"
#include "ui/playground/PlaygroundSession.h"
#include "ui/playground/PlaygroundWindow.h"
#include "ui/playground/QtKeyMap.h"
#include "ui/playground/ScriptRunner.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;

TEST_F(Playground, DesktopShowsMenuBarWithStatusItemDockAndWindowsInStackingOrder) {
    EXPECT_EQ(pg->delegate().phase(), AppDelegate::Phase::armed);
    EXPECT_TRUE(pg->views().hasStatusItem());
    const QImage shot = pg->desktop().snapshot();
    EXPECT_EQ(shot.size(), QSize(1440, 900));
    // The menu bar is light; the status item's W is drawn dark inside its slot.
    EXPECT_TRUE(isGray(shot.pixel(700, 4), 200));
    const QRect item = pg->desktop().statusItemRect();
    int dark = 0;
    for (int x = item.left(); x <= item.right(); ++x)
        for (int y = item.top(); y <= item.bottom(); ++y)
            dark += qGray(shot.pixel(x, y)) < 80;
    EXPECT_GT(dark, 10);
    // Every running application has a Dock icon, drawn in the Dock along the bottom.
    for (SimApplication* app : pg->apps().all()) {
        const auto icon = pg->desktop().dockIconRect(app->pid());
        ASSERT_TRUE(icon);
        EXPECT_GT(icon->top(), 830);
        EXPECT_NE(shot.pixel(icon->center()), shot.pixel(icon->left() - 30, icon->center().y()));
    }
    // Windows in stacking order: the editor's "Notes" in front, its title bar light.
    const auto windows = pg->desktop().visibleWindows();
    ASSERT_EQ(windows.size(), 11u);
    EXPECT_EQ(windows.front().title, "Notes");
    EXPECT_TRUE(
        isGray(shot.pixel(qRound(windows.front().frame.midX()), qRound(windows.front().frame.y) + 4), 220));
    EXPECT_EQ(frontPid(), pg->apps().editor().pid());
}

TEST_F(Playground, MouseDragsTitleBarsRaisesMinimisesAndSwitchesSpaces) {
    DesktopView& desk = pg->desktop();
    const uint32_t term = focused(pg->apps().terminal());
    const Rect before = sim.windows.window(term)->frame;
    // Terminal's title bar peeks out below the editor's windows at its bottom-left.
    const QPoint grab(qRound(before.x) + 60, qRound(before.maxY()) - 10);
    ASSERT_TRUE(run(QStringLiteral("click %1 %2").arg(grab.x()).arg(grab.y())));
    EXPECT_EQ(frontPid(), pg->apps().terminal().pid());
    EXPECT_EQ(desk.visibleWindows().front().number, term);
    const QPoint title(qRound(before.x) + 200, qRound(before.y) + 10);
    ASSERT_TRUE(run(QStringLiteral("drag %1 %2 to %3 %4")
                        .arg(title.x())
                        .arg(title.y())
                        .arg(title.x() + 100)
                        .arg(title.y() + 50)));
    const Rect after = sim.windows.window(term)->frame;
    EXPECT_DOUBLE_EQ(after.x, before.x + 100);
    EXPECT_DOUBLE_EQ(after.y, before.y + 50);
    // The pointer went where the mouse went (screen coordinates are y-up).
    EXPECT_DOUBLE_EQ(sim.screens.pointerLocation().x, title.x() + 100);
    EXPECT_DOUBLE_EQ(sim.screens.pointerLocation().y, 900 - (title.y() + 50));
    // The yellow button minimises: the window is hidden from the desktop.
    ASSERT_TRUE(run(QStringLiteral("click %1 %2").arg(qRound(after.x) + 38).arg(qRound(after.y) + 14)));
    EXPECT_TRUE(sim.windows.window(term)->minimized);
    for (const SimWindow& w : desk.visibleWindows())
        EXPECT_NE(w.number, term);
    // A Dock click brings it back.
    const QPoint dock = desk.dockIconRect(pg->apps().terminal().pid())->center();
    ASSERT_TRUE(run(QStringLiteral("click %1 %2").arg(dock.x()).arg(dock.y())));
    EXPECT_FALSE(sim.windows.window(term)->minimized);
    // The Spaces control in the menu bar.
    const QPoint space2 = desk.spaceButtonRect(2).center();
    ASSERT_TRUE(run(QStringLiteral("click %1 %2").arg(space2.x()).arg(space2.y())));
    EXPECT_EQ(sim.windows.currentSpace(), 2);
    EXPECT_TRUE(desk.visibleWindows().empty());
}

TEST_F(Playground, TheDocksAccessibilityItemsSitWhereItsIconsAreDrawn) {
    const int32_t dock = pg->desktop().dockPid();
    ASSERT_TRUE(sim.workspace.app(dock));
    EXPECT_EQ(sim.workspace.app(dock)->policy, ActivationPolicy::accessory);
    const QRect icon = *pg->desktop().dockIconRect(pg->apps().browser().pid());
    const AXValue hit = sim.accessibility.elementAtPosition(
        sim.accessibility.application(dock), {double(icon.center().x()), double(icon.center().y())});
    ASSERT_TRUE(hit.asElement());
    EXPECT_EQ(sim.accessibility.attribute(*hit.asElement(), "AXSubrole").asString(),
              QString("AXApplicationDockItem"));
    EXPECT_EQ(sim.accessibility.attribute(*hit.asElement(), "AXTitle").asString(), QString("Safari"));
    const auto position = sim.accessibility.attribute(*hit.asElement(), "AXPosition").asPoint();
    ASSERT_TRUE(position);
    EXPECT_DOUBLE_EQ(position->x, icon.x());
    EXPECT_FALSE(
        sim.accessibility.elementAtPosition(sim.accessibility.application(dock), {700, 400}).asElement());
    EXPECT_EQ(sim.prefs.readDomain("com.apple.dock", "orientation").toString(), "bottom");
    EXPECT_EQ(frontPid(), pg->apps().editor().pid());
}

TEST_F(Playground, TheDockFollowsTheEdgeTheVisibleFrameLeavesFree) {
    // Screens are y-up: a Dock on the left insets the visible frame from the left edge.
    sim.screens.setScreens({{{0, 0, 1440, 900}, {70, 0, 1370, 875}}});
    pg->desktop().update();
    for (SimApplication* app : pg->apps().all()) {
        const QRect icon = *pg->desktop().dockIconRect(app->pid());
        EXPECT_LT(icon.right(), 70);
        EXPECT_GT(icon.top(), 25);
    }
    const QRect finder = *pg->desktop().dockIconRect(pg->apps().finder().pid());
    ASSERT_TRUE(
        run(QStringLiteral("activate Vault\nclick %1 %2").arg(finder.center().x()).arg(finder.center().y())));
    EXPECT_EQ(frontPid(), pg->apps().finder().pid());
    sim.screens.setScreens({{{0, 0, 1440, 900}, {0, 0, 1370, 875}}});
    for (SimApplication* app : pg->apps().all())
        EXPECT_GT(pg->desktop().dockIconRect(app->pid())->left(), 1370);
}

TEST_F(Playground, TheEventLogNamesToolsLaunchedAndRewrittenEvents) {
    ASSERT_TRUE(run("prtscn\nwait 0.5"));
    EXPECT_TRUE(pg->log().lines().join('\n').contains("launched /usr/sbin/screencapture"))
        << pg->log().lines().join('\n').toStdString();
    TapDecision d;
    d.before.type = d.after.type = eventtype::keyDown;
    d.before.keyCode = d.after.keyCode = kC;
    d.before.flags = flag::control;
    d.after.flags = flag::command;
    EXPECT_EQ(EventLog::describe(d, "TextEdit", sim.keyboardLayout),
              QString::fromUtf8("tap: ⌃C down — rewritten to ⌘C down, passed to TextEdit"));
    d.answer = TapAnswer::swallow;
    EXPECT_EQ(EventLog::describe(d, "TextEdit", sim.keyboardLayout),
              QString::fromUtf8("tap: ⌃C down — swallowed"));
    d.before.type = eventtype::leftMouseDown;
    d.before.location = {12.4, 30};
    EXPECT_EQ(EventLog::describe(d, "TextEdit", sim.keyboardLayout),
              QString::fromUtf8("tap: click down at 12, 30 — swallowed"));
    d.before.type = eventtype::leftMouseDragged;
    EXPECT_EQ(EventLog::describe(d, "TextEdit", sim.keyboardLayout),
              QString::fromUtf8("tap: drag to 12, 30 — swallowed"));
    // A drag passed on is its click down and up, not a line for every move.
    ASSERT_TRUE(run("mousedown 700 500\nmove 720 520\nmove 740 540\nmouseup 740 540"));
    const QStringList taps = pg->log().lines().filter(QRegularExpression("^tap: "));
    const QStringList lines = taps.mid(taps.size() - 2);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("tap: click down at 700, 500")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("tap: click up at 740, 540")) << lines[1].toStdString();
}

TEST_F(Playground, StatusItemClickOpensTheMenuAfterTheDoubleClickInterval) {
    const QPoint at = pg->desktop().statusItemRect().center();
    pg->desktop().pointerDown(at, 1);
    pg->desktop().pointerUp(at, 1);
    pg->settle();
    EXPECT_EQ(static_cast<SlotStatusItem&>(pg->views().statusItem()).menu(), nullptr);
    pg->advance(0.6);
    ASSERT_NE(static_cast<SlotStatusItem&>(pg->views().statusItem()).menu(), nullptr);
    QStringList titles;
    for (QAction* a : static_cast<SlotStatusItem&>(pg->views().statusItem()).menu()->actions())
        if (!a->isSeparator()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"Pause Shortcuts in TextEdit", "Clipboard Shelf", "Settings\u2026",
                                   "Check for Updates\u2026", "Quit Fenwold"}));
    static_cast<SlotStatusItem&>(pg->views().statusItem()).menu()->close();
}

TEST_F(Playground, WindowsShortcutsReachTheEditorAsMacShortcutsButTheTerminalKeepsControlC) {
    ASSERT_TRUE(runShipped("master-switch.play"));
    auto& ed = pg->apps().editor();
    auto& term = pg->apps().terminal();
    // Ctrl+A, Ctrl+C in the editor became Command+A, Command+C: its text is on the pasteboard.
    EXPECT_EQ(pasteboardText(), "Meeting at ten.\n");
    EXPECT_TRUE(ed.received().contains(QString(QChar(0x2318)) + "C"));
    // In the terminal Ctrl+C stayed Control+C and interrupted the command line.
    EXPECT_EQ(term.interrupts(), 1);
    EXPECT_TRUE(term.received().contains(QString(QChar(0x2303)) + "C"));
    EXPECT_FALSE(term.received().contains(QString(QChar(0x2318)) + "C"));
    EXPECT_TRUE(term.content(focused(term)).join('\n').contains("sleep 100^C"));
    // With the master switch off, Ctrl+A reached the editor unchanged; the script turned it back on.
    EXPECT_TRUE(ed.received().contains(QString(QChar(0x2303)) + "A"));
    EXPECT_TRUE(pg->delegate().prefs().shortcutsEnabled());
    // The event log tells what happened in words.
    const QString log = pg->log().lines().join('\n');
    EXPECT_TRUE(log.contains(QString::fromUtf8("tap: ⌃C down — swallowed\nposted ⌘C down to TextEdit")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QString::fromUtf8("tap: ⌃C down — passed to Terminal")));
    EXPECT_TRUE(log.contains(QString::fromUtf8("tap: ⌘Esc down — swallowed")));
    EXPECT_EQ(pg->log().lines().count("Terminal is now in front"), 1);
    EXPECT_TRUE(QFile::exists(shots.filePath("terminal-ctrl-c.png")));
}

TEST_F(Playground, FinderGetsExplorerKeys) {
    ASSERT_TRUE(runShipped("finder-keys.play"));
    auto& finder = pg->apps().finder();
    const auto folders = sim.windows.windowsOf(finder.pid());
    uint32_t documents = 0, downloads = 0;
    for (const SimWindow& w : folders)
        (w.title == "Documents" ? documents : downloads) = w.number;
    // F2 renamed Letter.txt, Enter opened it, Del moved Notes.md to the Trash, and Ctrl+X in
    // Documents then Ctrl+V in Downloads moved Plan.pages.
    EXPECT_EQ(finder.files(documents), (QStringList{"Budget.numbers", "Mail.txt"}));
    EXPECT_EQ(finder.opened(), QStringList{"Mail.txt"});
    EXPECT_EQ(finder.trash(), QStringList{"Notes.md"});
    EXPECT_EQ(finder.files(downloads),
              (QStringList{"invoice-2026.pdf", "photo.jpg", "setup.dmg", "Plan.pages"}));
}

TEST_F(Playground, APasswordManagerCopyNeverReachesTheClipboardHistory) {
    ClipboardStore store(
        std::nullopt, sim.pasteboard, [] { return true; },
        ClipboardStoreServices{&sim.mainQueue, &sim.worker, [this] { return sim.workspace.frontmostApp(); },
                               &sim.clock, QStringLiteral("org.fenwold.Fenwold")});
    store.start();
    ASSERT_TRUE(run(R"(activate TextEdit
ctrl+a
ctrl+c
wait 1
activate Vault
ctrl+c
wait 1
activate Preview
ctrl+c
wait 1)"));
    ASSERT_EQ(store.entries().size(), 2u);
    EXPECT_EQ(pasteboardText(), "");
    EXPECT_FALSE(sim.pasteboard.contents().empty());
    for (const auto& entry : store.entries())
        EXPECT_FALSE(entry.textContains("hunter2"));
}

TEST_F(Playground, WinLeftSnapsTheFrontWindowToTheLeftHalf) {
    ASSERT_TRUE(run("activate TextEdit\nsuper+left\nwait 0.8"));
    const Rect frame = sim.windows.window(focused(pg->apps().editor()))->frame;
    const Rect visible{0, 25, 1440, 805};
    EXPECT_DOUBLE_EQ(frame.x, visible.x);
    EXPECT_DOUBLE_EQ(frame.y, visible.y);
    EXPECT_DOUBLE_EQ(frame.width, visible.width / 2);
    EXPECT_DOUBLE_EQ(frame.height, visible.height);
}

TEST_F(Playground, AltTabTwiceThenTypingAheadLandsInTheThirdWindow) {
    const uint32_t third = sim.windows.stacking()[2];
    ASSERT_TRUE(runShipped("alt-tab.play"));
    const auto front = sim.workspace.frontmostApp();
    ASSERT_TRUE(front);
    EXPECT_EQ(sim.windows.focusedWindow(front->pid), third);
    EXPECT_EQ(sim.windows.stacking().front(), third);
    SimApplication* app = pg->apps().byPid(front->pid);
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(app->content(third).join('\n').contains("typed ahead"));
}

TEST_F(Playground, SnapAssistFillsTheOtherHalf) {
    ASSERT_TRUE(runShipped("snap-assist.play"));
    const auto windows = pg->desktop().visibleWindows();
    ASSERT_GE(windows.size(), 2u);
    EXPECT_DOUBLE_EQ(windows[0].frame.width, 720);
    EXPECT_DOUBLE_EQ(windows[1].frame.width, 720);
    EXPECT_NE(windows[0].frame.x, windows[1].frame.x);
}

TEST_F(Playground, ShippedScriptsParseAndTheTourWritesItsScreenshots) {
    const QDir dir(QStringLiteral(FENWOLD_SOURCE_DIR "/scripts/playground"));
    const QStringList scripts = dir.entryList({"*.play"}, QDir::Files);
    EXPECT_GE(scripts.size(), 7);
    for (const QString& name : scripts) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const ScriptParse parse = parsePlaygroundScript(QString::fromUtf8(file.readAll()));
        EXPECT_FALSE(parse.error) << name.toStdString() << ": " << parse.error.value_or("").toStdString();
    }
    ASSERT_TRUE(runShipped("tour.play"));
    QImage desktop(shots.filePath("desktop.png"));
    EXPECT_EQ(desktop.size(), QSize(1440, 900));
    // After Ctrl+A the hint HUD shows over the simulated screen.
    EXPECT_TRUE(pg->delegate().hints().current());
    const QImage hint(shots.filePath("hint.png"));
    ASSERT_FALSE(hint.isNull());
    // The HUD's panel sits at the top right of the screen, drawn into the screenshot.
    auto* panel = dynamic_cast<HintPanelWidget*>(pg->delegate().hints().panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->view()->parentWidget(), &pg->desktop());
    EXPECT_DOUBLE_EQ(panel->alpha(), 1.0);
    const QRect where = panel->view()->geometry();
    EXPECT_GT(where.left(), 1000);
    EXPECT_LT(where.top(), 60);
    const QPoint inside = where.center();
    EXPECT_NE(hint.pixel(inside), desktop.pixel(inside));
}

TEST(PlaygroundKeys, PcKeyboardArrivesWithMacCodes) {
    SimSession sim;
    EXPECT_EQ(macKeyCode(Qt::Key_Meta), 55);
    EXPECT_EQ(macKeyCode(Qt::Key_Super_L), 55);
    EXPECT_EQ(macKeyCode(Qt::Key_Alt), 58);
    EXPECT_EQ(macKeyCode(Qt::Key_Control), 59);
    EXPECT_EQ(macKeyCode(Qt::Key_Tab), 48);
    EXPECT_EQ(macKeyCode(Qt::Key_Backtab), 48);
    EXPECT_EQ(macKeyCode(Qt::Key_Left), 123);
    EXPECT_EQ(macKeyCode(Qt::Key_Delete), 117);
    EXPECT_EQ(macKeyCode(Qt::Key_Backspace), 51);
    EXPECT_EQ(macKeyCode(Qt::Key_Print), 105);
    EXPECT_EQ(macKeyCode(Qt::Key_F2), 120);
    // Letters and shifted digits land on their US-layout keys.
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_EQ(macKeyCode(Qt::Key_A + (c - 'A')),
                  sim.keyboardLayout.keyTyping(QChar(c).toLower())->keyCode)
            << c;
    EXPECT_EQ(macKeyCode(Qt::Key_Exclam), 18);
    EXPECT_EQ(macKeyCode(Qt::Key_ParenRight), 29);
    EXPECT_FALSE(macKeyCode(Qt::Key_VolumeUp));

    // By position, from the host's XKB key codes: whatever the host's layout prints on them.
    EXPECT_EQ(macKeyCodeAtScanCode(38), 0);    // the key right of Caps Lock
    EXPECT_EQ(macKeyCodeAtScanCode(52), 6);    // right of left Shift: Y on a German keyboard
    EXPECT_EQ(macKeyCodeAtScanCode(24), 12);   // the top row's first letter: A on AZERTY
    EXPECT_EQ(macKeyCodeAtScanCode(94), 10);   // the ISO key beside left Shift
    EXPECT_EQ(macKeyCodeAtScanCode(49), 50);   // left of 1
    EXPECT_EQ(macKeyCodeAtScanCode(9), 53);    // Escape
    EXPECT_EQ(macKeyCodeAtScanCode(133), 55);  // the Windows key
    EXPECT_EQ(macKeyCodeAtScanCode(107), 105); // PrtScn as F13
    EXPECT_EQ(macKeyCodeAtScanCode(197), 80);  // F19
    EXPECT_EQ(macKeyCodeAtScanCode(90), 82);   // keypad 0
    EXPECT_FALSE(macKeyCodeAtScanCode(0));
    EXPECT_FALSE(macKeyCodeAtScanCode(93)); // a key a Mac keyboard lacks
}

TEST_F(Playground, CaptureToggleGrabsAndGivesBackTheKeyboardAndTheLogPaneFollows) {
    PlaygroundWindow window(*pg);
    EXPECT_FALSE(window.capturing());
    window.captureAction()->trigger();
    EXPECT_TRUE(window.capturing());
    // Ctrl+Alt+Esc is the way out and never reaches the simulated Mac.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::ControlModifier | Qt::AltModifier);
    const int before = static_cast<int>(pg->log().lines().size());
    QCoreApplication::sendEvent(&pg->desktop(), &escape);
    EXPECT_FALSE(window.capturing());
    EXPECT_EQ(pg->log().lines().mid(before), QStringList{"keyboard released"});
    // Keys typed into the desktop reach the front application through the tap.
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(&pg->desktop(), &x);
    QKeyEvent xUp(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(&pg->desktop(), &xUp);
    pg->settle();
    EXPECT_TRUE(pg->apps().editor().text(focused(pg->apps().editor())).endsWith("x"));
    EXPECT_TRUE(window.logPane()->toPlainText().contains("tap: X down"));
}

TEST(PlaygroundStart, OpensOnALinuxDisplayOrWhenAskedAndOtherwiseStaysHeadless) {
    EXPECT_TRUE(wantsPlayground({"fenwold", "--playground"}, false));
    EXPECT_TRUE(wantsPlayground({"fenwold", "--script", "x.play"}, false));
    EXPECT_FALSE(wantsPlayground({"fenwold"}, false));
#if defined(Q_OS_MACOS)
    EXPECT_FALSE(wantsPlayground({"fenwold"}, true));
#else
    EXPECT_TRUE(wantsPlayground({"fenwold"}, true));
#endif
}
