// The main queue on Qt's event loop: a repeating timer with a tolerance shares the loop's
// wake-ups. The loop is woken at moments far from the timer's edges, so a busy machine moves
// nothing across them.
#include "platform/qt/QtMainQueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fenwold;

TEST(QtMainQueue, ATolerantTimerRunsAtAWakeWithinItsToleranceAndKeepsItsPace) {
    QtMainQueue queue;
    std::vector<std::string> events;
    TimerHandle timer = queue.every(2.0, 1.0, [&] { events.push_back("timer"); });
    TimerHandle cancelled = queue.every(2.0, 1.0, [&] { events.push_back("cancelled timer"); });
    cancelled.cancel();
    QEventLoop loop;
    // Due at 2 s: too early at 0.4 s, within its tolerance at 1.5 s. Due next at 4 s, counted from
    // when it was due rather than when it ran, so it runs next at the wake of 3.5 s. Every wake is
    // half a second or more from an edge.
    for (const int ms : {400, 1500, 3500})
        QTimer::singleShot(ms, &loop, [&events, ms] { events.push_back("wake " + std::to_string(ms)); });
    QTimer::singleShot(4200, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(events, (std::vector<std::string>{"wake 400", "wake 1500", "timer", "wake 3500", "timer"}));
    timer.cancel();
}

// Alone, it runs by itself, and once cancelled not again.
TEST(QtMainQueue, ATolerantTimerAloneRunsAndStopsWhenCancelled) {
    QtMainQueue queue;
    int runs = 0;
    TimerHandle timer = queue.every(0.05, 0.025, [&] { ++runs; });
    QElapsedTimer clock;
    clock.start();
    while (runs < 3 && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(runs, 3);
    timer.cancel();
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(runs, 3);
}
