#pragma once

#include "core/windows/Lifetime.h"
#include "core/windows/WindowInfo.h"
#include "ports/MainQueue.h"
#include "ports/Platform.h"

#include <QImage>
#include <QString>
#include <QTextStream>
#include <functional>
#include <optional>

namespace fenwold {

struct WindowModel;

// The window-preview self-check: leaves a window of the switcher's list for another one, then
// checks that the left window now sits on an inactive Space and that the preview the switcher
// would show for it has visible detail; for a full-screen window it also comes back and checks
// that the window stays in full screen. Every step prints one "PASS: " or "FAIL: " line; the
// first failure ends the check with status 1. Main thread.
class WindowPreviewCheck {
public:
    struct Request {
        uint32_t windowID = 0;
        std::optional<uint32_t> fromWindowID;
        bool fromWindowInvalid = false; // "--from-window" given without a usable number
        std::optional<QString> previewOutput;
    };

    static constexpr double pollInterval = 0.1;
    // How long activation, the Space change and the capture each may take.
    static constexpr double switchTimeout = 3.0;
    static constexpr double spaceTimeout = 3.0;
    static constexpr double captureTimeout = 5.0;
    // How long a full-screen window is watched after it has come to the front.
    static constexpr double fullscreenWatch = 1.5;

    // `finished` runs once with the exit status; it may run inside `start`.
    WindowPreviewCheck(const Platform& platform, WindowModel& model, QTextStream& out,
                       std::function<void(int)> finished);
    WindowPreviewCheck(const WindowPreviewCheck&) = delete;
    WindowPreviewCheck& operator=(const WindowPreviewCheck&) = delete;
    ~WindowPreviewCheck();

    void start(const Request& request);

private:
    void switchAway();
    void checkInactiveSpace();
    void capturePreview();
    void judgePreview(const QImage& preview);
    void switchBack();
    void watchFullscreen();

    std::optional<WindowInfo> listed(uint32_t id);
    std::optional<WindowInfo> defaultSource(const std::vector<WindowInfo>& list);
    bool isFront(const WindowInfo& window);
    bool onInactiveSpace(const WindowInfo& window);
    // Polls `condition` until it holds (then `then`) or `timeout` passes (then `otherwise`).
    void waitFor(double timeout, std::function<bool()> condition, std::function<void()> then,
                 std::function<void()> otherwise);

    void pass(const QString& text);
    void fail(const QString& text);
    void finish(int status);

    Platform platform_;
    WindowModel& model_;
    QTextStream& out_;
    std::function<void(int)> finished_;
    Request request_;
    WindowInfo target_;
    WindowInfo source_;
    TimerHandle timer_;
    Lifetime lifetime_;
};

} // namespace fenwold
