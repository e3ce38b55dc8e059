// The green button that maximises and the Dock icon that minimises, clicked with the playground's
// pointer: what the program takes (swallowing the press and its release), and what it gives back
// to the simulated Mac, which then does its own thing (full screen, zoom, activation).
#include "PlaygroundFixture.h"
#include "core/settings/ExcludedApps.h"
#include "core/settings/Prefs.h"
#include "core/windows/SnapGeometry.h"
#include "ports/EventTapHost.h"

using namespace fenwold;

namespace {

struct MouseHabits : Playground {
    void SetUp() override {
        Playground::SetUp();
        prefs().set(PrefKey::greenMaximizes, true);
        prefs().set(PrefKey::dockMinimizes, true);
    }
    Prefs prefs() { return pg->delegate().prefs(); }
    uint32_t notes() { return focused(pg->apps().editor()); }
    Rect frameOf(uint32_t w) const { return sim.windows.window(w)->frame; }
    Rect maximized() const {
        return snapgeometry::snapRectAX(WindowSnap::maximize,
                                        snapgeometry::toAX(sim.screens.screens().front().visibleFrame, 900));
    }
    // A point on the window's green button, `dx` from the middle of the light drawn.
    Point green(uint32_t w, double dx = 0) const {
        const Rect f = frameOf(w);
        return {f.x + 58 + dx, f.y + 14};
    }
    bool click(Point at) { return run(QStringLiteral("click %1 %2").arg(at.x).arg(at.y)); }
    // The pointer rests on the icon (the Dock is looked at as it moves), then clicks it.
    bool clickDockIcon(SimApplication& app, const QString& modifier = {}) {
        const QPoint icon = pg->desktop().dockIconRect(app.pid())->center();
        QString script = QStringLiteral("move %1 %2\nwait 0.1\n").arg(icon.x()).arg(icon.y());
        if (!modifier.isEmpty()) script += QStringLiteral("hold %1\n").arg(modifier);
        script += QStringLiteral("click %1 %2\nwait 0.1\n").arg(icon.x()).arg(icon.y());
        if (!modifier.isEmpty()) script += QStringLiteral("release %1\n").arg(modifier);
        return run(script);
    }
    bool remembered(uint32_t w) { return pg->delegate().windows().snapMemory().count(w) > 0; }
    // The presses the program gave back to the simulated Mac.
    int givenBack() {
        const auto posted = sim.clicks.posted();
        return static_cast<int>(std::count_if(posted.begin(), posted.end(), [](const PostedClick& c) {
            return c.type == eventtype::leftMouseDown;
        }));
    }
};

} // namespace

TEST_F(MouseHabits, AClickOnTheGreenButtonMaximisesAndASecondOneGivesBackTheSize) {
    const uint32_t w = notes();
    const Rect before = frameOf(w);
    ASSERT_TRUE(click(green(w)) && run("wait 1"));
    EXPECT_EQ(frameOf(w), maximized());
    EXPECT_FALSE(sim.windows.window(w)->fullscreen);
    EXPECT_TRUE(remembered(w));
    ASSERT_TRUE(run("screenshot green-button-maximized"));
    // The press and its release were the program's alone.
    EXPECT_EQ(givenBack(), 0);

    ASSERT_TRUE(click(green(w)) && run("wait 1"));
    EXPECT_EQ(frameOf(w), before);
    EXPECT_FALSE(remembered(w));
    EXPECT_EQ(givenBack(), 0);
}

TEST_F(MouseHabits, TheButtonsEdgeIsWhereItsAccessibilityFrameEnds) {
    const uint32_t w = notes();
    const Rect before = frameOf(w);
    // Its frame reaches 9 points right of the light's middle; one point further is the title bar.
    ASSERT_TRUE(click(green(w, 8)) && run("wait 1"));
    EXPECT_EQ(frameOf(w), maximized());
    ASSERT_TRUE(click(green(w, 8)) && run("wait 1"));
    EXPECT_EQ(frameOf(w), before);
    ASSERT_TRUE(click(green(w, 9)) && run("wait 1"));
    EXPECT_EQ(frameOf(w), before);
    EXPECT_FALSE(remembered(w));
    // Held back while the program looked, then given back: the title bar got its click.
    EXPECT_EQ(givenBack(), 1);
    // The close and minimise buttons beside it are the Mac's as well.
    ASSERT_TRUE(click({before.x + 38, before.y + 14}));
    EXPECT_TRUE(sim.windows.window(w)->minimized);
    EXPECT_EQ(givenBack(), 2);
}

