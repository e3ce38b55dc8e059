// Keys typed while the switcher commits reach the newly activated application.
#include "InputRig.h"
#include "selfcheck/ModuleChecks.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

const uint64_t cmd = flag::command, opt = flag::option;

// Alt+Tab, then Alt released: the session commits.
uint64_t commitASession(InputRig& rig) {
    rig.press(kTab, opt);
    rig.flagsChanged(0);
    return rig.routing.snapshot().switcherPhase.id;
}

} // namespace

TEST(Forwarder, CmdVTypedBeforeActivationIsReplayedToTheNewApp) {
    InputRig rig;
    const int32_t notes = rig.sim.app("com.apple.Notes", "Notes");
    const uint64_t id = commitASession(rig);
    EXPECT_EQ(rig.down(kV, cmd), TapAnswer::swallow);
    EXPECT_EQ(rig.up(kV, cmd), TapAnswer::swallow);
    EXPECT_TRUE(rig.posted().isEmpty());

    rig.forwarder.resolve(id, notes);
    const QStringList expected = {QString("down 9 0x100000 -> %1").arg(notes),
                                  QString("up 9 0x100000 -> %1").arg(notes)};
    EXPECT_EQ(rig.posted(), expected);
    EXPECT_TRUE(rig.routing.snapshot().switcherPhase.isClosed());
    // Afterwards keys flow normally again.
    EXPECT_EQ(rig.press(kV, 0).first, TapAnswer::pass);
}

TEST(Forwarder, AHeldKeyDelaysTheFlushAndOrderIsKept) {
    InputRig rig;
    const uint64_t id = commitASession(rig);
    rig.down(kA, 0);
    rig.up(kA, 0);
    rig.down(kEsc, 0); // Esc after Alt release is a key like any other
    rig.forwarder.resolve(id, 700);
    EXPECT_TRUE(rig.posted().isEmpty());
    EXPECT_FALSE(rig.routing.snapshot().switcherPhase.isClosed());
    EXPECT_EQ(rig.up(kEsc, 0), TapAnswer::swallow);
    const QStringList expected = {"down 0 0x0 -> 700", "up 0 0x0 -> 700", "down 53 0x0 -> 700",
                                  "up 53 0x0 -> 700"};
    EXPECT_EQ(rig.posted(), expected);
    EXPECT_TRUE(rig.routing.snapshot().switcherPhase.isClosed());
}

TEST(Forwarder, KeyUpOfAKeyPressedBeforeReleasePasses) {
    InputRig rig;
    rig.press(kTab, opt);
    rig.down(kX, opt); // typed while still capturing: goes to the switcher
    rig.flagsChanged(0);
    EXPECT_EQ(rig.up(kX, 0), TapAnswer::swallow); // its key-down was swallowed by the switcher row
    EXPECT_TRUE(rig.dispatcher.swallowedKeys().empty());

    // A key pressed before Alt+Tab whose key-up arrives during the commit passes.
    InputRig other;
    other.down(kA, 0);
    other.press(kTab, opt);
    other.flagsChanged(0);
    EXPECT_EQ(other.up(kA, 0), TapAnswer::pass);
}

TEST(Forwarder, NoTargetDropsTheStrokesAndStaleSessionsAreRefused) {
    InputRig rig;
    const uint64_t id = commitASession(rig);
    rig.press(kA, 0);
    rig.forwarder.resolve(id + 1, 700); // another session's commit
    EXPECT_FALSE(rig.routing.snapshot().switcherPhase.isClosed());
    EXPECT_FALSE(rig.forwarder.capture(id + 1, 0, 0, true));
    rig.forwarder.resolve(id, std::nullopt);
    EXPECT_TRUE(rig.posted().isEmpty());
    EXPECT_TRUE(rig.routing.snapshot().switcherPhase.isClosed());
    EXPECT_FALSE(rig.forwarder.sessionID());

    QStringList failures;
    EXPECT_TRUE(switcherKeyForwarderSelfcheck(failures)) << failures.join("\n").toStdString();
}
