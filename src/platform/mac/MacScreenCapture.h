#pragma once

#include "ports/ScreenCapture.h"

#include <memory>

namespace fenwold {

// Desktop-independent window capture through ScreenCaptureKit. The windows of the last fetched
// shareable content are kept so that a capture can name its window.
class MacScreenCapture final : public ScreenCapture {
public:
    MacScreenCapture();
    ~MacScreenCapture() override;

    void shareableWindows(std::function<void(std::optional<std::vector<uint32_t>>)> done) override;
    void captureWindow(uint32_t window, int width, int height, std::function<void(QImage)> done) override;

private:
    struct Known;
    std::shared_ptr<Known> known_;
};

} // namespace fenwold