TEST_F(MouseHabits, OptionClickAHeldPressAndADragKeepTheMacsGreenButton) {
    const uint32_t w = notes();
    const Rect before = frameOf(w);
    // Option-click is never held: the Mac's zoom.
    ASSERT_TRUE(run(
        QStringLiteral("hold option\nclick %1 %2\nrelease option\nwait 1").arg(green(w).x).arg(green(w).y)));
    EXPECT_EQ(givenBack(), 0);
    EXPECT_NE(frameOf(w), before);
    EXPECT_FALSE(remembered(w));
    sim.windows.update(w, [&](SimWindow& x) { x.frame = before; });

    // Held down: the press goes back after a moment and the Mac acts on it (full screen here).
    ASSERT_TRUE(run(QStringLiteral("mousedown %1 %2\nwait 0.6\nmouseup %1 %2\nwait 1.5")
                        .arg(green(w).x)
                        .arg(green(w).y)));
    EXPECT_EQ(givenBack(), 1);
    EXPECT_TRUE(sim.windows.window(w)->fullscreen);
    EXPECT_FALSE(remembered(w));
    sim.windows.update(w, [&](SimWindow& x) {
        x.fullscreen = false;
        x.frame = before;
    });
    pg->settle();

    // A drag that starts on it: the press and the first move beyond the slop go back in order.
    sim.clicks.clear();
    const Point from = green(w);
    ASSERT_TRUE(run(QStringLiteral("mousedown %1 %2\nmove %3 %4\nmove %5 %6\nmouseup %5 %6\nwait 1")
                        .arg(from.x)
                        .arg(from.y)
                        .arg(from.x + 2)
                        .arg(from.y)
                        .arg(from.x + 30)
                        .arg(from.y + 20)));
    const auto posted = sim.clicks.posted();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].type, eventtype::leftMouseDown);
    EXPECT_EQ(posted[0].location, from);
    EXPECT_EQ(posted[1].type, eventtype::leftMouseDragged);
    EXPECT_EQ(posted[1].location, (Point{from.x + 30, from.y + 20}));
    EXPECT_NE(frameOf(w), maximized());
    EXPECT_FALSE(remembered(w));
}

TEST_F(MouseHabits, FullScreenFixedSizeExcludedAndSwitchedOffWindowsKeepTheMacsButton) {
    const uint32_t w = notes();
    const Rect before = frameOf(w);
    // In full screen the green button takes the window out of it, as on any Mac.
    sim.windows.setFullscreenNow(w);
    pg->settle();
    ASSERT_TRUE(click(green(w)) && run("wait 1.5"));
    EXPECT_FALSE(sim.windows.window(w)->fullscreen);
    EXPECT_FALSE(remembered(w));
    EXPECT_EQ(givenBack(), 1);
    sim.windows.update(w, [&](SimWindow& x) { x.frame = before; });
    pg->settle();

    // A window that cannot be resized has its button greyed out: nothing to maximise.
    sim.windows.update(w, [](SimWindow& x) { x.minSize = x.maxSize = x.frame.size(); });
    ASSERT_TRUE(click(green(w)) && run("wait 1"));
    EXPECT_FALSE(remembered(w));
    EXPECT_EQ(givenBack(), 2);
    sim.windows.update(w, [&](SimWindow& x) {
        x.minSize.reset();
        x.maxSize.reset();
        x.fullscreen = false;
        x.frame = before;
    });
    pg->settle();

    // An excluded application's window, the master switch off and the switch off.
    const auto maximisedByAClick = [&] {
        sim.clicks.clear();
        EXPECT_TRUE(click(green(w)) && run("wait 1.5"));
        const bool taken = remembered(w);
        if (taken) pg->delegate().windows().restoreOriginal(pg->apps().editor().pid(), w);
        sim.windows.update(w, [&](SimWindow& x) {
            x.fullscreen = false;
            x.frame = before;
        });
        pg->settle();
        return taken;
    };
    ExcludedApps(prefs().store()).add(pg->apps().editor().bundleID());
    EXPECT_FALSE(maximisedByAClick());
    ExcludedApps(prefs().store()).remove(pg->apps().editor().bundleID());
    prefs().set(PrefKey::shortcutsEnabled, false);
    EXPECT_FALSE(maximisedByAClick());
    EXPECT_EQ(givenBack(), 0); // not even held: the tap passed it
    prefs().set(PrefKey::shortcutsEnabled, true);
    prefs().set(PrefKey::greenMaximizes, false);
    EXPECT_FALSE(maximisedByAClick());
    prefs().set(PrefKey::greenMaximizes, true);
    EXPECT_TRUE(maximisedByAClick());
}

