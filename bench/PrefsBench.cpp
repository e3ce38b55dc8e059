// A gated preference read sits on the event-tap path for every event.
#include "core/settings/Prefs.h"
#include "platform/sim/SimPrefs.h"

#include <benchmark/benchmark.h>

using namespace fenwold;

static void BM_GatedPrefRead(benchmark::State& state) {
    SimPrefs store;
    Prefs prefs(store);
    prefs.registerDefaults();
    prefs.set(PrefKey::winV, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(prefs.winV());
}
BENCHMARK(BM_GatedPrefRead);

static void BM_SwapRowRead(benchmark::State& state) {
    SimPrefs store;
    Prefs prefs(store);
    prefs.registerDefaults();
    for (auto _ : state)
        benchmark::DoNotOptimize(prefs.ctrlClipboard());
}
BENCHMARK(BM_SwapRowRead);
