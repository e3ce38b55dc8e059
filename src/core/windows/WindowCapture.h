#pragma once

#include "WindowInfo.h"

#include <QImage>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace fenwold {

class WindowServer;
class ScreenCapture;

// Preview images of single windows: the window server's direct image first, the
// desktop-independent capture (which also reaches minimised, hidden and other-Space windows)
// second, each tested for visible content. Capture calls may run on any thread.
class WindowCapture {
public:
    struct Outcome {
        enum class Kind { captured, noContent, unavailable };
        Kind kind = Kind::unavailable;
        QImage image; // set for `captured`
    };

    // The list of capturable windows, fetched at most once per `maxAge` and shared by concurrent
    // callers: while one fetch is in flight every caller waits for that one.
    class Shared {
    public:
        static constexpr double maxAge = 3.0;
        using Content = std::vector<uint32_t>;
        Shared(ScreenCapture* capture, std::function<double()> uptime);
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;
        // Calls `done` (on any thread) with the list, or nothing when the fetch failed.
        void content(std::function<void(std::optional<Content>)> done);

    private:
        struct Cache {
            Content content;
            double at = 0;
        };
        ScreenCapture* capture_;
        std::function<double()> uptime_;
        std::mutex mutex_;
        std::optional<Cache> cache_;
        bool inFlight_ = false;
        std::vector<std::function<void(std::optional<Content>)>> waiters_;
    };

    WindowCapture(WindowServer& server, ScreenCapture* capture, std::function<double()> uptime);
    WindowCapture(const WindowCapture&) = delete;
    WindowCapture& operator=(const WindowCapture&) = delete;

    // Captures one window; `done` runs once, on any thread.
    void capture(const WindowInfo& window, int maxPixelWidth, bool rejectUniform,
                 std::function<void(Outcome)> done);
    // An image of an on-screen window at once, or null.
    QImage visibleImage(const WindowInfo& window, int maxPixelWidth);
    Shared& shared() { return shared_; }

    // Whether an image shows something: enough opaque pixels and, when asked, not one flat colour.
    static bool hasVisibleContent(const QImage& image, bool rejectUniform);
    // The image scaled down to a pixel width (never up).
    static QImage fit(const QImage& image, int width);

    static constexpr uint32_t imageOptions = 0x11; // ignore framing, nominal resolution

private:
    WindowServer& server_;
    ScreenCapture* capture_;
    Shared shared_;
};

} // namespace fenwold