TEST_F(MouseHabits, TheFrontAppsDockIconMinimisesItsFrontWindowAndShiftAllOfThem) {
    SimApplication& editor = pg->apps().editor();
    const auto windows = sim.windows.windowsOf(editor.pid());
    ASSERT_GE(windows.size(), 2u);
    const uint32_t front = notes();
    ASSERT_EQ(frontPid(), editor.pid());

    ASSERT_TRUE(clickDockIcon(editor));
    EXPECT_TRUE(sim.windows.window(front)->minimized);
    for (const SimWindow& other : windows) {
        if (other.number != front) {
            EXPECT_FALSE(sim.windows.window(other.number)->minimized);
        }
    }
    EXPECT_EQ(givenBack(), 0);
    ASSERT_TRUE(run("screenshot dock-minimized"));

    // Shift: every window of it.
    ASSERT_TRUE(clickDockIcon(editor, QStringLiteral("shift")));
    for (const SimWindow& each : windows)
        EXPECT_TRUE(sim.windows.window(each.number)->minimized) << each.title.toStdString();

    // All minimised: a click brings back the one minimised last.
    const uint32_t last = windows.back().number == front ? windows.front().number : windows.back().number;
    ASSERT_TRUE(clickDockIcon(editor) && run("wait 1"));
    EXPECT_FALSE(sim.windows.window(last)->minimized);
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [&](const SimWindow& x) { return !sim.windows.window(x.number)->minimized; }),
              1);
    EXPECT_EQ(givenBack(), 0);
}

TEST_F(MouseHabits, OtherDockIconsAndAnAppWithoutWindowsAreTheDocks) {
    SimApplication& terminal = pg->apps().terminal();
    const uint32_t term = focused(terminal);
    // Not in front: the Dock brings it forward, nothing is minimised.
    ASSERT_TRUE(clickDockIcon(terminal) && run("wait 0.5"));
    EXPECT_EQ(frontPid(), terminal.pid());
    EXPECT_FALSE(sim.windows.window(term)->minimized);
    EXPECT_EQ(givenBack(), 1);

    // In front with no window: the Dock's click too.
    for (const SimWindow& w : sim.windows.windowsOf(terminal.pid()))
        sim.windows.close(w.number);
    pg->settle();
    ASSERT_EQ(frontPid(), terminal.pid());
    ASSERT_TRUE(clickDockIcon(terminal) && run("wait 0.5"));
    EXPECT_EQ(givenBack(), 2);

    // Switched off, the front app's icon is the Dock's as well.
    prefs().set(PrefKey::dockMinimizes, false);
    SimApplication& editor = pg->apps().editor();
    ASSERT_TRUE(clickDockIcon(editor) && run("wait 0.5"));
    ASSERT_EQ(frontPid(), editor.pid());
    ASSERT_TRUE(clickDockIcon(editor) && run("wait 0.5"));
    EXPECT_FALSE(sim.windows.window(notes())->minimized);
    EXPECT_EQ(givenBack(), 2);
}
