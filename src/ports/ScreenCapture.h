#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace fenwold {

// Desktop-independent window capture (works for windows on other Spaces).
class ScreenCapture {
public:
    ScreenCapture() = default;
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;
    virtual ~ScreenCapture() = default;

    // Every shareable window id, on and off screen, without desktop windows; nullopt on error.
    // The callback may run on any thread.
    virtual void shareableWindows(std::function<void(std::optional<std::vector<uint32_t>>)> done) = 0;
    // Capture one window at the given pixel size (scaled to fit, no cursor); null image on error.
    // The callback may run on any thread.
    virtual void captureWindow(uint32_t window, int width, int height, std::function<void(QImage)> done) = 0;
};

} // namespace fenwold
