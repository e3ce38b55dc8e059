#include "WindowPreviewCheck.h"

#include "core/windows/WindowModel.h"
#include "ports/WindowServer.h"
#include "ports/Workspace.h"

#include <algorithm>
#include <utility>

namespace fenwold {

WindowPreviewCheck::WindowPreviewCheck(const Platform& platform, WindowModel& model, QTextStream& out,
                                       std::function<void(int)> finished)
    : platform_(platform), model_(model), out_(out), finished_(std::move(finished)) {}

WindowPreviewCheck::~WindowPreviewCheck() {
    timer_.cancel();
}

void WindowPreviewCheck::pass(const QString& text) {
    out_ << "PASS: " << text << '\n';
    out_.flush();
}

void WindowPreviewCheck::fail(const QString& text) {
    timer_.cancel();
    out_ << "FAIL: " << text << '\n';
    out_.flush();
    finish(1);
}

void WindowPreviewCheck::finish(int status) {
    timer_.cancel();
    if (auto done = std::exchange(finished_, nullptr)) done(status);
}

std::optional<WindowInfo> WindowPreviewCheck::listed(uint32_t id) {
    for (const WindowInfo& w : model_.windows.list()) {
        if (w.id == id) return w;
    }
    return std::nullopt;
}

std::optional<WindowInfo> WindowPreviewCheck::defaultSource(const std::vector<WindowInfo>& list) {
    // A window on the current Space (shown on screen) is the natural place to switch to; failing
    // that, the most recent other window that can come forward without being restored first.
    std::optional<WindowInfo> fallback;
    for (const WindowInfo& w : list) {
        if (w.id == target_.id || w.isMinimized || w.isHidden) continue;
        const auto entry = platform_.windowServer->windowList(windowlist::includingWindow, w.id);
        if (!entry.empty() && entry.front().isOnscreen == true) return w;
        if (!fallback) fallback = w;
    }
    return fallback;
}

bool WindowPreviewCheck::isFront(const WindowInfo& window) {
    const auto app = platform_.workspace->frontmostApp();
    return app && app->pid == window.pid &&
           model_.windows.frontmostWindow() == WindowTarget{window.pid, window.id};
}

bool WindowPreviewCheck::onInactiveSpace(const WindowInfo& window) {
    // The window server lists a window of another Space as off screen; a minimised window and
    // the windows of a hidden application are off screen too without being on any other Space.
    const auto entry = platform_.windowServer->windowList(windowlist::includingWindow, window.id);
    if (entry.empty() || entry.front().isOnscreen != false) return false;
    const auto current = listed(window.id);
    if (!current || current->isMinimized) return false;
    const auto app = platform_.workspace->app(window.pid);
    return app && !app->hidden;
}

void WindowPreviewCheck::waitFor(double timeout, std::function<bool()> condition, std::function<void()> then,
                                 std::function<void()> otherwise) {
    timer_.cancel();
    if (condition()) {
        then();
        return;
    }
    MainQueue& queue = *platform_.mainQueue;
    const double deadline = queue.uptime() + timeout;
    timer_ = queue.every(pollInterval, pollInterval / 10,
                         lifetime_.guard([this, &queue, deadline, condition = std::move(condition),
                                          then = std::move(then), otherwise = std::move(otherwise)] {
                             if (condition()) {
                                 timer_.cancel();
                                 then();
                             } else if (queue.uptime() >= deadline) {
                                 timer_.cancel();
                                 otherwise();
                             }
                         }));
}

void WindowPreviewCheck::start(const Request& request) {
    request_ = request;
    const std::vector<WindowInfo> list = model_.windows.list();
    auto find = [&list](uint32_t id) -> std::optional<WindowInfo> {
        const auto it =
            std::find_if(list.begin(), list.end(), [id](const WindowInfo& w) { return w.id == id; });
        return it == list.end() ? std::nullopt : std::optional<WindowInfo>(*it);
    };
    const auto target = find(request.windowID);
    if (!target) {
        fail(QStringLiteral("window %1 is missing from the switcher").arg(request.windowID));
        return;
    }
    target_ = *target;

    std::optional<WindowInfo> source;
    if (request.fromWindowInvalid || request.fromWindowID) {
        if (!request.fromWindowInvalid && *request.fromWindowID != target_.id)
            source = find(*request.fromWindowID);
        if (!source) {
            fail(QStringLiteral("--from-window requires a different existing window id"));
            return;
        }
    } else {
        source = defaultSource(list);
        if (!source) {
            fail(QStringLiteral("no other window to switch away to; name one with --from-window"));
            return;
        }
    }
    source_ = *source;

    // A full-screen window can only be captured while its Space is the current one: its
    // preview on an inactive Space is the one kept when the switcher leaves it. So the
    // full-screen path is checked the way a user meets it, starting in that window.
    if (target_.isFullscreen && !isFront(target_)) {
        fail(QStringLiteral("start with the target video window active in fullscreen"));
        return;
    }
    switchAway();
}

void WindowPreviewCheck::switchAway() {
    // The switcher's own activation, which also keeps the preview of a full-screen window it
    // leaves.
    model_.windows.activate(source_);
    waitFor(
        switchTimeout, [this] { return isFront(source_); },
        [this] {
            pass(QStringLiteral("switched away to window %1").arg(source_.id));
            checkInactiveSpace();
        },
        [this] { fail(QStringLiteral("could not switch to source window %1").arg(source_.id)); });
}

void WindowPreviewCheck::checkInactiveSpace() {
    waitFor(
        spaceTimeout, [this] { return onInactiveSpace(target_); },
        [this] {
            pass(QStringLiteral("window %1 is on an inactive Space").arg(target_.id));
            capturePreview();
        },
        [this] { fail(QStringLiteral("target must be on an inactive Space before checking its preview")); });
}

void WindowPreviewCheck::capturePreview() {
    const auto current = listed(target_.id);
    if (!current) {
        fail(QStringLiteral("window %1 left the switcher").arg(target_.id));
        return;
    }
    // The switcher's refresh: a fresh capture replaces the kept preview, a failed one leaves it.
    const auto task = model_.store.refresh({*current}, nullptr, nullptr);
    waitFor(
        captureTimeout, [task] { return !task || task->finished; },
        [this] {
            // The capture's result reaches the store through the main queue; read it after that.
            platform_.mainQueue->post(lifetime_.guard([this] {
                const auto& previews = model_.store.previews();
                const auto it = previews.find(target_.id);
                judgePreview(it == previews.end() ? QImage() : it->second.image);
            }));
        },
        [this] { fail(QStringLiteral("capturing window %1 did not finish").arg(target_.id)); });
}

void WindowPreviewCheck::judgePreview(const QImage& preview) {
    // Written before the verdict, so a blank preview can be looked at too.
    if (request_.previewOutput && !preview.isNull()) {
        if (!preview.save(*request_.previewOutput, "PNG")) {
            fail(QStringLiteral("could not write the preview to %1").arg(*request_.previewOutput));
            return;
        }
        pass(QStringLiteral("preview written to %1").arg(*request_.previewOutput));
    }
    if (!WindowCapture::hasVisibleContent(preview, true)) {
        fail(QStringLiteral("preview of window %1 shows no visible detail").arg(target_.id));
        return;
    }
    pass(QStringLiteral("preview of window %1 shows visible detail").arg(target_.id));
    if (!target_.isFullscreen) {
        finish(0);
        return;
    }
    switchBack();
}

void WindowPreviewCheck::switchBack() {
    const auto current = listed(target_.id);
    if (!current) {
        fail(QStringLiteral("window %1 left the switcher").arg(target_.id));
        return;
    }
    model_.windows.activate(*current);
    waitFor(
        switchTimeout, [this] { return isFront(target_); },
        [this] {
            pass(QStringLiteral("switched back to window %1").arg(target_.id));
            watchFullscreen();
        },
        [this] { fail(QStringLiteral("could not switch back to window %1").arg(target_.id)); });
}

void WindowPreviewCheck::watchFullscreen() {
    // An application that drops full screen on activation does so within its animation; any
    // reading outside full screen during the watch is a failure.
    waitFor(
        fullscreenWatch, [this] { return model_.windows.fullscreenState(target_.pid, target_.id) != true; },
        [this] { fail(QStringLiteral("window %1 left full screen when activated").arg(target_.id)); },
        [this] {
            pass(QStringLiteral("window %1 stayed in full screen").arg(target_.id));
            finish(0);
        });
}

} // namespace fenwold
