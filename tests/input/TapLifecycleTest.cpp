// The tap's own life: paused while Accessibility is revoked, re-enabled after the system's
// timeouts, and made anew when the permission returns.
#include "InputRig.h"
#include "support/TapEvents.h"

#include <gtest/gtest.h>
#include <thread>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

TapEvent timeoutNotice() {
    TapEvent off;
    off.type = eventtype::tapDisabledByTimeout;
    return off;
}

} // namespace

TEST(TapLifecycle, APauseDuringTheTapThreadsReEnableStillLeavesTheTapOff) {
    InputRig rig;
    ASSERT_TRUE(rig.dispatcher.startTap());
    // The tap's thread is turning the tap back on after a timeout when the main thread learns the
    // permission is gone. The pause gets its chance at the worst moment: after the thread decided
    // to re-enable, before the tap is on.
    std::thread pausing;
    rig.sim.eventTap.beforeReEnable = [&] {
        rig.sim.eventTap.beforeReEnable = nullptr;
        pausing = std::thread([&] { rig.dispatcher.pauseTap(); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    std::thread tapThread([&] {
        TapEvent off = timeoutNotice();
        rig.dispatcher.tapCallback(off);
    });
    tapThread.join();
    pausing.join();
    EXPECT_TRUE(rig.dispatcher.tapPaused());
    EXPECT_FALSE(rig.sim.eventTap.enabled());

    // While paused, notices keep it off.
    TapEvent off = timeoutNotice();
    rig.dispatcher.tapCallback(off);
    EXPECT_FALSE(rig.sim.eventTap.enabled());
}

TEST(TapLifecycle, TheReturningPermissionGetsANewTapWithItsKeys) {
    InputRig rig;
    ASSERT_TRUE(rig.dispatcher.startTap());
    const int taps = rig.sim.eventTap.startCount();
    TapEvent copy = keyEvent(kC, true, flag::control);
    EXPECT_EQ(rig.sim.eventTap.feed(copy), TapAnswer::swallow);

    rig.sim.accessibility.setTrusted(false);
    rig.dispatcher.pauseTap();
    rig.sim.accessibility.setTrusted(true);
    // Turned back on, the old tap would let the keys past: the system took them from it.
    rig.sim.eventTap.reEnable();
    TapEvent again = keyEvent(kC, true, flag::control);
    EXPECT_EQ(rig.sim.eventTap.feed(again), TapAnswer::pass);
    rig.sim.eventTap.disable();

    rig.dispatcher.resumeTap();
    EXPECT_FALSE(rig.dispatcher.tapPaused());
    EXPECT_EQ(rig.sim.eventTap.startCount(), taps + 1);
    EXPECT_TRUE(rig.sim.eventTap.enabled());
    TapEvent afterwards = keyEvent(kC, true, flag::control);
    EXPECT_EQ(rig.sim.eventTap.feed(afterwards), TapAnswer::swallow);
    EXPECT_EQ(rig.sim.log.lines().last(), "Fenwold: accessibility permission restored — shortcuts resumed");

    // A tap made without the permission sees no keys (and none at all if it asked only for them).
    SimEventTap untrusted;
    rig.sim.accessibility.setTrusted(false);
    untrusted.setAccessibility(&rig.sim.accessibility);
    int seen = 0;
    ASSERT_TRUE(untrusted.start(TapDispatcher::eventMask(false), [&](TapEvent&) {
        ++seen;
        return TapAnswer::swallow;
    }));
    TapEvent key = keyEvent(kC, true, flag::control);
    EXPECT_EQ(untrusted.feed(key), TapAnswer::pass);
    EXPECT_EQ(seen, 0);
    EXPECT_FALSE(
        untrusted.start(uint64_t{1} << eventtype::keyDown, [](TapEvent&) { return TapAnswer::pass; }));
}
