// The tap thread and the main thread at full speed, as on a Mac: one thread types through the
// dispatch while another runs the main queue, whose switcher commits resolve the forwarder.
#include "InputRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

using namespace fenwold;
using namespace fenwold::testing;

TEST(InputStress, TapAndMainThreadsAgreeUnderLoad) {
    InputRig rig;
    rig.set(PrefKey::macHints, false); // the HUD's timers would only pile up on the frozen clock
    const int32_t target = rig.sim.app("com.apple.Notes", "Notes");

    std::mutex replayLock;
    std::map<uint64_t, std::vector<SwitcherKeyForwarder::Stroke>> replayed;
    // Stand in for the session's commit: the window is activated, the forwarder learns its pid.
    rig.switcher.onCommit = [&](uint64_t id) { rig.forwarder.resolve(id, target); };
    rig.sim.keys.onDeliver = [&](const PostedKey& k) {
        if (k.pid != target || !k.keyDown) return;
        std::lock_guard guard(replayLock);
        const uint64_t id =
            rig.routing.snapshot().switcherPhase.id; // the flush ends the session after delivering
        replayed[id].push_back({k.keyCode, k.flags});
    };

    std::atomic<bool> stop{false};
    std::thread mainThread([&] {
        while (!stop.load()) {
            rig.sim.mainQueue.drain();
            std::this_thread::yield();
        }
        rig.sim.mainQueue.drain();
    });

    constexpr int kEvents = 100'000;
    int events = 0, violations = 0, sessions = 0;
    std::map<uint64_t, std::vector<SwitcherKeyForwarder::Stroke>> captured;
    std::map<int64_t, bool> downSwallowed;
    const auto send = [&](uint32_t type, int64_t key, uint64_t flags) {
        TapEvent e;
        e.type = type;
        e.keyCode = key;
        e.flags = flags;
        const TapAnswer a = rig.dispatcher.tapCallback(e);
        ++events;
        if (type == eventtype::keyDown) downSwallowed[key] = a == TapAnswer::swallow;
        if (type == eventtype::keyUp && a == TapAnswer::pass && downSwallowed[key]) ++violations;
        return a;
    };

    const int64_t letters[] = {0, 1, 2, 3, 4, 5, 6, 11, 16, 17, 31, 32, 34, 35, 38, 40};
    int n = 0;
    while (events < kEvents) {
        // Alt+Tab, one more Tab, Alt released: the session commits on the main thread.
        send(eventtype::keyDown, kTab, flag::option);
        send(eventtype::keyUp, kTab, flag::option);
        send(eventtype::flagsChanged, 0, 0);
        const uint64_t id = rig.routing.snapshot().switcherPhase.id;
        ++sessions;
        // Keys typed right after the release; the early ones are captured, the later ones may
        // arrive after the session closed and pass. Some overlap (two keys held at once).
        for (int i = 0; i < 6; ++i) {
            const int64_t key = letters[(n++) % 16];
            const uint64_t flags = i % 3 == 0 ? flag::shift : 0;
            if (send(eventtype::keyDown, key, flags) == TapAnswer::swallow)
                captured[id].push_back({uint16_t(key), flags});
            if (i % 2 == 1) {
                const int64_t other = letters[(n + 7) % 16];
                if (send(eventtype::keyDown, other, 0) == TapAnswer::swallow)
                    captured[id].push_back({uint16_t(other), 0});
                send(eventtype::keyUp, other, 0);
            }
            send(eventtype::keyUp, key, flags);
        }
        // Everything released: the session ends as soon as the commit has run.
        while (!rig.routing.snapshot().switcherPhase.isClosed())
            std::this_thread::yield();
        // A remapped shortcut between sessions.
        send(eventtype::keyDown, kC, flag::control);
        send(eventtype::keyUp, kC, flag::control);
    }
    stop = true;
    mainThread.join();

    EXPECT_EQ(violations, 0);
    // Afterwards every key types normally again, key-down and key-up.
    for (int64_t key : letters)
        EXPECT_EQ(rig.press(key), std::make_pair(TapAnswer::pass, TapAnswer::pass));
    std::lock_guard guard(replayLock);
    int replayedSessions = 0;
    for (const auto& [id, strokes] : captured) {
        EXPECT_EQ(replayed[id], strokes) << "session " << id;
        replayedSessions += !strokes.empty();
    }
    for (const auto& [id, strokes] : replayed)
        EXPECT_TRUE(captured.count(id)) << "replayed for session " << id;
    EXPECT_GT(sessions, 1000);
    RecordProperty("sessions", sessions);
    RecordProperty("sessionsWithReplay", replayedSessions);
}
