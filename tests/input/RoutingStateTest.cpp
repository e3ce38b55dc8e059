#include "core/input/Inject.h"
#include "core/input/InputRoutingState.h"
#include "core/input/KeyLayoutTable.h"
#include "core/input/Keys.h"
#include "core/input/SwallowedKeys.h"
#include "core/input/TapDispatcher.h"
#include "platform/sim/SimSession.h"
#include "selfcheck/ModuleChecks.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <utility>
#include <vector>

using namespace fenwold;

TEST(KeyVocabulary, SwapAwareMasksAndTheUSKeys) {
    EXPECT_EQ(winMask(false), flag::command);
    EXPECT_EQ(ctrlMask(false), flag::control);
    EXPECT_EQ(winMask(true), flag::control);
    EXPECT_EQ(ctrlMask(true), flag::command);

    // Without a readable layout the keys mean what a US keyboard prints on them; the keypad's
    // plus and minus are found on the main row.
    const KeyLayoutTable us = KeyLayoutTable::us();
    EXPECT_EQ(us.character(kKeypadPlus, false), U'+');
    EXPECT_EQ(us.keyFor(U'+'), (KeyStroke{kEqual, true}));
    EXPECT_EQ(us.keyFor(U'-'), (KeyStroke{kMinus, false}));
    EXPECT_EQ(us.keyFor(U'0'), (KeyStroke{k0, false}));
    EXPECT_EQ(us.character(kZ, false), U'z');
    EXPECT_EQ(us.character(kTab, false), 0u);

    // The digit row is not in code order.
    EXPECT_EQ(digitOfKey(23), 5);
    EXPECT_EQ(digitOfKey(22), 6);
    EXPECT_EQ(digitOfKey(25), 9);
    EXPECT_EQ(digitOfKey(26), 7);
    EXPECT_EQ(kOwnEventMarker, 0x464E5744);
}

TEST(KeyVocabulary, ModifierSummary) {
    EXPECT_EQ(TapDispatcher::mods(0), "-");
    EXPECT_EQ(TapDispatcher::mods(flag::shift), "S");
    EXPECT_EQ(
        TapDispatcher::mods(flag::secondaryFn | flag::command | flag::option | flag::control | flag::shift),
        "SCAMF");
    EXPECT_EQ(TapDispatcher::mods(flag::command | 0x100), "M"); // device bits are not modifiers
}

TEST(InputRoutingState, SessionsAreNumberedAndGuarded) {
    InputRoutingState r;
    EXPECT_EQ(r.snapshot(), InputRoutingState::Snapshot{});

    const uint64_t a = r.beginSwitcherSession();
    const uint64_t b = r.beginSwitcherSession();
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    EXPECT_EQ(r.snapshot().switcherPhase, SwitcherPhase::capturing(b)); // the second overrides the first

    // Stale ids change nothing.
    EXPECT_FALSE(r.beginSwitcherCancellation(a));
    EXPECT_FALSE(r.commitSwitcherSession(a));
    EXPECT_FALSE(r.endSwitcherSession(a));
    EXPECT_EQ(r.snapshot().switcherPhase, SwitcherPhase::capturing(b));

    EXPECT_TRUE(r.commitSwitcherSession(b));
    EXPECT_FALSE(r.commitSwitcherSession(b)); // only a capturing phase commits
    EXPECT_TRUE(r.isCurrentSession(b));
    EXPECT_TRUE(r.beginSwitcherCancellation(b)); // committing can still be cancelled
    EXPECT_TRUE(r.isCancelling(b));
    EXPECT_TRUE(r.endSwitcherSession(b));
    EXPECT_TRUE(r.snapshot().switcherPhase.isClosed());
    EXPECT_FALSE(r.beginSwitcherCancellation(b)); // after closed
    EXPECT_FALSE(r.isCurrentSession(b));
}

