#include "SnapLayoutController.h"

#include "SnapAssistController.h"
#include "core/input/InputRoutingState.h"
#include "core/input/Keys.h"
#include "core/settings/Prefs.h"
#include "core/windows/SnapGeometry.h"
#include "core/windows/Windows.h"
#include "ports/MainQueue.h"

#include <algorithm>

namespace fenwold {

namespace {
constexpr double kBelowTitleBar = 36; // from the window's top edge
constexpr double kScreenMargin = 8;
} // namespace

SnapLayoutController::SnapLayoutController(const Parts& parts, PanelFactory makePanel)
    : p_(parts), makePanel_(std::move(makePanel)) {}

bool SnapLayoutController::handleKey(int64_t key, bool shift) {
    auto later = [this](auto work) { p_.mainQueue->post(lifetime_.guard(std::move(work))); };
    if (const auto n = digitOfKey(key)) {
        later([this, n = *n] { digit(n); });
        return true;
    }
    switch (key) {
    case kReturn:
    case kKeypadEnter:
        later([this] { pick(state_.layout, state_.zone); });
        return true;
    case kTab:
        later([this, shift] { move(shift ? -1 : 1); });
        return true;
    case kLeft:
    case kRight:
        later([this, key] { move(key == kRight ? 1 : -1); });
        return true;
    case kUp:
    case kDown:
        later([this, key] { moveRow(key == kDown ? 1 : -1); });
        return true;
    case kEsc:
        later([this] { close(); });
        return true;
    default:
        // Typing elsewhere dismisses the panel; the key still reaches the application.
        later([this] { close(); });
        return false;
    }
}

void SnapLayoutController::show() {
    if (isOpen()) {
        close();
        return;
    }
    const auto front = p_.windows->frontmostWindow();
    const auto frame = front ? p_.windows->axFrame(front->pid, front->id) : std::nullopt;
    const auto screen = frame ? p_.windows->screen(*frame) : std::nullopt;
    const auto screens = p_.screens->screens();
    if (!screen || screens.empty()) return;
    target_ = front;
    screen_ = screen;
    const Rect& v = screen->visibleFrame;
    state_ = SnapLayoutState{snapLayouts(), v.height > 0 ? v.width / v.height : 16.0 / 10.0, 0, 0, false};

    if (!panel_) {
        panel_ = makePanel_();
        panel_->onPick = lifetime_.guard([this](int layout, int zone) { pick(layout, zone); });
        // Not from inside the panel's click monitor, which closing ends.
        panel_->onClickOutside =
            lifetime_.guard([this] { p_.mainQueue->post(lifetime_.guard([this] { close(); })); });
    }
    // Centred over the window just below its title bar, and kept inside its display.
    const double H = screens.front().frame.maxY();
    const Size size = panel_->measure(state_);
    const Rect visibleAX = snapgeometry::toAX(v, H);
    const auto inside = [](double at, double low, double high, double length) {
        return std::clamp(at, low + kScreenMargin,
                          std::max(low + kScreenMargin, high - kScreenMargin - length));
    };
    const double x = inside(frame->midX() - size.width / 2, visibleAX.minX(), visibleAX.maxX(), size.width);
    const double y = inside(frame->minY() + kBelowTitleBar, visibleAX.minY(), visibleAX.maxY(), size.height);
    frame_ = snapgeometry::toAX(Rect{x, y, size.width, size.height}, H);
    p_.routing->setSnapLayoutsOpen(true);
    panel_->show(state_, frame_);
}

void SnapLayoutController::close() {
    target_.reset();
    screen_.reset();
    p_.routing->setSnapLayoutsOpen(false);
    if (panel_) panel_->orderOut();
}

int SnapLayoutController::zoneCount(int layout) const {
    if (layout < 0 || layout >= static_cast<int>(state_.layouts.size())) return 0;
    return static_cast<int>(state_.layouts[static_cast<std::size_t>(layout)].zones.size());
}

void SnapLayoutController::select(int layout, int zone) {
    state_.layout = layout;
    state_.zone = zone;
    if (panel_) panel_->show(state_, frame_);
}

void SnapLayoutController::move(int step) {
    if (!isOpen() || state_.layouts.empty()) return;
    // All zones of all layouts in one ring, layout after layout.
    int total = 0, position = 0;
    for (int l = 0; l < static_cast<int>(state_.layouts.size()); ++l) {
        if (l == state_.layout) position = total + state_.zone;
        total += zoneCount(l);
    }
    position = ((position + step) % total + total) % total;
    for (int l = 0;; ++l) {
        if (position < zoneCount(l)) return select(l, position);
        position -= zoneCount(l);
    }
}

void SnapLayoutController::moveRow(int step) {
    if (!isOpen() || state_.layouts.empty()) return;
    const int n = static_cast<int>(state_.layouts.size());
    const int rows = (n + kSnapLayoutsPerRow - 1) / kSnapLayoutsPerRow;
    const int column = state_.layout % kSnapLayoutsPerRow;
    int row = state_.layout / kSnapLayoutsPerRow;
    // Up and down wrap round; a short last row is skipped where it has no layout in this column.
    do
        row = ((row + step) % rows + rows) % rows;
    while (row * kSnapLayoutsPerRow + column >= n);
    const int layout = row * kSnapLayoutsPerRow + column;
    select(layout, std::min(state_.zone, zoneCount(layout) - 1));
}

void SnapLayoutController::digit(int n) {
    if (!isOpen()) return;
    if (!state_.numberingZones) {
        if (n < 1 || n > static_cast<int>(state_.layouts.size())) return;
        state_.numberingZones = true;
        select(n - 1, 0);
        return;
    }
    if (n >= 1 && n <= zoneCount(state_.layout)) pick(state_.layout, n - 1);
}

void SnapLayoutController::pick(int layout, int zone) {
    if (!isOpen() || zone < 0 || zone >= zoneCount(layout)) return;
    const std::vector<WindowSnap> zones = state_.layouts[static_cast<std::size_t>(layout)].zones;
    const WindowSnap chosen = zones[static_cast<std::size_t>(zone)];
    const WindowTarget window = *target_;
    const ScreenInfo display = *screen_;
    close();
    p_.mainQueue->post(lifetime_.guard([this, zones, chosen, window, display] {
        p_.windows->snap(chosen, window, display);
        if (!p_.assist || !Prefs(*p_.prefs).snapAssist()) return;
        std::vector<WindowSnap> rest = zones;
        std::erase(rest, chosen);
        p_.assist->offer(std::move(rest), window.id);
    }));
}

} // namespace fenwold
