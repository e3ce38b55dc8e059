#include "DragSnapController.h"

#include "SnapAssistController.h"
#include "core/hints/HintHUD.h"
#include "core/settings/ExcludedApps.h"
#include "core/settings/Prefs.h"
#include "core/windows/SnapGeometry.h"
#include "core/windows/Windows.h"
#include "ports/Screens.h"

#include <cmath>

namespace fenwold {

namespace {

// Where the system keeps its own switch for tiling windows dragged to the screen's edges.
const QString kWindowManagerDomain = QStringLiteral("com.apple.WindowManager");
const QString kTilingByEdgeDrag = QStringLiteral("EnableTilingByEdgeDrag");

// Whether a window now at `now` is one at `was` moved along by the pointer's travel (the window
// server moves it by whole points).
bool carriedFrom(const Rect& was, const Rect& now, Point travel) {
    if (was == now || was.size() != now.size()) return false;
    return std::abs(was.x + travel.x - now.x) <= 1 && std::abs(was.y + travel.y - now.y) <= 1;
}

} // namespace

DragSnapController::DragSnapController(const Parts& parts, PanelFactory makePanel)
    : p_(parts), makePanel_(std::move(makePanel)) {}

void DragSnapController::pressed(Point at) {
    buttonDown_ = Prefs(*p_.prefs).dragSnap();
    if (!buttonDown_) return;
    const uint64_t press = presses_.fetch_add(1) + 1;
    pointerX_.store(at.x, std::memory_order_relaxed);
    pointerY_.store(at.y, std::memory_order_relaxed);
    cancelled_.store(false);
    p_.mainQueue->post(lifetime_.guard([this, press, at] { begin(press, at); }));
}

void DragSnapController::dragged(Point at) {
    pointerX_.store(at.x, std::memory_order_relaxed);
    pointerY_.store(at.y, std::memory_order_relaxed);
}

void DragSnapController::released(Point at) {
    if (!std::exchange(buttonDown_, false)) return;
    dragged(at);
    const uint64_t press = presses_.load();
    p_.mainQueue->post(lifetime_.guard([this, press, at] { end(press, at); }));
}

bool DragSnapController::escape() {
    if (!tracking_.load() || cancelled_.exchange(true)) return false;
    p_.mainQueue->post(lifetime_.guard([this] { hideOutline(); }));
    return true;
}

void DragSnapController::abandon() {
    if (!std::exchange(buttonDown_, false)) return;
    const uint64_t press = presses_.load();
    p_.mainQueue->post(lifetime_.guard([this, press] { end(press, std::nullopt); }));
}

bool DragSnapController::systemTilesDrags() const {
    if (p_.macOSMajorVersion < 15) return false;
    const QVariant value = Prefs(*p_.prefs).store().readDomain(kWindowManagerDomain, kTilingByEdgeDrag);
    // The system's setting is on until the user turns it off.
    return !value.isValid() || value.toBool();
}

void DragSnapController::begin(uint64_t press, Point at) {
    stop();
    if (!Prefs(*p_.prefs).dragSnap() || systemTilesDrags()) return;
    // The window server may have carried the window on before this turn of the main thread, as
    // far as the pointer has travelled since the press.
    const Point now{pointerX_.load(std::memory_order_relaxed), pointerY_.load(std::memory_order_relaxed)};
    auto hit = p_.windows->titlebarHitWithBounds(at);
    if (!hit) {
        // The pressed point of the title bar is under the pointer now.
        hit = p_.windows->titlebarHitWithBounds(now);
        if (!hit) return;
        hit->second = hit->second.offsetBy(at.x - now.x, at.y - now.y);
    }
    const auto& [window, bounds] = *hit;
    if (ExcludedApps(*p_.prefs).containsApp(window.pid, *p_.workspace)) return;
    // What the program's snap left, read before anything sees the window move and forgets it.
    std::optional<Windows::SnapRecord> snapped;
    // Compared with the bounds at the press: the window may have moved since.
    if (const auto it = p_.windows->snapMemory().find(window.id);
        it != p_.windows->snapMemory().end() && it->second.rect.size() == bounds.size())
        snapped = it->second;
    // Carried only a little, the window is still under the pressed point, and only the snap's
    // record still says where it was picked up.
    const Rect picked =
        snapped && carriedFrom(snapped->rect, bounds, {now.x - at.x, now.y - at.y}) ? snapped->rect : bounds;
    drag_ = Drag{.press = press,
                 .window = window,
                 .picked = picked,
                 .grab = {at.x - picked.x, at.y - picked.y},
                 .original = picked,
                 .zone = std::nullopt,
                 .zoneSince = 0,
                 .snapped = snapped};
    tracking_.store(true);
    ticker_ = p_.mainQueue->every(kTick, kTick / 4, lifetime_.guard([this] { tick(); }));
}

void DragSnapController::tick() {
    if (!drag_) return;
    follow({pointerX_.load(std::memory_order_relaxed), pointerY_.load(std::memory_order_relaxed)});
}

void DragSnapController::follow(Point pointer) {
    if (cancelled_.load()) return hideOutline();
    if (!drag_->moving) {
        const auto now = p_.windows->axFrame(drag_->window.pid, drag_->window.id);
        if (!now) return stop();
        // A press on the title bar that does not move the window (a click, a drag the
        // application keeps for itself) is no window drag.
        if (now->origin() == drag_->picked.origin()) return;
        drag_->moving = true;
        restoreUnderPointer(pointer, *now);
    }
    const auto zone = zoneAt(pointer);
    const double now = p_.mainQueue->uptime();
    if (zone != drag_->zone) {
        drag_->zone = zone;
        drag_->zoneSince = now;
    }
    if (!zone) return hideOutline();
    if (now - drag_->zoneSince >= kRest && outlined_ != zone) showOutline(*zone);
}

void DragSnapController::restoreUnderPointer(Point pointer, const Rect& now) {
    const auto& [pid, id] = drag_->window;
    // Only where the window still was as the snap left it when it was picked up: moved or
    // resized since, it is the user's size.
    if (!drag_->snapped || drag_->snapped->rect.size() != now.size()) return;
    p_.windows->takeSnapRecord(id);
    const Rect original = drag_->snapped->original;
    const double share = drag_->picked.width > 0 ? drag_->grab.x / drag_->picked.width : 0.5;
    const Rect restored{pointer.x - share * original.width, pointer.y - drag_->grab.y, original.width,
                        original.height};
    p_.windows->setAXFrame(pid, id, restored);
    drag_->original = restored;
}

void DragSnapController::end(uint64_t press, std::optional<Point> at) {
    if (!drag_ || drag_->press != press) return;
    if (at && !cancelled_.load()) follow(*at);
    const Drag drag = *drag_;
    stop();
    if (!at || cancelled_.load() || !drag.moving) return;
    const auto zone = zoneAt(*at);
    if (!zone) return;
    const auto screens = p_.screens->screens();
    p_.windows->snap(zone->snap, drag.window, screens.at(static_cast<std::size_t>(zone->display)),
                     drag.original);
    if (p_.hints)
        p_.hints->show(QStringLiteral("Drag to an edge"), QStringLiteral("~hover ~over ~the ~green ~button"));
    if (!p_.assist || !Prefs(*p_.prefs).snapAssist()) return;
    p_.assist->offer(dragzones::restAfter(zone->snap), drag.window.id);
}

void DragSnapController::stop() {
    ticker_.cancel();
    ticker_ = TimerHandle();
    drag_.reset();
    tracking_.store(false);
    hideOutline();
}

std::optional<DragZone> DragSnapController::zoneAt(Point pointerAX) const {
    const auto screens = p_.screens->screens();
    if (screens.empty()) return std::nullopt;
    // The pointer stands on a pixel: the top row of the primary display is its last row in screen
    // coordinates.
    const double H = screens.front().frame.maxY();
    return dragzones::zoneAt(screens, {pointerAX.x, H - 1 - pointerAX.y});
}

void DragSnapController::showOutline(const DragZone& zone) {
    const auto screens = p_.screens->screens();
    if (static_cast<std::size_t>(zone.display) >= screens.size()) return;
    if (!panel_) panel_ = makePanel_();
    panel_->show(
        snapgeometry::snapRect(zone.snap, screens[static_cast<std::size_t>(zone.display)].visibleFrame));
    outlined_ = zone;
}

void DragSnapController::hideOutline() {
    if (!outlined_) return;
    outlined_.reset();
    if (panel_) panel_->orderOut();
}

} // namespace fenwold
