// The snap layouts on a simulated session: where the panel opens, its keys through the real
// dispatch (digits, arrows, Tab, Return, Escape, other keys and chords), clicks, and snap assist
// after a pick.
#include "SnapRig.h"

#include "core/settings/Prefs.h"

using namespace fenwold;
using Zone = std::pair<int, int>;

namespace {

class SnapLayouts : public fenwold::testing::SnapRig {
protected:
    bool panelOpen() const { return routing.snapshot().snapLayoutsOpen; }
    Zone selection() const { return {layouts.state().layout, layouts.state().zone}; }
    // The zone a layout's digit and a zone's digit pick.
    static WindowSnap zoneOf(int layout, int zone) {
        return snapLayouts()[static_cast<std::size_t>(layout)].zones[static_cast<std::size_t>(zone)];
    }
    TapAnswer digit(int n) { return press(kDigitKeys[static_cast<std::size_t>(n)]); }
};

} // namespace

TEST_F(SnapLayouts, TheLayoutsAreHalvesThirdsTwoThirdsBesideAThirdAndQuarters) {
    using enum WindowSnap;
    EXPECT_EQ(snapLayouts(), (std::vector<SnapLayout>{{{left, right}},
                                                      {{leftThird, centreThird, rightThird}},
                                                      {{leftTwoThirds, rightThird}},
                                                      {{topLeft, topRight, bottomLeft, bottomRight}}}));
}

TEST_F(SnapLayouts, ThePanelOpensOverTheFrontWindowInsideItsDisplay) {
    threeWindows(); // the shell, {120, 100, 700, 500}, is in front
    layouts.show();
    ASSERT_TRUE(panelOpen());
    ASSERT_TRUE(layoutPanel && layoutPanel->visible);
    EXPECT_EQ(layouts.target(), (WindowTarget{sim.windows.window(shell)->pid, shell}));
    const Rect v = visibleFrame();
    EXPECT_DOUBLE_EQ(layoutPanel->state.aspect, v.width / v.height);
    EXPECT_EQ(layoutPanel->state.layouts.size(), 4u);
    EXPECT_EQ(selection(), (Zone{0, 0}));
    EXPECT_FALSE(layoutPanel->state.numberingZones);
    // Centred on the window, just under its title bar (screen coordinates: 900 - 136 - 190).
    EXPECT_EQ(layoutPanel->frame, (Rect{120 + 350 - 134, 900 - 136 - 190, 268, 190}));

    // Shown again it closes: the shortcut toggles the panel.
    layouts.show();
    EXPECT_FALSE(panelOpen());
    EXPECT_FALSE(layoutPanel->visible);

    // A window against the right edge of a second, taller display: the panel stays 8 points
    // inside that display, in its proportions.
    const int tall = sim.display(1200, 1920);
    sim.windows.update(shell, [](SimWindow& w) { w.frame = {2500, 30, 200, 300}; });
    layouts.show();
    const ScreenInfo display = sim.screens.screens()[static_cast<std::size_t>(tall)];
    EXPECT_DOUBLE_EQ(layoutPanel->state.aspect, 1200.0 / 1895.0);
    EXPECT_DOUBLE_EQ(layoutPanel->frame.maxX(), display.visibleFrame.maxX() - 8);
    EXPECT_DOUBLE_EQ(layoutPanel->frame.maxY(), display.frame.maxY() - 30 - 36);

    // A panel wider than the display starts 8 points inside its left edge.
    layouts.close();
    layoutPanel->size = {1500, 190};
    layouts.show();
    EXPECT_DOUBLE_EQ(layoutPanel->frame.minX(), display.visibleFrame.minX() + 8);
}

TEST_F(SnapLayouts, WithoutAFrontWindowNothingShows) {
    layouts.show();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(layoutPanel, nullptr);
}

