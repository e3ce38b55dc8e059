// The running program with nothing open, over ten idle seconds of the real clock: how often its
// event loop wakes up, and which timers wake it. No simulated application runs, so every wake-up
// is the program's own.
#include "AppRig.h"

#include <QAbstractEventDispatcher>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <map>

using namespace fenwold;
using namespace fenwold::bench;

namespace {

// Counts the timer events the event loop delivers, by the timer's interval where it is a
// repeating timer of its own, as a tolerant timer of the main queue, and by the receiver's class
// otherwise.
class TimerCounter : public QObject {
public:
    TimerCounter() { qApp->installEventFilter(this); }
    ~TimerCounter() override { qApp->removeEventFilter(this); }
    std::map<std::string, int> counts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Timer) return false;
        if (auto* timer = qobject_cast<QTimer*>(watched))
            // A tolerant repeating timer of the main queue is a single shot started again each
            // time; when it runs at a wake the loop has anyway, no timer event counts it.
            ++counts[timer->isSingleShot() ? std::string("tolerant timer due")
                                           : "every " + std::to_string(timer->interval()) + " ms"];
        else
            ++counts[watched->metaObject()->className()];
        return false;
    }
};

void IdleTenSeconds(benchmark::State& state) {
    AppRig rig([](SimSession&) {});
    runFor(1000); // start-up settles
    // Each time the loop goes to sleep it is woken again: the sleeps count the wake-ups.
    int sleeps = 0;
    TimerCounter timers;
    for (auto _ : state) {
        auto* dispatcher = QAbstractEventDispatcher::instance();
        const auto counting =
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] { ++sleeps; });
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(counting);
    }
    // The measurement's own ten-second timer woke the loop once.
    state.counters["wakeups"] = sleeps - 1;
    for (const auto& [source, count] : timers.counts)
        state.counters[source] = count;
}
BENCHMARK(IdleTenSeconds)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