TEST(InputRoutingState, IdsWrapToOneNeverZero) {
    InputRoutingState r;
    r.setLastIssuedID(std::numeric_limits<uint64_t>::max() - 1);
    EXPECT_EQ(r.beginSwitcherSession(), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(r.beginSwitcherSession(), 1u);
}

TEST(InputRoutingState, OverlayFlags) {
    InputRoutingState r;
    r.setSnapAssistOpen(true);
    r.setClipboardOpen(true);
    r.setMoveTarget(WindowMoveTarget{501, 9});
    const auto s = r.snapshot();
    EXPECT_TRUE(s.snapAssistOpen);
    EXPECT_TRUE(s.clipboardOpen);
    EXPECT_EQ(s.moveTarget, (WindowMoveTarget{501, 9}));
    r.setMoveTarget(std::nullopt);
    EXPECT_FALSE(r.snapshot().moveTarget);
}

// A snapshot at rest is read without the lock: each change away from rest and back is seen.
TEST(InputRoutingState, EachChangeFromRestAndBackIsSeen) {
    InputRoutingState r;
    using Snapshot = InputRoutingState::Snapshot;
    const std::vector<std::pair<std::function<void(bool)>, std::function<bool(const Snapshot&)>>> changes = {
        {[&](bool on) { r.setSnapAssistOpen(on); }, [](const Snapshot& s) { return s.snapAssistOpen; }},
        {[&](bool on) { r.setSnapLayoutsOpen(on); }, [](const Snapshot& s) { return s.snapLayoutsOpen; }},
        {[&](bool on) { r.setClipboardOpen(on); }, [](const Snapshot& s) { return s.clipboardOpen; }},
        {[&](bool on) {
             r.setMoveTarget(on ? std::optional(WindowMoveTarget{7, 3}) : std::nullopt);
         },
         [](const Snapshot& s) { return s.moveTarget.has_value(); }},
    };
    for (const auto& [set, seen] : changes) {
        set(true);
        EXPECT_TRUE(seen(r.snapshot()));
        EXPECT_NE(r.snapshot(), Snapshot{});
        set(false);
        EXPECT_EQ(r.snapshot(), Snapshot{});
    }
    // Two open at once: closing one leaves the other.
    r.setClipboardOpen(true);
    const uint64_t id = r.beginSwitcherSession();
    r.setClipboardOpen(false);
    EXPECT_EQ(r.snapshot().switcherPhase, SwitcherPhase::capturing(id));
    EXPECT_TRUE(r.endSwitcherSession(id));
    EXPECT_EQ(r.snapshot(), Snapshot{});
}

TEST(SwallowedKeys, InsertAndRemoveOnce) {
    SwallowedKeys s;
    s.insert(8);
    EXPECT_TRUE(s.contains(8));
    EXPECT_TRUE(s.remove(8));
    EXPECT_FALSE(s.remove(8));
    // Keys held together are released in any order, each once.
    for (int64_t key : {1, 2, 3, 4})
        s.insert(key);
    EXPECT_TRUE(s.remove(2));
    EXPECT_TRUE(s.remove(4));
    EXPECT_FALSE(s.remove(2));
    EXPECT_TRUE(s.contains(1));
    EXPECT_TRUE(s.contains(3));
    EXPECT_TRUE(s.remove(1));
    EXPECT_TRUE(s.remove(3));
    EXPECT_TRUE(s.empty());
    QStringList failures;
    EXPECT_TRUE(swallowedKeysSelfcheck(failures)) << failures.join("\n").toStdString();
    EXPECT_TRUE(inputRoutingStateSelfcheck(failures)) << failures.join("\n").toStdString();
}

TEST(Inject, PostsAPairWithExactlyTheGivenFlags) {
    SimSession sim;
    const int32_t pid = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    Inject inject(sim.keys, sim.workspace, sim.log);

    inject.post(8, flag::command);
    const std::vector<PostedKey> expected = {{8, true, flag::command, pid}, {8, false, flag::command, pid}};
    EXPECT_EQ(sim.keys.posted(), expected);

    sim.keys.clear();
    inject.post(9, flag::command | flag::shift, 777);
    ASSERT_EQ(sim.keys.posted().size(), 2u);
    EXPECT_EQ(sim.keys.posted()[0].flags, flag::command | flag::shift);
    EXPECT_EQ(sim.keys.posted()[1].pid, 777);
}

TEST(Inject, InvalidTargetsPostNothingAndSayWhichKey) {
    SimSession sim;
    Inject inject(sim.keys, sim.workspace, sim.log);

    inject.post(8, flag::command, 0);
    inject.post(9, flag::command); // no frontmost application
    EXPECT_TRUE(sim.keys.posted().empty());
    const QStringList expected = {"Fenwold: dropped synthetic key 8 — invalid target PID",
                                  "Fenwold: dropped synthetic key 9 — no frontmost application"};
    EXPECT_EQ(sim.log.lines(), expected);
}
