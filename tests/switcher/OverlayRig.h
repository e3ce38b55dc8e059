#pragma once

// A simulated session with the window model, the routing state and the key forwarder wired the
// way the program wires them, for the overlays that show a tile grid.

#include "core/hints/HintHUD.h"
#include "core/input/Inject.h"
#include "core/input/InputRoutingState.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/settings/Prefs.h"
#include "core/snap/SnapAssistController.h"
#include "core/switcher/SwitcherSession.h"
#include "core/switcher/TileGridPanel.h"
#include "core/switcher/WindowTileOperations.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"
#include "support/RecordingHintPanel.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

namespace fenwold::testing {

// A panel that remembers how it was last shown; its size follows the rows like the real one.
class RecordingGridPanel final : public TileGridPanel {
public:
    void show(const std::vector<std::vector<int>>& r, const std::optional<QString>& h,
              const Rect& f) override {
        rows = r;
        header = h;
        shownFrame = f;
        visible = true;
        ++shows;
    }
    void orderOut() override { visible = false; }
    bool isVisible() const override { return visible; }
    Rect frame() const override { return shownFrame; }
    Size measure(const std::vector<std::vector<int>>& r, const std::optional<QString>& h) const override {
        std::size_t widest = 0;
        for (const auto& row : r)
            widest = std::max(widest, row.size());
        return {200.0 * static_cast<double>(widest) + 40,
                196.0 * static_cast<double>(r.size()) + 40 + (h ? 26 : 0)};
    }
    // What a click on a tile or one of its buttons does.
    void click(int index, TileAction action) { onAction(index, action); }

    std::vector<std::vector<int>> rows;
    std::optional<QString> header;
    Rect shownFrame;
    bool visible = false;
    int shows = 0;
};

// A picture with enough detail to count as a real preview.
inline QImage picture(QColor color, int w = 160, int h = 100) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    QPainter p(&image);
    for (int x = 0; x < w; x += 8)
        p.fillRect(QRect(x, (x * 3) % h, 4, 6), QColor((x * 5) % 256, 255 - color.red(), 90));
    return image;
}

inline QImage blankPicture() {
    QImage image(160, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

class OverlayRig : public ::testing::Test {
protected:
    OverlayRig() {
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::macHints, true);
    }

    // Let the thumbnail requests, their background captures and their results run.
    void settleCaptures() {
        sim.mainQueue.drain();
        while (sim.background.runAll() > 0)
            sim.mainQueue.drain();
        sim.mainQueue.drain();
    }
    std::vector<uint32_t> ids(const std::vector<WindowInfo>& list) const {
        std::vector<uint32_t> out;
        for (const auto& w : list)
            out.push_back(w.id);
        return out;
    }
    // The Alt+Tab session's parts, wired to the rig.
    SwitcherSession::Parts sessionParts() {
        SwitcherSession::Parts p;
        p.routing = &routing;
        p.forwarder = &forwarder;
        p.windows = &model.windows;
        p.operations = &operations;
        p.workspace = &sim.workspace;
        p.screens = &sim.screens;
        p.mainQueue = &sim.mainQueue;
        p.prefs = &sim.prefs;
        p.metrics = &metrics;
        p.hints = &hud;
        return p;
    }
    // Snap assist's parts, wired to the rig.
    SnapAssistController::Parts assistParts() {
        SnapAssistController::Parts p;
        p.routing = &routing;
        p.windows = &model.windows;
        p.screens = &sim.screens;
        p.mainQueue = &sim.mainQueue;
        p.metrics = &metrics;
        return p;
    }
    // The front window as the window server stacks it.
    uint32_t frontWindow() const { return sim.windows.stacking().front(); }
    Rect visibleFrame() const { return sim.screens.screens().front().visibleFrame; }

    SimSession sim;
    Platform platform = sim.platform();
    Metrics metrics;
    WindowModel model{platform, [this] { return metrics.thumbH; }};
    InputRoutingState routing;
    Inject inject{sim.keys, sim.workspace, sim.log};
    SwitcherKeyForwarder forwarder{
        routing, [this](uint16_t key, uint64_t flags, int32_t pid) { inject.post(key, flags, pid); }};
    WindowTileOperations operations{model.windows, sim.workspace};
    HintHUD hud{sim.prefs, sim.mainQueue, sim.screens, [] { return std::make_unique<RecordingHintPanel>(); }};
    RecordingGridPanel* panel = nullptr;
};

} // namespace fenwold::testing
