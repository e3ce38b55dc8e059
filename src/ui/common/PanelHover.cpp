#include "PanelHover.h"

#include "PanelHost.h"
#include "WrappedPanel.h"
#include "ports/MainQueue.h"
#include "ports/Screens.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <vector>

namespace fenwold {

namespace {

// Once a tooltip shows, the next one follows the pointer almost at once, as Qt's own do.
constexpr double kNextTooltipDelay = 0.02;

struct Followed {
    const FloatingPanel* key; // the panel handed out
    FloatingPanel* panel;     // the panel it wraps
    QPointer<QWidget> content;
    bool shown = false;
};

bool holds(const std::vector<QPointer<QWidget>>& chain, const QWidget* widget) {
    return std::any_of(chain.begin(), chain.end(),
                       [widget](const QPointer<QWidget>& w) { return w == widget; });
}

// Qt's own pointer events for the followed panels: while the program is the active application
// a Mac's tracking areas send them too, beside the monitors' (and a desktop's window system may
// always). Dropped, so that the panels get one stream, the monitors'.
class QtPointerFilter final : public QObject {
public:
    explicit QtPointerFilter(std::function<bool(QObject*)> drops) : drops_(std::move(drops)) {
        qApp->installEventFilter(this);
    }
    ~QtPointerFilter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        const bool pointerOnly =
            type == QEvent::Enter || type == QEvent::Leave || type == QEvent::HoverEnter ||
            type == QEvent::HoverMove || type == QEvent::HoverLeave || type == QEvent::ToolTip ||
            (type == QEvent::MouseMove && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton);
        return pointerOnly && drops_(watched);
    }

private:
    std::function<bool(QObject*)> drops_;
};

} // namespace

struct PanelHover::State {
    State(Screens& s, MainQueue& q, const PanelHost& h) : screens(s), queue(q), host(h) {}

    void shown(const FloatingPanel* key);
    void hidden(const FloatingPanel* key);
    void forget(const FloatingPanel* key);
    // The monitors run while a followed panel is ordered front.
    void watch();
    void moved();
    // The pointer is over `widget` (of the panel's `content`) at `local`, or over no panel.
    void hover(QWidget* widget, QWidget* content, QPointF local, QPointF global);
    void showTooltip();
    // The cursor the widget under the pointer asks for (a text field's I-beam), or none.
    void setCursor(QWidget* widget, QWidget* content);

    Screens& screens;
    MainQueue& queue;
    const PanelHost& host;
    std::weak_ptr<State> self;
    std::vector<Followed> panels;
    Subscription monitor;
    std::unique_ptr<QtPointerFilter> qtPointer; // while the monitors run
    std::vector<QPointer<QWidget>> under;       // innermost first, up to the panel's content
    QPointF local;                              // in the innermost widget
    QPointF global;
    TimerHandle tooltip;
    int delivering = 0;
    std::optional<PointerCursor> cursor; // the one this object set, while it is set
};

namespace {

// The panel as it was, telling the hover when it is ordered front and out.
class FollowedPanel final : public WrappedPanel {
public:
    FollowedPanel(std::unique_ptr<FloatingPanel> panel, std::weak_ptr<PanelHover::State> state)
        : WrappedPanel(std::move(panel)), state_(std::move(state)) {}
    ~FollowedPanel() override {
        if (auto state = state_.lock()) state->forget(this);
    }

    void orderFront() override {
        WrappedPanel::orderFront();
        if (auto state = state_.lock()) state->shown(this);
    }
    void orderOut() override {
        if (auto state = state_.lock()) state->hidden(this);
        WrappedPanel::orderOut();
    }

private:
    std::weak_ptr<PanelHover::State> state_;
};

} // namespace

PanelHover::PanelHover(Screens& screens, MainQueue& queue, const PanelHost& host)
    : state_(std::make_shared<State>(screens, queue, host)) {
    state_->self = state_;
}

PanelHover::~PanelHover() {
    state_->tooltip.cancel();
    if (state_->cursor) state_->screens.setCursor(PointerCursor::arrow);
    state_->qtPointer.reset();
}

std::unique_ptr<FloatingPanel> PanelHover::follow(std::unique_ptr<FloatingPanel> panel, QWidget& content) {
    FloatingPanel* inner = panel.get();
    auto followed = std::make_unique<FollowedPanel>(std::move(panel), state_);
    state_->panels.push_back({followed.get(), inner, &content, false});
    return followed;
}

QWidget* PanelHover::hovered() const {
    return state_->under.empty() ? nullptr : state_->under.front().data();
}

bool PanelHover::delivering() const {
    return state_->delivering > 0;
}

bool PanelHover::isUnder(const QWidget& widget) const {
    return holds(state_->under, &widget);
}

void PanelHover::State::shown(const FloatingPanel* key) {
    for (Followed& f : panels)
        if (f.key == key) f.shown = true;
    watch();
}

void PanelHover::State::hidden(const FloatingPanel* key) {
    for (Followed& f : panels) {
        if (f.key != key) continue;
        f.shown = false;
        // What the pointer was over in it is left now, not at the next move.
        if (!under.empty() && under.back() == f.content) hover(nullptr, nullptr, {}, {});
    }
    watch();
}

void PanelHover::State::forget(const FloatingPanel* key) {
    hidden(key);
    panels.erase(
        std::remove_if(panels.begin(), panels.end(), [key](const Followed& f) { return f.key == key; }),
        panels.end());
}