TEST_F(SnapLayouts, ADigitChoosesTheLayoutAndASecondDigitItsZone) {
    threeWindows();
    layouts.show();
    EXPECT_EQ(digit(7), TapAnswer::swallow); // there is no seventh layout: nothing changes
    EXPECT_EQ(selection(), (Zone{0, 0}));
    EXPECT_FALSE(layouts.state().numberingZones);

    EXPECT_EQ(digit(2), TapAnswer::swallow);
    EXPECT_EQ(selection(), (Zone{1, 0}));
    EXPECT_TRUE(layoutPanel->state.numberingZones); // the thirds now show their digits
    EXPECT_EQ(digit(4), TapAnswer::swallow);        // the thirds have three zones
    EXPECT_TRUE(panelOpen());

    EXPECT_EQ(digit(3), TapAnswer::swallow);
    EXPECT_FALSE(panelOpen());
    EXPECT_FALSE(layoutPanel->visible);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::rightThird));
}

TEST_F(SnapLayouts, ArrowsTabAndReturnWalkTheZonesAndPickOne) {
    threeWindows();
    layouts.show();
    press(kLeft); // from the first zone round to the last one of the last layout
    EXPECT_EQ(selection(), (Zone{3, 3}));
    press(kRight);
    EXPECT_EQ(selection(), (Zone{0, 0}));
    press(kRight);
    press(kTab);
    EXPECT_EQ(selection(), (Zone{1, 0})); // past the halves into the thirds
    press(kTab, flag::shift);
    EXPECT_EQ(selection(), (Zone{0, 1}));
    // Two layouts a row: down from the halves to two-thirds-and-a-third, the zone kept.
    press(kDown);
    EXPECT_EQ(selection(), (Zone{2, 1}));
    press(kDown); // wraps round to the top row
    EXPECT_EQ(selection(), (Zone{0, 1}));
    press(kUp);
    press(kRight);
    press(kUp); // to the thirds, the zone kept where it exists
    EXPECT_EQ(selection(), (Zone{1, 0}));
    for (int i = 0; i < 2; ++i)
        press(kRight);
    press(kDown);
    EXPECT_EQ(selection(), (Zone{3, 2})); // the bottom-left quarter
    EXPECT_EQ(layoutPanel->state.layout, 3);
    EXPECT_EQ(layoutPanel->state.zone, 2);

    EXPECT_EQ(press(kReturn), TapAnswer::swallow);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(frameOf(shell), snapFrame(zoneOf(3, 2)));
}

TEST_F(SnapLayouts, EscapeOtherKeysAndAClickElsewhereClose) {
    threeWindows();
    layouts.show();
    EXPECT_EQ(press(kEsc), TapAnswer::swallow);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(frameOf(shell), (Rect{120, 100, 700, 500}));

    // A letter closes it and still reaches the application.
    layouts.show();
    EXPECT_EQ(press(kA), TapAnswer::pass);
    EXPECT_FALSE(panelOpen());

    layouts.show();
    layoutPanel->onClickOutside();
    sim.mainQueue.drain();
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(frameOf(shell), (Rect{120, 100, 700, 500}));
}

TEST_F(SnapLayouts, ChordsGoOnToTheirOwnRows) {
    threeWindows();
    Prefs(sim.prefs).set(PrefKey::snapKeys, true);
    layouts.show();
    // Win+Up is the shortcut's own: it maximises the window rather than moving the selection.
    EXPECT_EQ(press(kUp, flag::command), TapAnswer::swallow);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::maximize));
    EXPECT_EQ(selection(), (Zone{0, 0}));
    // An unhandled chord passes as typed, and the panel stays until dismissed.
    EXPECT_EQ(press(kZ, flag::option), TapAnswer::pass);
    EXPECT_TRUE(panelOpen());
}

TEST_F(SnapLayouts, AClickOnAZoneSnapsThere) {
    threeWindows();
    layouts.show();
    layoutPanel->onPick(3, 1);
    EXPECT_FALSE(panelOpen());
    sim.mainQueue.advance(0.5);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::topRight));
    // A late click on the hidden panel does nothing.
    layoutPanel->onPick(0, 0);
    sim.mainQueue.advance(0.5);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::topRight));
}

