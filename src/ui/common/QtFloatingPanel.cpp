#include "QtFloatingPanel.h"

#include "FreeMemory.h"
#include "PanelHost.h"

#include <QApplication>
#include <QBackingStore>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace fenwold {

bool isPartOfWindow(const QWidget& window, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) {
        auto* handle = qobject_cast<QWindow*>(object);
        return handle && window.windowHandle() == handle;
    }
    // Up through the parents, and from a menu to the widget that opened it: menus opened from the
    // window are windows of their own but part of it. A panel that is a child widget (of the
    // playground's screen) is its own "window" here, so the walk stops only at another window.
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == &window) return true;
        if (w->isWindow() && !(w->windowFlags() & Qt::Popup)) return false;
    }
    return false;
}

Subscription monitorPanelClicks(FloatingPanel& panel, const QWidget& content,
                                std::function<void(bool inPanel)> handler) {
    return panel.monitorClicks([&content, handler = std::move(handler)](QWidget* landedIn) {
        handler(landedIn && isPartOfWindow(content, landedIn));
    });
}

QtFloatingPanel::QtFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host)
    : content_(content), style_(style), host_(host) {
    animation_ = new QVariantAnimation(this);
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
}

QtFloatingPanel::~QtFloatingPanel() = default;

void QtFloatingPanel::setFrame(const Rect& frame) {
    animation_->stop();
    frame_ = frame;
    content_.setGeometry(host_.toWidget(frame));
}

Rect QtFloatingPanel::currentFrame() const {
    // The widget is where the panel is now; the host's frames are flipped (y up) from it.
    const QRect to = host_.toWidget(frame_);
    const QRect now = content_.geometry();
    return {frame_.x + (now.x() - to.x()), frame_.maxY() - (now.y() - to.y()) - now.height(),
            double(now.width()), double(now.height())};
}

void QtFloatingPanel::animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                              std::function<void()> completion) {
    animation_->stop();
    animation_->disconnect(this);
    const QRect from = content_.geometry();
    const QRect to = host_.toWidget(frame);
    const double fromAlpha = this->alpha();
    frame_ = frame;
    // A host on a virtual clock shows end states: nothing would run Qt's animation.
    if (seconds <= 0 || !host_.animates()) {
        content_.setGeometry(to);
        setAlpha(alpha);
        if (completion) completion();
        return;
    }
    animation_->setDuration(qRound(seconds * 1000));
    animation_->setEasingCurve(easeOut ? QEasingCurve::OutCubic : QEasingCurve::InCubic);
    connect(animation_, &QVariantAnimation::valueChanged, this,
            [this, from, to, fromAlpha, alpha](const QVariant& v) {
                const double t = v.toDouble();
                const auto mix = [t](int a, int b) { return qRound(a + (b - a) * t); };
                content_.setGeometry(mix(from.x(), to.x()), mix(from.y(), to.y()),
                                     mix(from.width(), to.width()), mix(from.height(), to.height()));
                setAlpha(fromAlpha + (alpha - fromAlpha) * t);
            });
    connect(animation_, &QVariantAnimation::finished, this, [completion] {
        if (completion) completion();
    });
    animation_->start();
}

void QtFloatingPanel::orderFront() {
    content_.show();
    content_.raise();
    if (style_.takesKeys) content_.activateWindow();
}

void QtFloatingPanel::orderOut() {
    content_.hide();
}

bool QtFloatingPanel::isVisible() const {
    return content_.isVisible();
}

bool QtFloatingPanel::isKeyWindow() const {
    return style_.takesKeys && content_.isVisible() && content_.isActiveWindow();
}

Subscription QtFloatingPanel::monitorClicks(std::function<void(QWidget*)> handler) {
    return host_.observeClicks(std::move(handler));
}

DesktopFloatingPanel::DesktopFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host)
    : QtFloatingPanel(content, style, host) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!style.takesKeys) flags |= Qt::WindowDoesNotAcceptFocus;
    if (style.ignoresMouse) flags |= Qt::WindowTransparentForInput;
    content.setWindowFlags(flags);
    content.setAttribute(Qt::WA_ShowWithoutActivating);
    content.hide(); // new window flags show nothing until ordered front
    givePixelsBack_ = new QTimer(this);
    givePixelsBack_->setSingleShot(true);
    givePixelsBack_->setInterval(keepsPixelsMilliseconds);
    connect(givePixelsBack_, &QTimer::timeout, this, [this] {
        // Qt's widgets size the store to the window again, and draw all of it, before they next
        // paint into it. The program has gone quiet with the panel: what the allocator keeps
        // free from drawing it goes back too.
        if (QBackingStore* store = content_.backingStore(); store && !content_.isVisible()) {
            store->resize(QSize());
            returnFreeMemory();
        }
    });
}

void DesktopFloatingPanel::orderOut() {
    QtFloatingPanel::orderOut();
    givePixelsBack_->start();
}

void DesktopFloatingPanel::setAlpha(double alpha) {
    content_.setWindowOpacity(alpha);
}

double DesktopFloatingPanel::alpha() const {
    return content_.windowOpacity();
}

ChildFloatingPanel::ChildFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host)
    : QtFloatingPanel(content, style, host) {
    content.setParent(host.container());
    content.setAttribute(Qt::WA_TransparentForMouseEvents, style.ignoresMouse);
    // What the panel does not take stays in it, as a window's events do.
    content.setAttribute(Qt::WA_NoMousePropagation);
    content.hide();
}

void ChildFloatingPanel::setAlpha(double alpha) {
    alpha_ = std::clamp(alpha, 0.0, 1.0);
    // A child widget has no window opacity, and a graphics effect on one inside a scaled view of
    // its container draws it at its own size, over what lies beside it: the effect is there only
    // while the panel is faded, and not at all where the host cannot fade (the panel then shows
    // whole until it is ordered out).
    if (alpha_ >= 1 || !host_.fades()) {
        content_.setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(content_.graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(&content_);
        content_.setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha_);
}

double ChildFloatingPanel::alpha() const {
    return alpha_;
}

} // namespace fenwold
