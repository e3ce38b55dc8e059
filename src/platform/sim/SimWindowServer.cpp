#include "SimWindowServer.h"

namespace fenwold {

std::vector<WindowDescription> SimWindowServer::windowList(uint32_t options, uint32_t relativeTo) const {
    std::lock_guard lock(mutex_);
    std::vector<WindowDescription> out;
    for (const auto& w : windows_) {
        if ((options & windowlist::includingWindow) && w.number != relativeTo) continue;
        if ((options & windowlist::onScreenOnly) && !w.isOnscreen.value_or(false)) continue;
        if ((options & windowlist::excludeDesktopElements) && w.layer.value_or(0) < 0) continue;
        out.push_back(w);
    }
    return out;
}

QImage SimWindowServer::windowImage(Rect area, uint32_t listOptions, uint32_t window, uint32_t) const {
    std::lock_guard lock(mutex_);
    if (!screenRecording_) return {};
    if (window == 0 && (listOptions & windowlist::onScreenOnly)) {
        // A screen-area image shows the frontmost on-screen window covering the area.
        for (const auto& w : windows_) {
            if (w.isOnscreen.value_or(false) && w.layer.value_or(0) >= 0 && w.bounds && w.number &&
                w.bounds->intersects(area))
                return direct_.value(*w.number);
        }
        return {};
    }
    return direct_.value(window);
}

bool SimWindowServer::preflightScreenCapture() const {
    std::lock_guard lock(mutex_);
    return screenRecording_;
}

bool SimWindowServer::requestScreenCapture() {
    std::lock_guard lock(mutex_);
    ++requests_;
    return screenRecording_;
}

void SimWindowServer::shareableWindows(std::function<void(std::optional<std::vector<uint32_t>>)> done) {
    {
        std::lock_guard lock(mutex_);
        ++fetches_;
        if (deferred_) {
            heldAnswers_.push_back([this, done] { answerShareable(done); });
            return;
        }
    }
    answerShareable(done);
}

void SimWindowServer::answerShareable(const std::function<void(std::optional<std::vector<uint32_t>>)>& done) {
    std::optional<std::vector<uint32_t>> ids;
    {
        std::lock_guard lock(mutex_);
        if (!shareableFails_ && screenRecording_) {
            ids.emplace();
            for (const auto& w : windows_) {
                if (w.number && w.layer.value_or(0) >= 0) ids->push_back(*w.number);
            }
        }
    }
    done(ids);
}

void SimWindowServer::captureWindow(uint32_t window, int width, int height,
                                    std::function<void(QImage)> done) {
    QImage image;
    {
        std::lock_guard lock(mutex_);
        ++captureCount_;
        lastCaptureSize_ = {width, height};
        if (screenRecording_) image = captures_.value(window);
    }
    if (!image.isNull() && width > 0 && height > 0)
        image = image.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    done(image);
}

void SimWindowServer::setWindows(std::vector<WindowDescription> frontToBack) {
    std::lock_guard lock(mutex_);
    windows_ = std::move(frontToBack);
}

std::vector<WindowDescription> SimWindowServer::windows() const {
    std::lock_guard lock(mutex_);
    return windows_;
}

void SimWindowServer::setDirectImage(uint32_t window, const QImage& image) {
    std::lock_guard lock(mutex_);
    direct_.insert(window, image);
}

void SimWindowServer::setCaptureImage(uint32_t window, const QImage& image) {
    std::lock_guard lock(mutex_);
    captures_.insert(window, image);
}

void SimWindowServer::setScreenRecording(bool granted) {
    std::lock_guard lock(mutex_);
    screenRecording_ = granted;
}

void SimWindowServer::setShareableContentFails(bool fails) {
    std::lock_guard lock(mutex_);
    shareableFails_ = fails;
}

int SimWindowServer::screenRecordingRequests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int SimWindowServer::shareableContentFetches() const {
    std::lock_guard lock(mutex_);
    return fetches_;
}

void SimWindowServer::setShareableContentDeferred(bool deferred) {
    std::lock_guard lock(mutex_);
    deferred_ = deferred;
}

void SimWindowServer::completeShareableContent() {
    std::vector<std::function<void()>> held;
    {
        std::lock_guard lock(mutex_);
        held.swap(heldAnswers_);
    }
    for (auto& h : held)
        h();
}

std::pair<int, int> SimWindowServer::lastCaptureSize() const {
    std::lock_guard lock(mutex_);
    return lastCaptureSize_;
}

int SimWindowServer::windowCaptures() const {
    std::lock_guard lock(mutex_);
    return captureCount_;
}

} // namespace fenwold
