#include "core/switcher/TileGrid.h"

#include <benchmark/benchmark.h>

using namespace fenwold;

namespace {

// 200 windows of mixed shapes: documents, wide browsers, narrow palettes, extreme panels.
std::vector<WindowInfo> manyWindows() {
    const double aspects[] = {4.0 / 3.0, 16.0 / 9.0, 0.75, 2.4, 1.0, 10.0, 0.1, 1.6};
    std::vector<WindowInfo> windows(200);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        windows[i].id = static_cast<uint32_t>(100 + i);
        windows[i].pid = static_cast<int32_t>(500 + i / 7);
        windows[i].aspect = aspects[i % std::size(aspects)];
    }
    return windows;
}

// The switcher's layout on a 1440 × 805 visible area: row flow plus the shrink loop, which for
// this many windows walks all the way down to 90 points.
void BM_FlowRowsFitToScreen200(benchmark::State& state) {
    const std::vector<WindowInfo> windows = manyWindows();
    Metrics metrics;
    for (auto _ : state) {
        FlowLayout layout = fitToScreen(windows, 0.85 * 1440, 805, metrics);
        benchmark::DoNotOptimize(layout);
    }
}
BENCHMARK(BM_FlowRowsFitToScreen200)->Unit(benchmark::kMicrosecond);

void BM_FlowRows200(benchmark::State& state) {
    const std::vector<WindowInfo> windows = manyWindows();
    const Metrics metrics;
    for (auto _ : state) {
        FlowLayout layout = flowRows(windows, 0.85 * 1440, metrics);
        benchmark::DoNotOptimize(layout);
    }
}
BENCHMARK(BM_FlowRows200)->Unit(benchmark::kMicrosecond);

} // namespace
