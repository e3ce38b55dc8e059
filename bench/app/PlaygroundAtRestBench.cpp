// The playground as `scripts/run` opens it, left alone for twenty seconds of the real clock: the
// share of a processor core the whole process takes, how often its event loop wakes up, how often
// the simulated screen is drawn and how many windows' images (what the previews show) were made
// again. Offscreen unless QT_QPA_PLATFORM says otherwise (xcb with DISPLAY set measures it on an
// X server). Argument 1: a first run, the welcome window open; 0: the welcome seen, nothing open.
#include "app/SimHost.h"
#include "ui/playground/PlaygroundSession.h"
#include "ui/playground/PlaygroundWindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>
#include <map>

using namespace fenwold;

namespace {

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs Qt's event loop for a while, sleeping whenever it has nothing to do.
void runLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) : widget_(widget) { widget_.installEventFilter(this); }
    ~PaintCounter() override { widget_.removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }

private:
    QWidget& widget_;
};

std::map<uint32_t, qint64> windowImages(SimSession& session) {
    std::map<uint32_t, qint64> images;
    for (uint32_t n : session.windows.stacking())
        if (const auto w = session.windows.window(n)) images[n] = w->captureImage.cacheKey();
    return images;
}

void PlaygroundAtRest(benchmark::State& state) {
    const bool welcome = state.range(0) != 0;
    SimHost host;
    PlaygroundSession::connectSecondDisplay(host.session());
    Platform platform = host.platform();
    platform.appShell->setAccessoryPolicy();
    PlaygroundSession playground(host.session(), platform, StartupOptions{}, false,
                                 welcome ? StartingSettings::firstRun : StartingSettings::demonstration);
    PlaygroundWindow window(playground);
    window.show();
    playground.start();
    runLoopFor(2000); // start-up settles: the first frames, the program's launch

    PaintCounter paints(playground.desktop());
    const auto imagesBefore = windowImages(host.session());
    int sleeps = 0;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        auto* dispatcher = QAbstractEventDispatcher::instance();
        const auto counting =
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] { ++sleeps; });
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = processSeconds();
        runLoopFor(20000);
        cpu = processSeconds() - cpuBefore;
        wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        QObject::disconnect(counting);
    }
    int imagesRedrawn = 0;
    for (const auto& [number, key] : windowImages(host.session()))
        if (const auto it = imagesBefore.find(number); it == imagesBefore.end() || it->second != key)
            ++imagesRedrawn;
    state.counters["corePercent"] = 100 * cpu / wall;
    // The measurement's own timer woke the loop once.
    state.counters["wakeups"] = sleeps - 1;
    state.counters["screenPaints"] = paints.paints;
    state.counters["windowImagesRedrawn"] = imagesRedrawn;
    playground.delegate().applicationWillTerminate();
}
BENCHMARK(PlaygroundAtRest)->ArgName("welcome")->Arg(1)->Arg(0)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
