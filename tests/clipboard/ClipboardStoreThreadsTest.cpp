// The clipboard store as the program runs it: rows built and pins read and written on the
// clipboard's own worker thread, results handed back through Qt's event loop, while the main
// thread keeps copying, pausing, clearing and pinning. Meant for the thread sanitizer as much as
// for the outcome.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/clipboard/PinsFile.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/WorkerThreadQueue.h"
#include "platform/sim/SimSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <set>

using namespace fenwold;
using namespace fenwold::test;

namespace {

// Runs Qt's event loop until the worker has done everything queued so far and its results
// have reached the main thread.
bool settle(WorkerThreadQueue& worker, int milliseconds = 20000) {
    std::atomic<bool> reached{false};
    worker.async([&reached] { reached = true; });
    QDeadlineTimer deadline(milliseconds);
    while (!reached) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

TEST(ClipboardStoreThreads, CapturesAndPinsOnTheWorkerThreadWhileTheMainThreadMovesOn) {
    QTemporaryDir dir;
    const QString pins = dir.filePath(PinsFile::relativePath);
    SimSession sim;
    sim.app("com.apple.Notes", "Notes").frontmost();
    QtMainQueue mainQueue;
    std::set<QString> expectedPins;
    {
        WorkerThreadQueue worker;
        ClipboardStore store(
            pins, sim.pasteboard, [] { return true; },
            ClipboardStoreServices{&mainQueue, &worker, [&sim] { return sim.workspace.frontmostApp(); },
                                   &sim.clock, QStringLiteral("org.fenwold.Fenwold")});
        store.start();
        for (int n = 0; n < 150; ++n) {
            std::vector<PasteboardItem> copy = {textItem(QStringLiteral("copy %1").arg(n))};
            if (n % 10 == 3) copy.front().types.emplace_back(ClipTypes::png, pngBytes(200 + n, 120));
            sim.pasteboard.copy(copy);
            store.poll(); // a row is being built on the worker now
            // The main thread does not wait for it.
            if (n % 25 == 7) store.clearRecent();
            if (n % 30 == 11) {
                store.togglePaused();
                store.togglePaused();
            }
            if (n % 9 == 0) {
                // Pinning needs a row to pin; how many have arrived otherwise depends on the load.
                ASSERT_TRUE(settle(worker));
                const auto& entries = store.entries();
                const auto unpinned = std::find_if(entries.begin(), entries.end(),
                                                   [](const ClipboardEntry& e) { return !e.pinned; });
                if (unpinned != entries.end()) store.togglePin(unpinned->id());
            }
            QCoreApplication::processEvents();
        }
        ASSERT_TRUE(settle(worker));
        for (const auto& e : store.entries())
            if (e.pinned) expectedPins.insert(e.text());

        // What the main thread holds is consistent: each copy once, within the bounds.
        std::set<QString> seen;
        for (const auto& e : store.entries())
            EXPECT_TRUE(seen.insert(e.fingerprint()).second) << e.text().toStdString();
        EXPECT_LE(store.entries().size(), 100u);
        EXPECT_GE(expectedPins.size(), 5u);
        EXPECT_FALSE(store.message()) << store.message()->toStdString();
    } // the worker drains before it goes: the last save is on the disk

    // The file holds exactly the pins the shelf showed.
    const PinsFile::LoadResult loaded = PinsFile::load(pins);
    ASSERT_FALSE(loaded.failed);
    std::set<QString> saved;
    for (const auto& e : loaded.entries)
        saved.insert(e.text());
    EXPECT_EQ(saved, expectedPins);
}

} // namespace
