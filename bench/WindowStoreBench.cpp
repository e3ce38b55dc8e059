#include "GuiScope.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace fenwold;

namespace {

// 30 applications with 10 windows each: on screen, minimised, hidden and on other Spaces.
void populate(SimSession& sim) {
    for (int a = 0; a < 30; ++a) {
        auto app = sim.app(QStringLiteral("com.example.app%1").arg(a), QStringLiteral("App %1").arg(a));
        for (int w = 0; w < 10; ++w) {
            auto window = app.window(QStringLiteral("Document %1").arg(w), {10.0 * w, 10.0 * a, 800, 600});
            if (w % 4 == 1) window.minimized();
            if (w % 4 == 2) window.onSpace(2);
        }
        if (a % 7 == 3) app.hidden();
    }
}

void snapshotOf300Windows(benchmark::State& state) {
    GuiScope gui;
    SimSession sim;
    populate(sim);
    Platform platform = sim.platform();
    WindowModel model(platform);
    model.store.start();
    std::size_t listed = 0;
    for (auto _ : state) {
        auto list = model.store.snapshot();
        listed = list.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["windows"] = static_cast<double>(listed);
}
BENCHMARK(snapshotOf300Windows)->Unit(benchmark::kMicrosecond);

void contentTestOn2000x1200(benchmark::State& state) {
    QImage image(2000, 1200, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(WindowCapture::hasVisibleContent(image, true));
}
BENCHMARK(contentTestOn2000x1200)->Unit(benchmark::kMicrosecond);

} // namespace
