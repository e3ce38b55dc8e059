#include "WindowCapture.h"

#include "AreaScaling.h"
#include "ports/ScreenCapture.h"
#include "ports/WindowServer.h"

#include <QPainter>
#include <algorithm>
#include <memory>

namespace fenwold {

namespace {
constexpr int kRaster = 32;
constexpr int kOpaqueAlpha = 8;
constexpr int kMinOpaquePixels = 50;
constexpr double kMinVariance = 4.0;
constexpr int kMinCaptureSize = 2;
constexpr double kMinAspect = 0.01;
} // namespace

WindowCapture::Shared::Shared(ScreenCapture* capture, std::function<double()> uptime)
    : capture_(capture), uptime_(std::move(uptime)) {}

void WindowCapture::Shared::content(std::function<void(std::optional<Content>)> done) {
    std::optional<Content> fresh;
    {
        std::lock_guard lock(mutex_);
        if (cache_ && uptime_() - cache_->at < maxAge) {
            fresh = cache_->content;
        } else {
            waiters_.push_back(std::move(done));
            if (inFlight_) return;
            inFlight_ = true;
        }
    }
    // Answered outside the lock: the answer may start the next capture, which asks again.
    if (fresh) {
        done(std::move(fresh));
        return;
    }
    auto finish = [this](std::optional<Content> list) {
        std::vector<std::function<void(std::optional<Content>)>> waiters;
        {
            std::lock_guard lock(mutex_);
            if (list) cache_ = Cache{*list, uptime_()};
            inFlight_ = false;
            waiters.swap(waiters_);
        }
        for (auto& w : waiters)
            w(list);
    };
    if (!capture_) {
        finish(std::nullopt);
        return;
    }
    capture_->shareableWindows(std::move(finish));
}

WindowCapture::WindowCapture(WindowServer& server, ScreenCapture* capture, std::function<double()> uptime)
    : server_(server), capture_(capture), shared_(capture, std::move(uptime)) {}

bool WindowCapture::hasVisibleContent(const QImage& image, bool rejectUniform) {
    QImage raster(kRaster, kRaster, QImage::Format_RGBA8888_Premultiplied);
    if (raster.isNull()) return true; // no raster to test with: do not hide the window
    if (image.isNull()) return false;
    raster.fill(Qt::transparent);
    {
        QPainter painter(&raster);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(QRect(0, 0, kRaster, kRaster), image);
    }
    int counted = 0;
    double sum = 0, sumSquares = 0;
    for (int y = 0; y < kRaster; ++y) {
        const uchar* row = raster.constScanLine(y);
        for (int x = 0; x < kRaster; ++x) {
            const uchar* px = row + 4 * x;
            if (px[3] <= kOpaqueAlpha) continue;
            ++counted;
            if (rejectUniform) {
                const int luminance = (54 * px[0] + 183 * px[1] + 19 * px[2]) / 256;
                sum += luminance;
                sumSquares += static_cast<double>(luminance) * luminance;
            }
        }
    }
    if (counted <= kMinOpaquePixels) return false;
    if (!rejectUniform) return true;
    const double mean = sum / counted;
    return sumSquares / counted - mean * mean >= kMinVariance;
}

QImage WindowCapture::fit(const QImage& image, int width) {
    if (width <= 1 || width >= image.width()) return image;
    const int height =
        std::max(1, static_cast<int>(static_cast<int64_t>(width) * image.height() / image.width()));
    // Averaging the source area is the high-quality choice for large reductions.
    QImage out = scaleDownByArea(image, QSize(width, height));
    return out.isNull() ? image : out;
}

void WindowCapture::capture(const WindowInfo& window, int maxPixelWidth, bool rejectUniform,
                            std::function<void(Outcome)> done) {
    const auto own = server_.windowList(windowlist::includingWindow, window.id);
    const bool offscreen = own.empty() || own.front().isOnscreen != true;
    const bool fullscreen = window.isFullscreen;
    bool directBlank = false;
    if (!offscreen) {
        const QImage direct =
            server_.windowImage(Rect{}, windowlist::includingWindow, window.id, imageOptions);
        if (!direct.isNull() && direct.width() > 1) {
            const QImage scaled = fit(direct, maxPixelWidth);
            if (hasVisibleContent(scaled, rejectUniform || fullscreen)) {
                done({Outcome::Kind::captured, scaled});
                return;
            }
            directBlank = true;
        }
    }
    auto fallback = [=] {
        return Outcome{directBlank && !fullscreen ? Outcome::Kind::noContent : Outcome::Kind::unavailable,
                       {}};
    };
    shared_.content([=, this](std::optional<Shared::Content> content) {
        if (!content || !capture_ ||
            std::find(content->begin(), content->end(), window.id) == content->end()) {
            done(fallback());
            return;
        }
        const int width = std::max(maxPixelWidth, kMinCaptureSize);
        const int height =
            std::max(static_cast<int>(width / std::max(window.aspect, kMinAspect)), kMinCaptureSize);
        capture_->captureWindow(window.id, width, height, [=](QImage image) {
            if (image.isNull()) {
                done(fallback());
                return;
            }
            if (hasVisibleContent(image, rejectUniform || offscreen || fullscreen)) {
                done({Outcome::Kind::captured, image});
                return;
            }
            done({offscreen || fullscreen ? Outcome::Kind::unavailable : Outcome::Kind::noContent, {}});
        });
    });
}

QImage WindowCapture::visibleImage(const WindowInfo& window, int maxPixelWidth) {
    const auto own = server_.windowList(windowlist::includingWindow, window.id);
    if (own.empty() || own.front().isOnscreen != true || !own.front().bounds) return {};
    // A full-screen window is taken from the screen area it covers, which shows only while its
    // Space is the current one.
    const QImage image =
        window.isFullscreen
            ? server_.windowImage(*own.front().bounds, windowlist::onScreenOnly, 0, imageOptions)
            : server_.windowImage(Rect{}, windowlist::includingWindow, window.id, imageOptions);
    if (image.isNull() || image.width() <= 1) return {};
    const QImage scaled = fit(image, maxPixelWidth);
    return hasVisibleContent(scaled, true) ? scaled : QImage();
}

} // namespace fenwold
