// The window store's refreshes as the program runs them where the simulated session is its
// platform: captures on Qt's thread pool, results handed back through Qt's event loop, while the
// main thread moves, opens and closes windows. Meant for the thread sanitizer as much as for the
// outcome.
#include "WindowsFixture.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/ThreadPoolTasks.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

// Runs Qt's event loop until done() holds or the deadline passes.
bool runUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

TEST(WindowStoreThreads, RefreshesOnThePoolWhileTheMainThreadChangesTheWindows) {
    SimSession sim;
    QtMainQueue mainQueue;
    ThreadPoolTasks pool;
    sim.windows.setQueue(mainQueue);
    Platform platform = sim.platform();
    platform.mainQueue = &mainQueue;
    platform.background = &pool;
    std::vector<uint32_t> opened;
    for (int a = 0; a < 4; ++a) {
        auto app = sim.app(QStringLiteral("com.example.app%1").arg(a), QStringLiteral("App %1").arg(a));
        for (int w = 0; w < 6; ++w)
            opened.push_back(app.window(QStringLiteral("Document %1").arg(w), {40.0 * w, 30.0 * a, 640, 400})
                                 .image(detailed(320, 200)));
    }
    // A larger tile each round asks for every preview again.
    double thumbH = 90;
    WindowModel model(platform, [&thumbH] { return thumbH; });
    model.store.start();

    std::map<uint32_t, int> applied;
    for (int round = 0; round < 12; ++round, thumbH += 10) {
        const auto task = model.store.refresh(
            model.store.snapshot(), [&](uint32_t id, const QImage&) { ++applied[id]; }, nullptr);
        ASSERT_TRUE(task);
        // Meanwhile on the main thread: windows move, one closes, another opens.
        for (uint32_t number : opened)
            sim.windows.update(number, [round](SimWindow& w) { w.frame.x += round % 2 ? 5 : -5; });
        if (round % 4 == 1) {
            sim.windows.close(opened.back());
            opened.pop_back();
        }
        if (round % 4 == 3)
            opened.push_back(sim.app(QStringLiteral("com.example.late%1").arg(round), QStringLiteral("Late"))
                                 .window(QStringLiteral("Late %1").arg(round), {10, 10, 500, 300})
                                 .image(detailed(250, 150)));
        ASSERT_TRUE(runUntil([&] { return task->finished.load(); })) << "round " << round;
        // The last capture's result is posted just before the task finishes.
        QCoreApplication::processEvents();
    }
    // Once the windows hold still, one more refresh brings every preview up to date.
    const auto last = model.store.refresh(model.store.snapshot(), nullptr, nullptr);
    ASSERT_TRUE(last);
    ASSERT_TRUE(runUntil([&] { return last->finished.load(); }));
    ASSERT_TRUE(pool.waitForDone(10000));
    QCoreApplication::processEvents();

    // Every window still open has its preview at the last size.
    const auto& previews = model.store.previews();
    for (const WindowInfo& w : model.store.snapshot()) {
        ASSERT_TRUE(previews.count(w.id)) << w.title.toStdString();
        EXPECT_GE(previews.at(w.id).pixelWidth, StoreMath::captureWidth(thumbH, w.aspect));
    }
    EXPECT_GE(applied.size(), opened.size());
}

} // namespace
