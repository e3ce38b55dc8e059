#include "AccessibilityTimeouts.h"
#include "WindowStore.h"
#include "Windows.h"
#include "ports/MainQueue.h"
#include "ports/WindowServer.h"

namespace fenwold {

namespace {
const QString kWindows = QStringLiteral("AXWindows");
} // namespace

Windows::Windows(const Platform& platform)
    : platform_(platform), ax_(*platform.accessibility), workspace_(*platform.workspace),
      server_(*platform.windowServer), queue_(*platform.mainQueue),
      activation_(platform.privateServices, *platform.accessibility,
                  [queue = platform.mainQueue] { return queue->uptime(); }) {}

void Windows::setStore(WindowStore* store) {
    store_ = store;
}

std::optional<RunningApp> Windows::regularApp(int32_t pid) const {
    auto app = workspace_.app(pid);
    if (!app || app->policy != ActivationPolicy::regular) return std::nullopt;
    return app;
}

std::vector<WindowInfo> Windows::enumerate(const RunningApp& app) {
    std::vector<WindowInfo> out;
    if (app.policy != ActivationPolicy::regular || app.pid == workspace_.ownPid()) return out;
    const AXElement element = ax_.application(app.pid);
    ax_.setMessagingTimeout(element, kEnumerateTimeout);
    const auto windows = ax_.attribute(element, kWindows).asElements();
    if (!windows) return out;
    const QString appName = app.name && !app.name->isEmpty() ? *app.name : QStringLiteral("?");
    const QImage icon = workspace_.icon(app.pid);
    for (const AXElement& w : *windows) {
        // Elements handed out by the application do not inherit its timeout.
        ax_.setMessagingTimeout(w, kEnumerateTimeout);
        const auto number = ax_.windowNumber(w);
        if (!number || *number == 0) continue;
        const bool minimized = ax_.attribute(w, QStringLiteral("AXMinimized")).asBool().value_or(false);
        const auto subrole = ax_.attribute(w, QStringLiteral("AXSubrole")).asString();
        const bool ordinary =
            subrole == QStringLiteral("AXStandardWindow") || subrole == QStringLiteral("AXDialog");
        if (!minimized && !ordinary) continue;
        const auto title = ax_.attribute(w, QStringLiteral("AXTitle")).asString();
        const Size size = ax_.attribute(w, QStringLiteral("AXSize")).asSize().value_or(Size{});
        WindowInfo info;
        info.id = *number;
        info.pid = app.pid;
        info.title = title && !title->isEmpty() ? *title : appName;
        info.appName = appName;
        info.icon = icon;
        info.isMinimized = minimized;
        info.isHidden = app.hidden;
        info.aspect = size.height > 0 ? size.width / size.height : 4.0 / 3.0;
        info.axWindow = w;
        info.isFullscreen = ax_.attribute(w, QStringLiteral("AXFullScreen")).asBool().value_or(false);
        out.push_back(std::move(info));
    }
    return out;
}

std::unordered_map<uint32_t, int> Windows::zOrder() {
    std::unordered_map<uint32_t, int> ranks;
    const auto list = server_.windowList(windowlist::onScreenOnly | windowlist::excludeDesktopElements, 0);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].number) ranks.try_emplace(*list[i].number, static_cast<int>(i));
    }
    return ranks;
}

std::optional<WindowTarget> Windows::frontmostWindow() {
    const auto list = server_.windowList(windowlist::onScreenOnly | windowlist::excludeDesktopElements, 0);
    for (const auto& d : list) {
        if (d.layer != 0 || !d.ownerPid || *d.ownerPid == workspace_.ownPid() || !d.number) continue;
        if (!regularApp(*d.ownerPid)) continue;
        return WindowTarget{*d.ownerPid, focusedWindowID(*d.ownerPid).value_or(*d.number)};
    }
    return std::nullopt;
}

std::optional<uint32_t> Windows::focusedWindowID(int32_t pid) {
    const AXElement app = ax_.application(pid);
    ax_.setMessagingTimeout(app, kLookupTimeout);
    const auto focused = ax_.attribute(app, QStringLiteral("AXFocusedWindow")).asElement();
    if (!focused) return std::nullopt;
    ax_.setMessagingTimeout(*focused, kLookupTimeout);
    const auto number = ax_.windowNumber(*focused);
    if (!number || *number == 0) return std::nullopt;
    return number;
}

bool Windows::withAXWindow(int32_t pid, uint32_t id, const std::function<void(const AXElement&)>& body) {
    const AXElement app = ax_.application(pid);
    ax_.setMessagingTimeout(app, kLookupTimeout);
    const auto windows = ax_.attribute(app, kWindows).asElements();
    if (!windows) return false;
    for (const AXElement& w : *windows) {
        ax_.setMessagingTimeout(w, kLookupTimeout);
        if (ax_.windowNumber(w) == id) {
            body(w);
            return true;
        }
    }
    return false;
}

std::vector<WindowInfo> Windows::list() {
    return store_ ? store_->snapshot() : std::vector<WindowInfo>{};
}

void Windows::loadThumbnails(std::vector<WindowInfo> windows, WindowStore::Apply apply,
                             WindowStore::Remove remove) {
    queue_.post(lifetime_.guard(
        [this, windows = std::move(windows), apply = std::move(apply), remove = std::move(remove)] {
            if (store_) store_->refresh(windows, apply, remove);
        }));
}

AXElement Windows::elementFor(const WindowInfo& info) {
    if (info.axWindow) {
        ax_.setMessagingTimeout(info.axWindow, kLookupTimeout);
        // An element kept from an earlier enumeration may now stand for another window.
        if (ax_.windowNumber(info.axWindow) == info.id) return info.axWindow;
    }
    AXElement found;
    withAXWindow(info.pid, info.id, [&](const AXElement& e) { found = e; });
    return found;
}

void Windows::activate(const WindowInfo& info) {
    // Leaving a full-screen window hides its Space, after which it can no longer be captured.
    if (store_) store_->preserveFullscreenPreview();
    if (auto app = workspace_.app(info.pid); app && app->hidden) workspace_.unhide(info.pid);

    AXElement element = elementFor(info);
    if (!element) element = activation_.resolve(info.pid, info.id);

    if (element) {
        if (store_) store_->updateElement(info.id, element);
        if (info.isMinimized) ax_.setAttribute(element, QStringLiteral("AXMinimized"), AXValue::of(false));
    }
    bool focused = false;
    if (platform_.privateServices) {
        if (auto psn = platform_.privateServices->processSerial(info.pid))
            focused = activation_.focus(*psn, info.id);
    }
    if (!focused) workspace_.activate(info.pid);
    if (element) {
        ax_.performAction(element, QStringLiteral("AXRaise"));
        ax_.setAttribute(element, QStringLiteral("AXMain"), AXValue::of(true));
    }
}

} // namespace fenwold
