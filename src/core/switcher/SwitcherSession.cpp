#include "SwitcherSession.h"

#include "MainScreen.h"
#include "core/hints/HintHUD.h"
#include "core/input/InputRoutingState.h"
#include "core/input/Keys.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/settings/Prefs.h"
#include "core/windows/Windows.h"
#include "ports/Workspace.h"

namespace fenwold {

SwitcherSession::SwitcherSession(const Parts& parts, PanelFactory makePanel)
    : p_(parts), makePanel_(std::move(makePanel)) {}

SwitcherSession::~SwitcherSession() {
    zoomRefresh_.cancel();
}

bool SwitcherSession::isLive(uint64_t id) const {
    const SwitcherPhase phase = p_.routing->snapshot().switcherPhase;
    return phase.isSession(id) && phase.kind != SwitcherPhase::Kind::cancelling;
}

void SwitcherSession::open(uint64_t id) {
    if (!isLive(id)) return;
    if (onOpen) onOpen();
    std::vector<WindowInfo> list = p_.windows->list();
    // Reading the list can take a while; Alt may have been released or Esc pressed meanwhile.
    if (!isLive(id)) return;
    if (list.empty()) {
        hide(id);
        return;
    }
    // The first Alt+Tab lands on the previous window.
    const int selection = list.size() >= 2 ? 1 : 0;
    model_.setWindows(std::move(list));
    model_.setSelected(selection);
    // The panel opens where the user is looking and stays there for the session.
    screen_ = pointerScreen(*p_.screens);
    layoutAndShow();
    if (p_.hints)
        p_.hints->show(QStringLiteral("Alt+Tab"),
                       QStringLiteral("⌘ ⇥ ~switches ~apps, ⌘ ` ~cycles ~windows"));
    loadThumbnails(id);
}

void SwitcherSession::loadThumbnails(uint64_t id) {
    p_.windows->loadThumbnails(model_.windows(),
                               lifetime_.guard([this, id](uint32_t windowID, const QImage& image) {
                                   if (isLive(id)) model_.setThumb(windowID, image);
                               }),
                               lifetime_.guard([this, id](uint32_t windowID) { removeBlank(windowID, id); }));
}

void SwitcherSession::move(uint64_t id, int delta) {
    const int n = static_cast<int>(model_.windows().size());
    if (!isLive(id) || n == 0) return;
    model_.setSelected(((model_.selected() + delta) % n + n) % n);
}

void SwitcherSession::commit(uint64_t id) {
    if (!isLive(id)) return;
    std::optional<WindowInfo> chosen;
    if (const WindowInfo* w = model_.selectedWindow()) chosen = *w;
    orderOutAndEmpty();
    std::optional<int32_t> target;
    if (chosen) {
        p_.windows->activate(*chosen);
        // Even a window that could not be activated receives the keys typed meanwhile.
        target = chosen->pid;
    } else if (const auto front = p_.workspace->frontmostApp()) {
        target = front->pid;
    }
    // The forwarder replays the captured keys and then closes the session.
    p_.forwarder->resolve(id, target);
}

void SwitcherSession::cancel(uint64_t id) {
    if (!p_.routing->endSwitcherSession(id)) return;
    orderOutAndEmpty();
}

void SwitcherSession::hide(uint64_t id) {
    if (!p_.routing->endSwitcherSession(id)) return;
    p_.forwarder->clearIfSession(id);
    orderOutAndEmpty();
}

void SwitcherSession::orderOutAndEmpty() {
    zoomRefresh_.cancel();
    if (panel_) panel_->orderOut();
    model_.setWindows({});
}

void SwitcherSession::layoutAndShow() {
    const auto screen = screen_ ? screen_ : pointerScreen(*p_.screens);
    if (!screen) return;
    const Rect& visible = screen->visibleFrame;
    const FlowLayout layout =
        fitToScreen(model_.windows(), 0.85 * visible.width, visible.height, *p_.metrics);
    if (!panel_) {
        panel_ = makePanel_(model_);
        panel_->onAction =
            lifetime_.guard([this](int index, TileAction action) { perform(action, index, std::nullopt); });
    }
    panel_->show(layout.rows, std::nullopt, centredOn(visible, layout.size));
}

void SwitcherSession::perform(TileAction action, int index, std::optional<uint64_t> sessionID) {
    if (!sessionID) {
        const SwitcherPhase phase = p_.routing->snapshot().switcherPhase;
        if (phase.isClosed()) return;
        sessionID = phase.id;
    }
    const uint64_t id = *sessionID;
    if (!isLive(id)) return;
    if (action == TileAction::pick) {
        model_.setSelected(index);
        commit(id);
        return;
    }
    handleTileAction(action, index, model_, *p_.operations, lifetime_.guard([this] { layoutAndShow(); }),
                     lifetime_.guard([this, id] { hide(id); }));
}

void SwitcherSession::removeBlank(uint32_t windowID, uint64_t id) {
    if (!isLive(id) || !model_.removeBlank(windowID)) return;
    if (model_.windows().empty())
        hide(id);
    else
        layoutAndShow();
}

void SwitcherSession::handleKey(uint64_t id, int64_t key, uint64_t /*flags*/) {
    if (!isLive(id)) return;
    if (key == kRight)
        move(id, 1);
    else if (key == kLeft)
        move(id, -1);
    else if (key == kDelete || key == kFwdDelete)
        perform(TileAction::close, model_.selected(), id);
}

void SwitcherSession::changeThumbnailSize(uint64_t id, double delta) {
    if (!isLive(id)) return;
    Metrics& m = *p_.metrics;
    m.preferredThumbH = std::clamp(m.thumbH + 4 * delta, Metrics::kMinThumbH, Metrics::kMaxThumbH);
    Prefs(*p_.prefs).setThumbH(m.preferredThumbH);
    // Tiles resize at once with the images they have; one reload follows the end of a burst.
    layoutAndShow();
    zoomRefresh_.cancel();
    zoomRefresh_ = p_.mainQueue->after(kZoomReloadDelay, lifetime_.guard([this, id] {
        if (isLive(id)) loadThumbnails(id);
    }));
}

std::optional<uint32_t> SwitcherSession::selectedWindowID() {
    if (p_.routing->snapshot().switcherPhase.isClosed()) return std::nullopt;
    if (const WindowInfo* w = model_.selectedWindow()) return w->id;
    return std::nullopt;
}

} // namespace fenwold
