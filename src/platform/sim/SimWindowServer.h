#pragma once

#include "ports/ScreenCapture.h"
#include "ports/WindowServer.h"

#include <QHash>
#include <mutex>
#include <utility>

namespace fenwold {

// The simulated window server: a front-to-back window list, window images for direct and
// desktop-independent captures, and the Screen Recording permission.
class SimWindowServer final : public WindowServer, public ScreenCapture {
public:
    std::vector<WindowDescription> windowList(uint32_t options, uint32_t relativeTo) const override;
    QImage windowImage(Rect area, uint32_t listOptions, uint32_t window,
                       uint32_t imageOptions) const override;
    bool preflightScreenCapture() const override;
    bool requestScreenCapture() override;

    void shareableWindows(std::function<void(std::optional<std::vector<uint32_t>>)> done) override;
    void captureWindow(uint32_t window, int width, int height, std::function<void(QImage)> done) override;

    // Setup.
    void setWindows(std::vector<WindowDescription> frontToBack);
    std::vector<WindowDescription> windows() const;
    void setDirectImage(uint32_t window, const QImage& image);
    void setCaptureImage(uint32_t window, const QImage& image);
    void setScreenRecording(bool granted);
    void setShareableContentFails(bool fails);
    int screenRecordingRequests() const;
    int shareableContentFetches() const;
    // Hold shareable-content answers until `completeShareableContent()` (a slow fetch).
    void setShareableContentDeferred(bool deferred);
    void completeShareableContent();
    int windowCaptures() const;
    // The pixel size the last desktop-independent capture asked for.
    std::pair<int, int> lastCaptureSize() const;

private:
    void answerShareable(const std::function<void(std::optional<std::vector<uint32_t>>)>& done);

    mutable std::mutex mutex_;
    std::vector<WindowDescription> windows_;
    QHash<uint32_t, QImage> direct_;
    QHash<uint32_t, QImage> captures_;
    bool screenRecording_ = true;
    bool shareableFails_ = false;
    int requests_ = 0;
    int fetches_ = 0;
    int captureCount_ = 0;
    std::pair<int, int> lastCaptureSize_;
    bool deferred_ = false;
    std::vector<std::function<void()>> heldAnswers_;
};

} // namespace fenwold