TEST_F(SnapLayouts, AfterAPickSnapAssistFillsTheLayoutsOtherZones) {
    threeWindows();
    const uint32_t notes = sim.app("com.example.notes", "Notes").window("List", {300, 300, 500, 400});
    model.store.start();
    sim.windows.raise(shell);
    sim.workspace.activate(sim.windows.window(shell)->pid);

    layouts.show();
    digit(4); // quarters
    digit(2); // top right
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::topRight));
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(assist.zones(), (std::vector<WindowSnap>{WindowSnap::topLeft, WindowSnap::bottomLeft,
                                                       WindowSnap::bottomRight}));
    const Rect v = visibleFrame();
    EXPECT_DOUBLE_EQ(panel->shownFrame.midX(), v.minX() + v.width / 4);
    EXPECT_DOUBLE_EQ(panel->shownFrame.midY(), v.minY() + v.height * 3 / 4);
    ASSERT_EQ(assist.model().windows().size(), 3u);

    press(kReturn);
    const uint32_t first = sim.windows.stacking().front();
    EXPECT_EQ(frameOf(first), snapFrame(WindowSnap::topLeft));
    press(kReturn);
    press(kReturn);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::topRight));
    // Every quarter holds one of the four windows.
    std::vector<Rect> frames;
    for (uint32_t w : {shell, editor, browser, notes})
        frames.push_back(frameOf(w));
    for (const WindowSnap q :
         {WindowSnap::topLeft, WindowSnap::topRight, WindowSnap::bottomLeft, WindowSnap::bottomRight})
        EXPECT_EQ(std::count(frames.begin(), frames.end(), snapFrame(q)), 1) << static_cast<int>(q);

    // With snap assist turned off, a pick only snaps.
    Prefs(sim.prefs).set(PrefKey::snapAssist, false);
    layouts.show();
    digit(1);
    digit(1);
    EXPECT_EQ(frameOf(sim.windows.stacking().front()), snapFrame(WindowSnap::left));
    EXPECT_FALSE(isOpen());
}

TEST_F(SnapLayouts, WinZOpensThePanelOverTheFrontWindowAndClosesItAgain) {
    threeWindows();
    // Off on a new Mac: it is ⌘Z, undo.
    EXPECT_EQ(press(kZ, flag::command), TapAnswer::pass);
    EXPECT_FALSE(panelOpen());
    Prefs(sim.prefs).set(PrefKey::winZ, true);
    EXPECT_EQ(press(kZ, flag::command), TapAnswer::swallow);
    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(layouts.target(), (WindowTarget{sim.windows.window(shell)->pid, shell}));
    // A held Win+Z does not flicker the panel; pressed again it closes.
    EXPECT_EQ(key(eventtype::keyDown, kZ, flag::command), TapAnswer::swallow);
    TapEvent repeat;
    repeat.type = eventtype::keyDown;
    repeat.keyCode = kZ;
    repeat.flags = flag::command;
    repeat.autorepeat = 1;
    EXPECT_EQ(dispatcher.tapCallback(repeat), TapAnswer::swallow);
    key(eventtype::keyUp, kZ, flag::command);
    sim.mainQueue.advance(0.5);
    EXPECT_FALSE(panelOpen());
    // Opened by Win+Z, a digit and a zone's digit still pick.
    press(kZ, flag::command);
    digit(1);
    digit(2);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::right));
}

TEST_F(SnapLayouts, WinShiftArrowsMoveTheFrontWindowToTheNextDisplayKeepingItsSnap) {
    const int second = sim.display(1920, 1080);
    threeWindows();
    press(kLeft, flag::command); // snapped left on the primary display
    press(kReturn);              // snap assist fills the right half
    sim.windows.raise(shell);
    sim.workspace.activate(sim.windows.window(shell)->pid);
    EXPECT_EQ(press(kRight, flag::command | flag::shift), TapAnswer::swallow);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::left, second));
    // Past the last display it comes round to the first; left goes back the other way.
    press(kRight, flag::command | flag::shift);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::left, 0));
    press(kLeft, flag::command | flag::shift);
    sim.mainQueue.advance(1.0);
    EXPECT_EQ(frameOf(shell), snapFrame(WindowSnap::left, second));

    // Switched off, Win+Shift+arrows are ⇧⌘← and ⇧⌘→ again (select to the line's ends).
    Prefs(sim.prefs).set(PrefKey::snapDisplays, false);
    EXPECT_EQ(press(kRight, flag::command | flag::shift), TapAnswer::pass);
}
