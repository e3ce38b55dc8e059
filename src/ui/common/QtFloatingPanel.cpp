#include "QtFloatingPanel.h"

#include "PanelHost.h"
#include "PanelHover.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
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
    QWidget* top = widget->window();
    // Menus opened from the window are windows of their own but part of it.
    while (top && top != &window && (top->windowFlags() & Qt::Popup) && top->parentWidget())
        top = top->parentWidget()->window();
    // A panel that is a child widget (of the playground's screen) is its own "window" here.
    while (widget && widget != &window && !widget->isWindow())
        widget = widget->parentWidget();
    return top == &window || widget == &window;
}

QtFloatingPanel::QtFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host)
    : content_(content), style_(style), host_(host) {
    animation_ = new QVariantAnimation(this);
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    qApp->installEventFilter(this);
}

QtFloatingPanel::~QtFloatingPanel() {
    qApp->removeEventFilter(this);
}

void QtFloatingPanel::setFrame(const Rect& frame) {
    animation_->stop();
    frame_ = frame;
    content_.setGeometry(host_.toWidget(frame));
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

Subscription QtFloatingPanel::monitorClicks(std::function<void(bool)> handler) {
    clicks_ = std::move(handler);
    return Subscription([this, alive = std::weak_ptr<int>(lifetime_)] {
        if (alive.lock()) clicks_ = nullptr;
    });
}

bool QtFloatingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && clicks_ && qobject_cast<QWidget*>(watched)) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton) clicks_(isPartOfWindow(content_, watched));
    }
    return false;
}

DesktopFloatingPanel::DesktopFloatingPanel(QWidget& content, const PanelStyle& style, const PanelHost& host)
    : QtFloatingPanel(content, style, host) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!style.takesKeys) flags |= Qt::WindowDoesNotAcceptFocus;
    if (style.ignoresMouse) flags |= Qt::WindowTransparentForInput;
    content.setWindowFlags(flags);
    content.setAttribute(Qt::WA_ShowWithoutActivating);
    content.hide(); // new window flags show nothing until ordered front
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

bool ChildFloatingPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool pointerOnly =
        type == QEvent::Enter || type == QEvent::Leave || type == QEvent::HoverEnter ||
        type == QEvent::HoverMove || type == QEvent::HoverLeave || type == QEvent::ToolTip ||
        (type == QEvent::MouseMove && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton);
    const PanelHover* hover = host_.hover();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!pointerOnly || (hover && hover->delivering()) || !widget || !isPartOfWindow(content_, widget))
        return QtFloatingPanel::eventFilter(watched, event);
    // Qt marks a widget it enters before telling it; what the pointer is over is the hover's.
    if (type == QEvent::Enter || type == QEvent::Leave)
        widget->setAttribute(Qt::WA_UnderMouse, hover && hover->isUnder(*widget));
    if (type == QEvent::MouseMove && host_.container()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        QWidget* screen = host_.container();
        QMouseEvent beneath(QEvent::MouseMove, widget->mapTo(screen, move->position()), move->scenePosition(),
                            move->globalPosition(), Qt::NoButton, Qt::NoButton, move->modifiers());
        QCoreApplication::sendEvent(screen, &beneath);
    }
    return true;
}

void ChildFloatingPanel::setAlpha(double alpha) {
    alpha_ = std::clamp(alpha, 0.0, 1.0);
    // A child widget has no window opacity, and a graphics effect on one inside a scaled view of
    // its container draws it cut to the scaled size (or not at all): the effect is there only
    // while the panel is faded.
    if (alpha_ >= 1) {
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
