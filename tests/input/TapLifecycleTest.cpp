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

// A resume whose new tap cannot be made (the permission's answer can lag its announcement) stays
// paused, says so, and tries again until the tap exists.
TEST(TapLifecycle, AResumeWithoutATapStaysPausedUntilOneIsMade) {
    InputRig rig;
    ASSERT_TRUE(rig.dispatcher.startTap());
    int changes = 0;
    rig.dispatcher.onPauseChanged([&] { ++changes; });
    rig.sim.accessibility.setTrusted(false);
    rig.dispatcher.pauseTap();
    EXPECT_EQ(changes, 1);

    rig.sim.accessibility.setTrusted(true);
    rig.sim.eventTap.setCreationFails(true);
    rig.dispatcher.resumeTap();
    EXPECT_TRUE(rig.dispatcher.tapPaused());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(rig.sim.log.lines().contains("Fenwold: accessibility permission restored, but the event tap "
                                             "could not be made — shortcuts stay paused"));
    EXPECT_FALSE(
        rig.sim.log.lines().contains("Fenwold: accessibility permission restored — shortcuts resumed"));
    rig.sim.mainQueue.advance(TapDispatcher::kResumeRetrySeconds * 2.5);
    EXPECT_TRUE(rig.dispatcher.tapPaused());

    rig.sim.eventTap.setCreationFails(false);
    rig.sim.mainQueue.advance(TapDispatcher::kResumeRetrySeconds);
    EXPECT_FALSE(rig.dispatcher.tapPaused());
    EXPECT_EQ(changes, 2);
    TapEvent copy = keyEvent(kC, true, flag::control);
    EXPECT_EQ(rig.sim.eventTap.feed(copy), TapAnswer::swallow);

    // Never made: it gives up after its tries, still paused, and a pause meanwhile stops them.
    rig.dispatcher.pauseTap();
    rig.sim.eventTap.setCreationFails(true);
    rig.dispatcher.resumeTap();
    rig.sim.mainQueue.advance(TapDispatcher::kResumeRetrySeconds * (TapDispatcher::kResumeAttempts + 2));
    EXPECT_TRUE(rig.dispatcher.tapPaused());
    EXPECT_TRUE(
        rig.sim.log.lines().contains(QString("Fenwold: the event tap could not be made after %1 tries — "
                                             "shortcuts stay paused until Accessibility is allowed again")
                                         .arg(TapDispatcher::kResumeAttempts)));
    const int taps = rig.sim.eventTap.startCount();
    rig.sim.eventTap.setCreationFails(false);
    rig.sim.mainQueue.advance(TapDispatcher::kResumeRetrySeconds * 3);
    EXPECT_EQ(rig.sim.eventTap.startCount(), taps);
    // The permission announced again: a new try.
    rig.dispatcher.resumeTap();
    EXPECT_FALSE(rig.dispatcher.tapPaused());
}
