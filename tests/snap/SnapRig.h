#pragma once

// Snap assist and the snap layouts on a simulated session, wired to the real dispatch as the
// program wires them, with recording panels.

#include "core/input/Keys.h"
#include "core/input/TapDispatcher.h"
#include "core/shell/WindowActionsBridge.h"
#include "core/snap/SnapAssistController.h"
#include "core/snap/SnapLayoutController.h"
#include "core/windows/SnapGeometry.h"
#include "support/DispatchParts.h"
#include "switcher/OverlayRig.h"

namespace fenwold::testing {

// A snap-layouts panel that remembers how it was last shown, at a fixed size.
class RecordingLayoutPanel final : public SnapLayoutPanel {
public:
    Size measure(const SnapLayoutState&) const override { return size; }
    void show(const SnapLayoutState& s, const Rect& f) override {
        state = s;
        frame = f;
        visible = true;
    }
    void orderOut() override { visible = false; }
    bool isVisible() const override { return visible; }

    Size size{268, 190};
    SnapLayoutState state;
    Rect frame;
    bool visible = false;
};

class SnapRig : public OverlayRig {
protected:
    TapDispatcher::Parts dispatchParts() {
        TapDispatcher::Parts p = dispatchPartsOf(sim, routing);
        p.inject = &inject;
        p.forwarder = &forwarder;
        p.assist = &assist;
        p.layouts = &layouts;
        p.windows = &actions;
        return p;
    }

    // Three applications with one window each; the last is in front.
    void threeWindows() {
        editor = sim.app("com.example.editor", "Editor")
                     .window("Code", {60, 60, 900, 700})
                     .image(picture(Qt::blue));
        browser = sim.app("com.example.browser", "Browser")
                      .window("News", {90, 80, 900, 700})
                      .image(picture(Qt::red));
        auto term = sim.app("com.example.term", "Term");
        shell = term.window("Shell", {120, 100, 700, 500}).image(picture(Qt::darkGreen));
        term.frontmost();
        model.store.start();
    }
    TapAnswer key(uint32_t type, int64_t code, uint64_t flags) {
        TapEvent e;
        e.type = type;
        e.keyCode = code;
        e.flags = flags;
        return dispatcher.tapCallback(e);
    }
    // A key pressed and released, and the main thread's work done; the key-down's answer, with
    // the key-up checked to match it.
    TapAnswer press(int64_t code, uint64_t flags = 0) {
        const TapAnswer d = key(eventtype::keyDown, code, flags);
        EXPECT_EQ(key(eventtype::keyUp, code, flags), d);
        sim.mainQueue.advance(0.5); // snaps settle and are remembered
        return d;
    }
    bool isOpen() const { return routing.snapshot().snapAssistOpen; }
    // A snap target's frame in Accessibility coordinates on a display (the primary by default).
    Rect snapFrame(WindowSnap s, int display = 0) const {
        const auto screens = sim.screens.screens();
        return snapgeometry::toAX(
            snapgeometry::snapRect(s, screens.at(static_cast<std::size_t>(display)).visibleFrame),
            screens.front().frame.height);
    }
    Rect frameOf(uint32_t w) const { return sim.windows.window(w)->frame; }
    Rect half(bool right) const {
        const Rect v = visibleFrame();
        return {right ? v.midX() : v.minX(), v.minY(), v.width / 2, v.height};
    }

    uint32_t editor = 0, browser = 0, shell = 0;
    WindowActionsBridge actions{model.windows};
    SnapAssistController assist{assistParts(), [this](SwitcherModel&) {
                                    auto p = std::make_unique<RecordingGridPanel>();
                                    panel = p.get();
                                    return p;
                                }};
    RecordingLayoutPanel* layoutPanel = nullptr;
    SnapLayoutController layouts{SnapLayoutController::Parts{&routing, &model.windows, &sim.screens,
                                                             &sim.mainQueue, &sim.prefs, &assist},
                                 [this] {
                                     auto p = std::make_unique<RecordingLayoutPanel>();
                                     layoutPanel = p.get();
                                     return p;
                                 }};
    TapDispatcher dispatcher{dispatchParts()};
};

} // namespace fenwold::testing