void PanelHover::State::watch() {
    const bool any = std::any_of(panels.begin(), panels.end(), [](const Followed& f) { return f.shown; });
    if (!any) {
        monitor.reset();
        qtPointer.reset();
        return;
    }
    if (monitor.active()) return;
    qtPointer = std::make_unique<QtPointerFilter>([this](QObject* watched) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (delivering || !widget) return false;
        const bool followed = std::any_of(panels.begin(), panels.end(), [widget](const Followed& f) {
            return f.shown && f.content && (f.content == widget || f.content->isAncestorOf(widget));
        });
        // Qt marks a widget it enters before telling it; what the pointer is over is ours.
        if (followed) widget->setAttribute(Qt::WA_UnderMouse, holds(under, widget));
        return followed;
    });
    monitor = screens.observeMouseMoved([weak = self] {
        if (auto state = weak.lock()) state->moved();
    });
}

void PanelHover::State::moved() {
    if (delivering) return; // a move that our own delivery caused
    const Point pointer = screens.pointerLocation();
    // The window server says which window the pointer is over: a panel under a menu or under
    // another application's window is not hovered. Where the panel is now, not where it is
    // sliding to, tells the point inside it.
    const int64_t window = screens.windowNumberAt(pointer);
    const auto over = std::find_if(panels.begin(), panels.end(), [&](const Followed& f) {
        return f.shown && f.content && window != 0 && f.panel->isVisible() &&
               f.panel->windowNumber() == window;
    });
    const Rect frame = over == panels.end() ? Rect{} : over->panel->currentFrame();
    if (over == panels.end() || !frame.contains(pointer)) {
        hover(nullptr, nullptr, {}, {});
        return;
    }
    QWidget* content = over->content;
    const QPoint at = host.toWidget(Rect{pointer.x, pointer.y, 0, 0}).topLeft();
    const QPoint inContent = at - host.toWidget(frame).topLeft();
    QWidget* widget = content->childAt(inContent);
    if (!widget) widget = content;
    hover(widget, content, widget->mapFrom(content, QPointF(inContent)),
          content->mapToGlobal(QPointF(inContent)));
}

void PanelHover::State::hover(QWidget* target, QWidget* content, QPointF at, QPointF globalAt) {
    QPointer<QWidget> widget = target;
    std::vector<QPointer<QWidget>> chain;
    for (QWidget* w = target; w; w = w == content ? nullptr : w->parentWidget())
        chain.push_back(w);
    const std::vector<QPointer<QWidget>> before = std::exchange(under, chain);
    const QPointF globalBefore = std::exchange(global, globalAt);
    local = at;
    ++delivering;
    // Left first, innermost first; then entered, outermost first: as Qt orders them.
    for (const QPointer<QWidget>& w : before) {
        if (!w || holds(chain, w)) continue;
        w->setAttribute(Qt::WA_UnderMouse, false);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, &leave);
        if (w && w->testAttribute(Qt::WA_Hover)) {
            QHoverEvent hoverLeave(QEvent::HoverLeave, QPointF(-1, -1), globalAt,
                                   w->mapFromGlobal(globalBefore));
            QCoreApplication::sendEvent(w, &hoverLeave);
        }
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const QPointer<QWidget> w = *it;
        if (!w || !widget || holds(before, w)) continue;
        const QPointF inside = widget->mapTo(w, at);
        w->setAttribute(Qt::WA_UnderMouse, true);
        QEnterEvent enter(inside, widget->mapTo(widget->window(), at), globalAt);
        QCoreApplication::sendEvent(w, &enter);
        if (w && w->testAttribute(Qt::WA_Hover)) {
            QHoverEvent hoverEnter(QEvent::HoverEnter, inside, globalAt, QPointF(-1, -1));
            QCoreApplication::sendEvent(w, &hoverEnter);
        }
    }
    setCursor(widget, content);
    if (widget) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapTo(widget->window(), at), globalAt, Qt::NoButton,
                         Qt::NoButton, QGuiApplication::keyboardModifiers());
        QCoreApplication::sendEvent(widget, &move);
    }
    --delivering;

    // A pointer that rests gets the tooltip of what it rests on, after Qt's delay.
    tooltip.cancel();
    if (!widget) return;
    const double delay =
        QToolTip::isVisible()
            ? kNextTooltipDelay
            : widget->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, widget) / 1000.0;
    tooltip = queue.after(delay, [weak = self] {
        if (auto state = weak.lock()) state->showTooltip();
    });
}

void PanelHover::State::setCursor(QWidget* widget, QWidget* content) {
    // Qt's views set the cursor over themselves only while the application is active
    // (-[QNSView cursorUpdate:] returns otherwise), so the hover shows the one they ask for.
    QWidget* shaped = widget;
    while (shaped && !shaped->testAttribute(Qt::WA_SetCursor) && shaped != content)
        shaped = shaped->parentWidget();
    const Qt::CursorShape shape =
        shaped && shaped->testAttribute(Qt::WA_SetCursor) ? shaped->cursor().shape() : Qt::ArrowCursor;
    std::optional<PointerCursor> wanted;
    if (shape == Qt::IBeamCursor) wanted = PointerCursor::iBeam;
    if (shape == Qt::PointingHandCursor) wanted = PointerCursor::pointingHand;
    if (wanted == cursor) return;
    // Leaving a shaped widget puts the arrow back once; elsewhere the cursor is not ours to set.
    screens.setCursor(wanted.value_or(PointerCursor::arrow));
    cursor = wanted;
}

void PanelHover::State::showTooltip() {
    QWidget* widget = under.empty() ? nullptr : under.front().data();
    if (!widget) return;
    ++delivering;
    // Qt offers the request to the widget and then to its parents until one shows a tooltip.
    QHelpEvent help(QEvent::ToolTip, local.toPoint(), global.toPoint());
    QCoreApplication::sendEvent(widget, &help);
    --delivering;
}

} // namespace fenwold
