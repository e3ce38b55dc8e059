#include "DockClick.h"

#include "PeekController.h"
#include "core/settings/ExcludedApps.h"
#include "core/settings/Prefs.h"
#include "core/windows/Windows.h"
#include "ports/KeyCodes.h"
#include "ports/Screens.h"
#include "ports/Workspace.h"

#include <algorithm>
#include <utility>

namespace fenwold {

namespace {

// Control, Option and Command clicks keep the Dock's meaning (its menu, hiding the others,
// showing the application in Finder); Shift takes every window.
constexpr uint64_t kDockModifiers = flag::control | flag::option | flag::command;

} // namespace

bool DockClick::wanted(uint64_t flags) const {
    return !(flags & kDockModifiers) && Prefs(*p_.prefs).dockMinimizes();
}

bool DockClick::mayTake(Point at, uint64_t flags) {
    return wanted(flags) && p_.peek->dockArea().contains(at);
}

bool DockClick::takes(Point at, uint64_t flags) {
    pending_.reset();
    if (!wanted(flags)) return false;
    const auto screens = p_.screens->screens();
    if (screens.empty()) return false;
    const auto target = p_.peek->dockItemAt({at.x, screens.front().frame.maxY() - at.y});
    if (!target || target->kind != DockTarget::Kind::app) return false;
    const int32_t pid = target->pid;
    if (ExcludedApps(*p_.prefs).containsApp(pid, *p_.workspace)) return false;
    std::vector<WindowInfo> windows = p_.windows->list();
    std::erase_if(windows, [pid](const WindowInfo& w) { return w.pid != pid; });
    // No window: the Dock opens one, or does what the application asks.
    if (windows.empty()) return false;
    const auto minimized = [](const WindowInfo& w) { return w.isMinimized; };
    if (std::all_of(windows.begin(), windows.end(), minimized)) {
        // The one minimised here last, else the last the list names.
        auto restore = windows.end() - 1;
        for (const uint32_t id : minimized_[pid]) {
            const auto it = std::find_if(windows.begin(), windows.end(),
                                         [id](const WindowInfo& w) { return w.id == id; });
            if (it != windows.end()) restore = it;
        }
        pending_ = Pending{Action::restore, pid, {*restore}};
        return true;
    }
    const auto app = p_.workspace->app(pid);
    if (p_.workspace->frontmostPid() != pid || !app || app->hidden) return false;
    std::erase_if(windows, minimized);
    if (flags & flag::shift) {
        pending_ = Pending{Action::minimizeAll, pid, std::move(windows)};
        return true;
    }
    const auto focused = p_.windows->focusedWindowID(pid);
    const auto front = std::find_if(windows.begin(), windows.end(),
                                    [&](const WindowInfo& w) { return focused && w.id == *focused; });
    // The front window is on another Space or not an ordinary one: the Dock's click.
    if (front == windows.end()) return false;
    pending_ = Pending{Action::minimizeFront, pid, {*front}};
    return true;
}

void DockClick::clicked() {
    const auto pending = std::exchange(pending_, std::nullopt);
    if (!pending) return;
    std::vector<uint32_t>& minimized = minimized_[pending->pid];
    if (pending->action == Action::restore) {
        const WindowInfo& window = pending->windows.front();
        std::erase(minimized, window.id);
        p_.windows->activate(window);
        return;
    }
    for (const WindowInfo& w : pending->windows) {
        p_.windows->minimize(w);
        std::erase(minimized, w.id);
        minimized.push_back(w.id);
    }
}

} // namespace fenwold
