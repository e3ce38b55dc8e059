#pragma once

#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <ostream>

namespace fenwold {

inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}

} // namespace fenwold

namespace fenwold::testing {

// A simulated session with the window model wired to it.
class WindowsTest : public ::testing::Test {
protected:
    SimSession sim;
    Platform platform = sim.platform();
    WindowModel model{platform};
    Windows& windows = model.windows;
    WindowStore& store = model.store;

    std::optional<RunningApp> app(int32_t pid) { return sim.workspace.app(pid); }
    std::vector<WindowInfo> enumerate(int32_t pid) { return windows.enumerate(*sim.workspace.app(pid)); }
    std::vector<uint32_t> ids(const std::vector<WindowInfo>& list) {
        std::vector<uint32_t> out;
        for (const auto& w : list)
            out.push_back(w.id);
        return out;
    }
    // Let background captures finish and their results reach the main thread.
    void settleCaptures() {
        while (sim.background.runAll() > 0)
            sim.mainQueue.drain();
        sim.mainQueue.drain();
    }
    Rect frameOf(uint32_t number) { return sim.windows.window(number)->frame; }
};

inline QImage solid(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

inline QImage detailed(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
    return image;
}

} // namespace fenwold::testing
