// The event-tap callback: the system disables a tap whose callback is slow, and every key of
// the session goes through it. The platform's post call is replaced by one that does nothing.
#include "GuiScope.h"
#include "core/hints/HintHUD.h"
#include "core/input/ExclusionGate.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/FinderKeys.h"
#include "core/input/HeldClick.h"
#include "core/input/Inject.h"
#include "core/input/InputRoutingState.h"
#include "core/input/Keys.h"
#include "core/input/MenuEquivalents.h"
#include "core/input/ShortcutLayout.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/input/TapDispatcher.h"
#include "core/settings/Prefs.h"
#include "core/snap/DragSnapController.h"
#include "core/windows/Windows.h"
#include "platform/sim/SimSession.h"
#include "support/DispatchParts.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Heap allocations made by this program, to show the pass path makes none.
static std::atomic<long> gAllocations{0};

void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace fenwold;

namespace {

class NullKeySender final : public KeySender {
public:
    bool post(uint16_t, bool, uint64_t, int32_t) override { return true; }
    bool postToSession(uint16_t, bool, uint64_t) override { return true; }
};

struct TapRig {
    explicit TapRig(bool hints, int excludedApps = 0, const char* keyboardLayout = "US") {
        sim.keyboardLayout.select(keyboardLayout);
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::macHints, hints);
        QStringList excluded;
        for (int i = 0; i < excludedApps; ++i)
            excluded << QStringLiteral("com.example.guest%1").arg(i);
        Prefs(sim.prefs).setExcludedApps(excluded);
        sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    }
    SimSession sim;
    NullKeySender keys;
    InputRoutingState routing;
    Inject inject{keys, sim.workspace, sim.log};
    HintHUD hud{sim.prefs, sim.mainQueue, sim.screens, [] { return std::unique_ptr<HintPanel>(); }};
    FinderKeys finder{sim.prefs, sim.workspace, sim.accessibility, sim.mainQueue, inject, hud, sim.log};
    FenwoldKeys winKeys{
        sim.prefs, sim.mainQueue, sim.workspace, sim.accessibility, sim.privateServices, inject, {}, 15};
    SwitcherKeyForwarder forwarder{routing,
                                   [this](uint16_t k, uint64_t f, int32_t p) { inject.post(k, f, p); }};
    ExclusionGate exclusions{sim.prefs, sim.workspace};
    ShortcutLayout layout{sim.keyboardLayout, sim.mainQueue, sim.log};
    MenuEquivalents menus{sim.accessibility, sim.workspace, sim.mainQueue, inject, &hud, sim.log, &layout};
    TapDispatcher dispatcher{[this] {
        TapDispatcher::Parts p = fenwold::testing::dispatchPartsOf(sim, routing);
        p.inject = &inject;
        p.hints = &hud;
        p.finder = &finder;
        p.winKeys = &winKeys;
        p.forwarder = &forwarder;
        p.exclusions = &exclusions;
        p.layout = &layout;
        p.menus = &menus;
        return p;
    }()};
};

TapEvent key(uint32_t type, int64_t code, uint64_t flags) {
    TapEvent e;
    e.type = type;
    e.keyCode = code;
    e.flags = flags;
    return e;
}

} // namespace

