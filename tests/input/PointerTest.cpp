// Buttons and the wheel.
#include "InputRig.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

TapEvent mouse(uint32_t type, Point at = {}, int64_t clicks = 1) {
    TapEvent e;
    e.type = type;
    e.location = at;
    e.clickState = clicks;
    return e;
}

TapEvent wheel(double delta, uint64_t flags) {
    TapEvent e;
    e.type = eventtype::scrollWheel;
    e.scrollDelta = delta;
    e.flags = flags;
    return e;
}

} // namespace

TEST(Pointer, TitleBarDoubleClickMaximizes) {
    InputRig rig;
    rig.set(PrefKey::dblClickMax, true);
    const Point bar{150, 110};
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, bar, 1)), TapAnswer::pass);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, bar)), TapAnswer::pass);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, bar, 2)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, bar)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, bar)), TapAnswer::pass);
    rig.windows.fullscreen = true;
    EXPECT_EQ(rig.hintNow(), (Hint{"Double-click title bar", "⌥ ~click ~the ~green ~button", std::nullopt}));
    EXPECT_EQ(rig.calls.calls(), (QStringList{"leaveFullscreen 77", "snap maximize 77"}));

    // Anywhere else a double click is the application's.
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, {150, 400}, 2)), TapAnswer::pass);
    // And not at all with the preference off.
    rig.set(PrefKey::dblClickMax, false);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, bar, 2)), TapAnswer::pass);
}

TEST(Pointer, AHeldPressKeepsItsReleaseWhateverOpensMeanwhileAndATapOutageDropsIt) {
    InputRig rig;
    const Point on{1010, 1010};
    // Swallowed while the main thread decides; the release goes with it even though the shelf
    // opened in between (every other event passes while it is open).
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, on)), TapAnswer::swallow);
    rig.routing.setClipboardOpen(true);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDragged, {1011, 1010})), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, on)), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), QStringList{"clicked"});
    // While the shelf is open a press there is not held at all.
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, on)), TapAnswer::pass);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, on)), TapAnswer::pass);
    rig.routing.setClipboardOpen(false);

    // Nor while the switcher captures keys, nor from the program's own posted events.
    const uint64_t session = rig.routing.beginSwitcherSession();
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, on)), TapAnswer::pass);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, on)), TapAnswer::pass);
    rig.routing.beginSwitcherCancellation(session);
    rig.routing.endSwitcherSession(session);
    TapEvent own = mouse(eventtype::leftMouseDown, on);
    own.sourceUserData = kOwnEventMarker;
    EXPECT_EQ(rig.feed(own), TapAnswer::pass);

    // A tap outage forgets a held press: its release may have gone by, so nothing is posted.
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown, on)), TapAnswer::swallow);
    TapEvent disabled;
    disabled.type = eventtype::tapDisabledByTimeout;
    rig.feed(disabled);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp, on)), TapAnswer::pass);
    rig.sim.mainQueue.advance(1);
    EXPECT_EQ(rig.calls.calls(), QStringList{"clicked"});
    EXPECT_TRUE(rig.sim.clicks.posted().empty());
}

TEST(Pointer, AClickEndsAKeyboardMove) {
    InputRig rig;
    rig.routing.setMoveTarget(WindowMoveTarget{600, 7});
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseDown)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(mouse(eventtype::leftMouseUp)), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), QStringList{"endMove keep"});
}

TEST(Pointer, SideButtonsFromTheRemoteDesktopDaemonAreRenumbered) {
    InputRig rig;
    const int32_t parsec = rig.sim.app("tv.parsec.www", "Parsec").processName("parsecd");
    const int32_t mouseApp = rig.sim.app("com.example.Mouse", "Mouse");
    auto button = [&](int64_t number, int64_t pid, uint32_t type = eventtype::otherMouseDown) {
        TapEvent e;
        e.type = type;
        e.buttonNumber = number;
        e.sourcePid = pid;
        EXPECT_EQ(rig.dispatcher.tapCallback(e), TapAnswer::pass);
        return e.buttonNumber;
    };
    EXPECT_EQ(button(4, parsec), 3);
    EXPECT_EQ(button(5, parsec, eventtype::otherMouseUp), 4);
    EXPECT_EQ(button(3, parsec), 3);
    EXPECT_EQ(button(2, parsec), 2);
    EXPECT_EQ(button(4, mouseApp), 4);
    EXPECT_EQ(button(4, 0), 4);
    // Names are looked up once per pid.
    const int lookups = rig.sim.processes.nameLookups();
    button(4, parsec);
    button(4, mouseApp);
    EXPECT_EQ(rig.sim.processes.nameLookups(), lookups);
    rig.set(PrefKey::parsecMouseFix, false);
    EXPECT_EQ(button(4, parsec), 4);
}

TEST(Pointer, CtrlOrWinWheelZooms) {
    InputRig rig;
    const int32_t te = rig.textEdit;
    EXPECT_EQ(rig.feed(wheel(2.0, flag::control)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(wheel(-1.0, flag::command)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(wheel(0, flag::control)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(wheel(1.0, flag::control | flag::option)), TapAnswer::pass);
    EXPECT_EQ(rig.feed(wheel(1.0, 0)), TapAnswer::pass);
    const QStringList expected = {
        QString("down 24 0x100000 -> %1").arg(te), QString("up 24 0x100000 -> %1").arg(te),
        QString("down 27 0x100000 -> %1").arg(te), QString("up 27 0x100000 -> %1").arg(te)};
    EXPECT_EQ(rig.posted(), expected);
    EXPECT_EQ(rig.hintNow()->win, "Ctrl+scroll");
    rig.set(PrefKey::wheelZoom, false);
    EXPECT_EQ(rig.feed(wheel(1.0, flag::control)), TapAnswer::pass);
}

TEST(Pointer, WheelResizesThumbnailsWhileTheSwitcherCaptures) {
    InputRig rig;
    rig.press(kTab, flag::option);
    EXPECT_EQ(rig.feed(wheel(3.0, flag::option)), TapAnswer::swallow);
    EXPECT_EQ(rig.feed(wheel(0, 0)), TapAnswer::swallow);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.calls.calls(), (QStringList{"open 1", "thumbs 1 3"}));
    EXPECT_TRUE(rig.posted().isEmpty());
}
