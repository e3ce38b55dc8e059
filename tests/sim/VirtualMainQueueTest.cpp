#include "platform/sim/VirtualMainQueue.h"
#include "platform/sim/ManualQueue.h"

#include <gtest/gtest.h>

#include <string>

using namespace fenwold;

TEST(VirtualMainQueue, DelayedWorkRunsInTimeOrderOnlyWhenTheClockGetsThere) {
    VirtualMainQueue q(0);
    std::string order;
    q.after(0.3, [&] { order += "c"; });
    q.after(0.1, [&] { order += "a"; });
    q.after(0.2, [&] { order += "b"; });
    q.post([&] { order += "p"; });
    q.after(0.1, [&] { order += "A"; }); // same due time: insertion order
    EXPECT_EQ(order, "");
    q.advance(0.15);
    EXPECT_EQ(order, "paA");
    EXPECT_DOUBLE_EQ(q.uptime(), 0.15);
    q.advance(1);
    EXPECT_EQ(order, "paAbc");
}

TEST(VirtualMainQueue, WorkSeesTheClockAtItsDueTimeAndCanScheduleMore) {
    VirtualMainQueue q(10);
    std::vector<double> seen;
    q.after(0.25, [&] {
        seen.push_back(q.uptime());
        q.after(0.25, [&] { seen.push_back(q.uptime()); });
    });
    q.advance(0.6);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_DOUBLE_EQ(seen[0], 10.25);
    EXPECT_DOUBLE_EQ(seen[1], 10.5);
}

TEST(VirtualMainQueue, CancelledTimersNeverRunAndRepeatingTimersRepeat) {
    VirtualMainQueue q(0);
    int once = 0, repeats = 0;
    TimerHandle cancelled = q.after(0.1, [&] { ++once; });
    TimerHandle repeating = q.every(0.45, 0.05, [&] { ++repeats; });
    EXPECT_TRUE(cancelled.isActive());
    cancelled.cancel();
    EXPECT_FALSE(cancelled.isActive());
    q.advance(1.0);
    EXPECT_EQ(once, 0);
    EXPECT_EQ(repeats, 2); // 0.45 and 0.9
    EXPECT_TRUE(repeating.isActive());
    repeating.cancel();
    q.advance(5);
    EXPECT_EQ(repeats, 2);
    EXPECT_EQ(q.pendingCount(), 0u);
}

TEST(VirtualMainQueue, WorkThatAdvancesTheClockItselfNeverSendsItBack) {
    // A modal loop run from a timer moves time on; the advance it ran inside must not undo it.
    VirtualMainQueue q(0);
    std::string order;
    q.after(0.1, [&] {
        q.after(0.5, [&] { order += "inner"; });
        q.advance(2);
    });
    q.after(1.0, [&] { order += "+later"; });
    q.advance(0.2);
    EXPECT_DOUBLE_EQ(q.uptime(), 2.1);
    EXPECT_EQ(order, "inner+later");
    q.advance(0.1);
    EXPECT_DOUBLE_EQ(q.uptime(), 2.2);
}

TEST(VirtualMainQueue, OneShotIsInactiveAfterFiring) {
    VirtualMainQueue q(0);
    TimerHandle t = q.after(0.05, [] {});
    q.advance(0.05);
    EXPECT_FALSE(t.isActive());
}

TEST(VirtualMainQueue, PostFromAnotherThreadRunsOnDrain) {
    VirtualMainQueue q(0);
    int ran = 0;
    std::thread t([&] { q.post([&] { ++ran; }); });
    t.join();
    EXPECT_EQ(ran, 0);
    q.drain();
    EXPECT_EQ(ran, 1);
}

TEST(ManualQueue, RunsWorkOnlyWhenAskedAndInOrder) {
    ManualQueue q;
    std::string order;
    q.async([&] { order += "1"; });
    q.run([&] {
        order += "2";
        q.async([&] { order += "3"; });
    });
    EXPECT_EQ(q.pending(), 2u);
    EXPECT_TRUE(q.runNext());
    EXPECT_EQ(order, "1");
    EXPECT_EQ(q.runAll(), 2u);
    EXPECT_EQ(order, "123");
    EXPECT_FALSE(q.runNext());
}
