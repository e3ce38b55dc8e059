#include "SnapAssistController.h"

#include "core/input/InputRoutingState.h"
#include "core/input/Keys.h"
#include "core/switcher/MainScreen.h"
#include "core/windows/SnapGeometry.h"
#include "core/windows/Windows.h"
#include "ports/MainQueue.h"

#include <algorithm>

namespace fenwold {

SnapAssistController::SnapAssistController(const Parts& parts, PanelFactory makePanel)
    : p_(parts), makePanel_(std::move(makePanel)) {}

bool SnapAssistController::handleKey(int64_t key, bool shift) {
    auto later = [this](auto work) { p_.mainQueue->post(lifetime_.guard(std::move(work))); };
    switch (key) {
    case kReturn:
    case kKeypadEnter:
        later([this] { pick(model_.selected()); });
        return true;
    case kTab:
        later([this, shift] { move(shift ? -1 : 1); });
        return true;
    case kEsc:
        later([this] { close(); });
        return true;
    case kLeft:
        later([this] { move(-1); });
        return true;
    case kRight:
        later([this] { move(1); });
        return true;
    default:
        // Typing elsewhere dismisses the picker; the key goes on as if it had not been open.
        dismiss();
        return false;
    }
}

void SnapAssistController::dismiss() {
    p_.mainQueue->post(lifetime_.guard([this] { close(); }));
}

void SnapAssistController::show(bool snappedLeft, uint32_t snappedWindowID) {
    show(snappedLeft ? WindowSnap::left : WindowSnap::right, snappedWindowID);
}

void SnapAssistController::show(WindowSnap snapped, uint32_t snappedWindowID) {
    if (snapped == WindowSnap::left)
        offer({WindowSnap::right}, snappedWindowID);
    else if (snapped == WindowSnap::right)
        offer({WindowSnap::left}, snappedWindowID);
}

void SnapAssistController::offer(std::vector<WindowSnap> zones, uint32_t snappedWindowID) {
    ++offers_;
    zones_ = std::move(zones);
    placed_ = {snappedWindowID};
    // The zones are those of the snapped window's own display.
    screen_.reset();
    std::vector<WindowInfo> windows = p_.windows->list();
    for (const WindowInfo& w : windows) {
        if (w.id != snappedWindowID) continue;
        if (const auto frame = p_.windows->axFrame(w.pid, w.id)) screen_ = p_.windows->screen(*frame);
        break;
    }
    if (!screen_) screen_ = mainScreen(*p_.screens);
    offerNext(std::move(windows));
}

void SnapAssistController::offerNext(std::vector<WindowInfo> others) {
    std::erase_if(others, [&](const WindowInfo& w) { return std::ranges::count(placed_, w.id) > 0; });
    if (zones_.empty() || others.empty() || !screen_) {
        close();
        return;
    }

    model_.setWindows(std::move(others));
    model_.setSelected(0);
    p_.routing->setSnapAssistOpen(true);
    relayout();

    const auto isOpen = [this] { return p_.routing->snapshot().snapAssistOpen; };
    p_.windows->loadThumbnails(model_.windows(),
                               lifetime_.guard([this, isOpen](uint32_t id, const QImage& image) {
                                   if (isOpen()) model_.setThumb(id, image);
                               }),
                               lifetime_.guard([this, isOpen](uint32_t id) {
                                   if (!isOpen() || !model_.removeBlank(id)) return;
                                   if (model_.windows().empty())
                                       close();
                                   else
                                       relayout();
                               }));
}

void SnapAssistController::close() {
    p_.routing->setSnapAssistOpen(false);
    if (panel_) panel_->orderOut();
    model_.setWindows({});
    zones_.clear();
}

void SnapAssistController::relayout() {
    if (!screen_ || zones_.empty()) return;
    const Rect area = snapgeometry::snapRect(zones_.front(), screen_->visibleFrame);
    const FlowLayout layout = fitToScreen(model_.windows(), 0.9 * area.width, area.height, *p_.metrics);
    if (!panel_) {
        panel_ = makePanel_(model_);
        panel_->onAction =
            lifetime_.guard([this](int index, TileAction action) { tileAction(index, action); });
    }
    // A grid too large for a narrow zone still stays on the display where it can.
    const Rect& v = screen_->visibleFrame;
    Rect frame = centredOn(area, layout.size);
    frame.x = std::clamp(frame.x, v.minX(), std::max(v.minX(), v.maxX() - frame.width));
    frame.y = std::clamp(frame.y, v.minY(), std::max(v.minY(), v.maxY() - frame.height));
    panel_->show(layout.rows, std::nullopt, frame);
}

void SnapAssistController::move(int step) {
    const int n = static_cast<int>(model_.windows().size());
    if (n == 0) return;
    model_.setSelected(((model_.selected() + step) % n + n) % n);
}

void SnapAssistController::pick(int index) {
    if (zones_.empty() || index < 0 || index >= static_cast<int>(model_.windows().size())) return;
    const WindowInfo chosen = model_.windows()[static_cast<std::size_t>(index)];
    const WindowSnap zone = zones_.front();
    std::vector<WindowSnap> rest(zones_.begin() + 1, zones_.end());
    close();
    placed_.push_back(chosen.id);
    p_.mainQueue->post(lifetime_.guard(
        [this, chosen, zone, rest = std::move(rest), display = screen_, offer = offers_]() mutable {
            p_.windows->activate(chosen);
            // Leaves native full screen first and snaps once the window is out of it.
            p_.windows->snap(zone, WindowTarget{chosen.pid, chosen.id}, display);
            // The layout's next empty zone, unless another snap has started an offer of its own.
            if (rest.empty() || offer != offers_) return;
            zones_ = std::move(rest);
            offerNext(p_.windows->list());
        }));
}

void SnapAssistController::tileAction(int index, TileAction action) {
    // The grid only picks; the window buttons just dismiss it.
    if (action == TileAction::pick)
        pick(index);
    else
        close();
}

} // namespace fenwold
