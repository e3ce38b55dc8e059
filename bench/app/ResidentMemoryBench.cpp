// Resident memory of the running program once it holds what a long day gives it: previews of 100
// windows and a clipboard history at its bounds (64 MiB of copies, a fifth of them images).
#include "AppRig.h"
#include "core/input/Keys.h"
#include "ui/common/FreeMemory.h"
#include "ui/common/QtFloatingPanel.h"

#include <QBackingStore>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cctype>
#include <chrono>
#include <malloc.h>
#include <unistd.h>

using namespace fenwold;
using namespace fenwold::bench;

namespace {

double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20)
                             : 0;
}

// The part of it that is files mapped in: the program's and its libraries' code and data, ICU's
// tables and fonts. The rest is memory the program made.
double mappedFilesMiB() {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return 0;
    double kib = 0;
    bool file = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        if (line.startsWith("Rss:")) {
            if (file) kib += line.mid(4).trimmed().split(' ').first().toDouble();
        } else if (!std::isupper(static_cast<unsigned char>(line[0]))) {
            // A mapping's first line: its addresses, then a path when a file backs it.
            file = line.contains(" /");
        }
    }
    return kib / 1024;
}

// What the panels' windows hold to draw into, shown or not.
double backingStoreMiB() {
    double bytes = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (QBackingStore* store = w->backingStore())
            if (auto* image = dynamic_cast<QImage*>(store->paintDevice()))
                bytes += double(image->sizeInBytes());
    return bytes / (1 << 20);
}

// The program started and armed, nothing open, no window on the screen.
void ResidentJustAfterStart(benchmark::State& state) {
    for (auto _ : state) {
        AppRig rig([](SimSession&) {});
        runFor(1000); // start-up settles
        state.counters["programMiB"] = residentMiB();
        state.counters["mappedFilesMiB"] = mappedFilesMiB();
    }
}
BENCHMARK(ResidentJustAfterStart)->Unit(benchmark::kSecond)->Iterations(1);

// A long day: 100 windows, a history at its caps, one Alt+Tab that captures every window's preview
// and has just closed.
void liveADay(AppRig& rig) {
    fillHistoryAtTheCaps(rig.app().clipboard());
    rig.key(kTab, true, flag::option);
    runFor(200);
    rig.settleBackground();
    rig.key(kTab, false, flag::option);
    rig.flags(0);
    runFor(500);
    rig.settleBackground();
}

void ResidentWith100WindowsAnd100Clips(benchmark::State& state) {
    const double before = residentMiB();
    for (auto _ : state) {
        AppRig rig([](SimSession& sim) { populateWindows(sim, 100); });
        liveADay(rig);
        // A panel hidden for a while gives back what its window draws into: the day's memory is
        // what stays, once that while has passed.
        const double justClosed = residentMiB() - kWindowPictureMiB;
        runFor(DesktopFloatingPanel::keepsPixelsMilliseconds + 500);

        double previews = 0;
        for (const auto& [id, preview] : rig.app().store().previews())
            previews += static_cast<double>(preview.image.sizeInBytes());
        double clips = 0, thumbnails = 0;
        for (const auto& e : rig.app().clipboard().entries()) {
            clips += static_cast<double>(e.saved.payload.byteCount());
            if (e.thumbnail()) thumbnails += static_cast<double>(e.thumbnail()->sizeInBytes());
        }
        const double resident = residentMiB();
        state.counters["residentMiB"] = resident;
        // What the simulated window server holds is not the program's.
        state.counters["programMiB"] = resident - kWindowPictureMiB;
        state.counters["justClosedMiB"] = justClosed;
        state.counters["mappedFilesMiB"] = mappedFilesMiB();
        // How much of it the program's objects hold, and how much the allocator keeps of what
        // they freed (this is the C library's allocator; a Mac's returns memory differently).
        const struct mallinfo2 heap = ::mallinfo2();
        state.counters["heapInUseMiB"] = static_cast<double>(heap.uordblks + heap.hblkhd) / (1 << 20);
        state.counters["heapFreeMiB"] = static_cast<double>(heap.fordblks) / (1 << 20);
        ::malloc_trim(0);
        state.counters["trimmedMiB"] = residentMiB() - kWindowPictureMiB;
        state.counters["startMiB"] = before;
        state.counters["previews"] = static_cast<double>(rig.app().store().previews().size());
        state.counters["previewMiB"] = previews / (1 << 20);
        state.counters["clips"] = static_cast<double>(rig.app().clipboard().entries().size());
        state.counters["clipMiB"] = clips / (1 << 20);
        state.counters["clipThumbnailMiB"] = thumbnails / (1 << 20);
        state.counters["backingStoreMiB"] = backingStoreMiB();
    }
}
BENCHMARK(ResidentWith100WindowsAnd100Clips)->Unit(benchmark::kSecond)->Iterations(1);

// What giving the allocator's free memory back costs when the switcher's panel gives back its
// pixels, asked here a moment earlier (the panel's own request then finds nothing left).
void ReturnFreeMemoryAtTheCaps(benchmark::State& state) {
    for (auto _ : state) {
        AppRig rig([](SimSession& sim) { populateWindows(sim, 100); });
        liveADay(rig);
        const double free = static_cast<double>(::mallinfo2().fordblks) / (1 << 20);
        const double resident = residentMiB();
        const auto start = std::chrono::steady_clock::now();
        returnFreeMemory();
        state.counters["trimMs"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.counters["heapFreeMiB"] = free;
        state.counters["returnedMiB"] = resident - residentMiB();
    }
}
BENCHMARK(ReturnFreeMemoryAtTheCaps)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