// Plain typing: key-down and key-up of a letter, both passed.
static void passing(benchmark::State& state, const char* layout, int64_t code, int excludedApps) {
    TapRig rig(true, excludedApps, layout);
    const TapEvent down = key(eventtype::keyDown, code, 0), up = key(eventtype::keyUp, code, 0);
    // The first key after a change of the front application fills the exclusion cache.
    TapEvent warm = down;
    rig.dispatcher.tapCallback(warm);
    const long before = gAllocations.load();
    for (auto _ : state) {
        TapEvent d = down, u = up;
        benchmark::DoNotOptimize(rig.dispatcher.tapCallback(d));
        benchmark::DoNotOptimize(rig.dispatcher.tapCallback(u));
    }
    state.counters["allocs/event"] =
        benchmark::Counter(double(gAllocations.load() - before) / (2.0 * double(state.iterations())));
    state.SetItemsProcessed(2 * state.iterations());
}
// On a US layout; the argument is how many applications are excluded (the front one is not
// among them).
static void BM_TapPassingKey(benchmark::State& state) {
    passing(state, "US", kA, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_TapPassingKey)->Arg(0)->Arg(10);
// On a German layout, the key that gives Z there.
static void BM_TapPassingKeyGerman(benchmark::State& state) {
    passing(state, "German", kY, 0);
}
BENCHMARK(BM_TapPassingKeyGerman);

// A shortcut remapped for the front application, hints off: Ctrl+C to Cmd+C on a US layout, and
// on a German one Ctrl+Z, on the key where US has Y, to Cmd and that key.
static void remapped(benchmark::State& state, const char* layout, int64_t code) {
    TapRig rig(false, 0, layout);
    const TapEvent down = key(eventtype::keyDown, code, flag::control);
    const TapEvent up = key(eventtype::keyUp, code, flag::control);
    for (auto _ : state) {
        TapEvent d = down, u = up;
        benchmark::DoNotOptimize(rig.dispatcher.tapCallback(d));
        benchmark::DoNotOptimize(rig.dispatcher.tapCallback(u));
    }
    state.SetItemsProcessed(state.iterations());
}
static void BM_TapRemappedShortcut(benchmark::State& state) {
    remapped(state, "US", kC);
}
BENCHMARK(BM_TapRemappedShortcut);
static void BM_TapRemappedShortcutGerman(benchmark::State& state) {
    remapped(state, "German", kY);
}
BENCHMARK(BM_TapRemappedShortcutGerman);

// The same with the hint queued for the main thread, which runs between batches.
static void BM_TapRemappedShortcutWithHint(benchmark::State& state) {
    TapRig rig(true);
    const TapEvent down = key(eventtype::keyDown, kC, flag::control);
    const TapEvent up = key(eventtype::keyUp, kC, flag::control);
    int n = 0;
    for (auto _ : state) {
        TapEvent d = down, u = up;
        benchmark::DoNotOptimize(rig.dispatcher.tapCallback(d));
        benchmark::DoNotOptimize(rig.dispatcher.tapCallback(u));
        if (++n % 4096 == 0) {
            state.PauseTiming();
            rig.sim.mainQueue.drain();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TapRemappedShortcutWithHint);

// The layout table built again, as after the selected input source changed: the source read, every
// key's translations, the table built and compared with the one published. On the simulated
// session the translations come from memory; on a Mac 256 UCKeyTranslate calls add to it.
static void BM_LayoutTableRebuild(benchmark::State& state) {
    SimSession sim;
    sim.keyboardLayout.select("German");
    ShortcutLayout layout(sim.keyboardLayout, sim.mainQueue, sim.log);
    for (auto _ : state)
        layout.rebuild();
}
BENCHMARK(BM_LayoutTableRebuild);

// A window dragged by its title bar: every mouse-dragged event of the drag through the tap (a
// 1 kHz mouse sends a thousand a second), with the drag's main-thread half running between
// batches as its timer would.
static void BM_TapWindowDragged(benchmark::State& state) {
    GuiScope gui;
    SimSession sim;
    Prefs(sim.prefs).registerDefaults();
    sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {40, 50, 580, 340});
    Windows windows(sim.platform());
    DragSnapController drag({&windows, &sim.screens, &sim.workspace, &sim.mainQueue, &sim.prefs},
                            [] { return std::unique_ptr<SnapOutlinePanel>(); });
    InputRoutingState routing;
    TapDispatcher::Parts parts = fenwold::testing::dispatchPartsOf(sim, routing);
    parts.drag = &drag;
    // Nothing held, as in any drag that did not start on a click target: one look at an atomic.
    HeldClick held(sim.mainQueue, &sim.clicks);
    parts.heldClick = &held;
    TapDispatcher dispatcher(parts);
    TapEvent down;
    down.type = eventtype::leftMouseDown;
    down.clickState = 1;
    down.location = {300, 60};
    dispatcher.tapCallback(down);
    sim.mainQueue.drain();
    if (!drag.dragging()) state.SkipWithError("the press picked no window up");
    TapEvent moved;
    moved.type = eventtype::leftMouseDragged;
    long allocations = 0;
    int n = 0;
    for (auto _ : state) {
        TapEvent e = moved;
        e.location = {300.0 + n % 600, 60.0 + n % 300};
        const long before = gAllocations.load(std::memory_order_relaxed);
        benchmark::DoNotOptimize(dispatcher.tapCallback(e));
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
        if (++n % 4096 == 0) {
            state.PauseTiming();
            sim.mainQueue.advance(DragSnapController::kTick);
            state.ResumeTiming();
        }
    }
    state.counters["allocs/event"] = benchmark::Counter(double(allocations) / double(state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TapWindowDragged);

// The main thread's look at the pointer during a drag: the zone under it among two displays.
static void BM_DragZoneLookup(benchmark::State& state) {
    const std::vector<ScreenInfo> screens{{{0, 0, 1440, 900}, {0, 0, 1440, 875}},
                                          {{1440, 100, 1280, 800}, {1440, 100, 1280, 775}}};
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dragzones::zoneAt(screens, {double(n % 2720), double(n % 900)}));
        ++n;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DragZoneLookup);
